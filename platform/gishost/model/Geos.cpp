#include "gishost/model/Geos.h"

#include <cmath>
#include <string>

#include "gishost/model/HostError.h"

namespace gishost::model::geos {
namespace {

class ThreadContext {
public:
    ThreadContext() : handle_(GEOS_init_r()) {
        GEOSContext_setErrorMessageHandler_r(handle_, &ThreadContext::onError, this);
    }
    ~ThreadContext() { GEOS_finish_r(handle_); }
    ThreadContext(const ThreadContext&) = delete;
    ThreadContext& operator=(const ThreadContext&) = delete;

    GEOSContextHandle_t handle() const { return handle_; }
    // The last message of the engine, and forgets it.
    std::string takeError() {
        std::string message = error_.empty() ? std::string("unknown failure") : error_;
        error_.clear();
        return message;
    }

private:
    static void onError(const char* message, void* self) {
        static_cast<ThreadContext*>(self)->error_ = message != nullptr ? message : "";
    }

    GEOSContextHandle_t handle_;
    std::string error_;
};

ThreadContext& threadContext() {
    thread_local ThreadContext current;
    return current;
}

[[noreturn]] void fail(const char* operation) {
    throw hostError(HostFailure::Geometry,
                    std::string("The geometry engine failed to ") + operation + ": " + threadContext().takeError());
}

// The items of one query, collected by the tree's callback.
void collectItem(void* item, void* items) {
    static_cast<std::vector<std::size_t>*>(items)->push_back(reinterpret_cast<std::size_t>(item) - 1);
}

}  // namespace

GEOSContextHandle_t context() { return threadContext().handle(); }

void GeometryDeleter::operator()(GEOSGeometry* geometry) const { GEOSGeom_destroy_r(context(), geometry); }

bool Envelope::finite() const {
    return std::isfinite(minX) && std::isfinite(minY) && std::isfinite(maxX) && std::isfinite(maxY);
}

Envelope Envelope::grown(double margin) const { return {minX - margin, minY - margin, maxX + margin, maxY + margin}; }

Geometry readWkb(const unsigned char* data, std::size_t size) {
    GEOSContextHandle_t handle = context();
    GEOSWKBReader* reader = GEOSWKBReader_create_r(handle);
    if (reader == nullptr) fail("read a shape");
    GEOSGeometry* geometry = GEOSWKBReader_read_r(handle, reader, data, size);
    GEOSWKBReader_destroy_r(handle, reader);
    if (geometry == nullptr) fail("read a shape");
    return Geometry(geometry);
}

bool isEmpty(const GEOSGeometry* geometry) {
    const char empty = GEOSisEmpty_r(context(), geometry);
    if (empty == 2) fail("examine a shape");
    return empty == 1;
}

Envelope envelope(const GEOSGeometry* geometry) {
    Envelope box;
    if (GEOSGeom_getExtent_r(context(), geometry, &box.minX, &box.minY, &box.maxX, &box.maxY) == 0)
        fail("measure a shape's extent");
    return box;
}

double distance(const GEOSGeometry* a, const GEOSGeometry* b) {
    double result = 0.0;
    if (GEOSDistance_r(context(), a, b, &result) == 0) fail("measure a distance");
    return result;
}

bool intersects(const GEOSGeometry* a, const GEOSGeometry* b) {
    const char answer = GEOSIntersects_r(context(), a, b);
    if (answer == 2) fail("test an intersection");
    return answer == 1;
}

Geometry buffer(const GEOSGeometry* geometry, double width) {
    GEOSGeometry* result = GEOSBuffer_r(context(), geometry, width, 16);
    if (result == nullptr) fail("buffer a shape");
    return Geometry(result);
}

StrTree::StrTree() : tree_(GEOSSTRtree_create_r(context(), 10)) {
    if (tree_ == nullptr) fail("create a spatial index");
}

StrTree::~StrTree() { GEOSSTRtree_destroy_r(context(), tree_); }

void StrTree::insert(const GEOSGeometry* geometry, std::size_t item) {
    // Item numbers are stored as pointers, shifted by one so that item 0 is not null.
    GEOSSTRtree_insert_r(context(), tree_, geometry, reinterpret_cast<void*>(item + 1));
}

std::vector<std::size_t> StrTree::query(const Envelope& box) {
    std::vector<std::size_t> items;
    Geometry rectangle(GEOSGeom_createRectangle_r(context(), box.minX, box.minY, box.maxX, box.maxY));
    if (!rectangle) fail("make a search box");
    GEOSSTRtree_query_r(context(), tree_, rectangle.get(), collectItem, &items);
    return items;
}

}  // namespace gishost::model::geos
