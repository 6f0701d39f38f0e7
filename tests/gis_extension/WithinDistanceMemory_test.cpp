// What the host counts for an analysis when it reads the features covers what the
// within-distance analysis then allocates on top of what the process holds, to its end:
// all pairs of a generated layer of patches, large enough for a block of rows of a few
// megabytes and for the buffered rows of the table of distances to be written ahead.
// This program replaces the global allocation functions to count the bytes in use, so
// that the peak of the heap is known to the byte, whatever the threads do.
#include <gtest/gtest.h>
#include <malloc.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <new>

#include "gishost/model/DbaseTable.h"
#include "gishost/model/FeatureTable.h"
#include "patches/PatchLayerGenerator.h"
#include "support/AnalysisFixture.h"

namespace {

std::atomic<std::int64_t> bytesInUse{0};
std::atomic<std::int64_t> peakBytesInUse{0};

void* counted(void* block) {
    if (block == nullptr) return nullptr;
    const std::int64_t now = bytesInUse += static_cast<std::int64_t>(malloc_usable_size(block));
    for (std::int64_t peak = peakBytesInUse.load(); now > peak && !peakBytesInUse.compare_exchange_weak(peak, now);) {
    }
    return block;
}

void release(void* block) noexcept {
    if (block == nullptr) return;
    bytesInUse -= static_cast<std::int64_t>(malloc_usable_size(block));
    std::free(block);
}

void* allocate(std::size_t size) {
    if (void* block = counted(std::malloc(size == 0 ? 1 : size))) return block;
    throw std::bad_alloc();
}

void* allocateAligned(std::size_t size, std::align_val_t alignment) {
    const auto align = static_cast<std::size_t>(alignment);
    if (void* block = counted(std::aligned_alloc(align, (size + align - 1) / align * align))) return block;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return counted(std::malloc(size == 0 ? 1 : size)); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return counted(std::malloc(size == 0 ? 1 : size)); }
void* operator new(std::size_t size, std::align_val_t alignment) { return allocateAligned(size, alignment); }
void* operator new[](std::size_t size, std::align_val_t alignment) { return allocateAligned(size, alignment); }
void operator delete(void* block) noexcept { release(block); }
void operator delete[](void* block) noexcept { release(block); }
void operator delete(void* block, std::size_t) noexcept { release(block); }
void operator delete[](void* block, std::size_t) noexcept { release(block); }
void operator delete(void* block, std::align_val_t) noexcept { release(block); }
void operator delete[](void* block, std::align_val_t) noexcept { release(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { release(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { release(block); }

namespace {

using namespace testing_support;

TEST(WithinDistanceMemory, WhatTheHostCountsWhenItReadsTheFeaturesCoversWhatAnAnalysisOfAllPairsAllocates) {
    ExtensionHost host;
    const std::string layerPath = host.folder.pathOf("layers/patches.gpkg");
    bench::writeGeoPackage(bench::generatePatches(700, 707), layerPath);
    const std::uint64_t counted = gishost::model::FeatureTable::open(layerPath, "")->memoryToStartMeasuring();

    const auto layer = gishost::model::openFeatureLayer(layerPath);
    host.start({layer});
    ASSERT_EQ(layer->FeatureClass()->FeatureCount(nullptr), 700);  // reads the features: the host's check
    const std::int64_t before = bytesInUse.load();
    peakBytesInUse = before;
    std::string folder = host.folder.pathOf("out");
    gis_extension::WithinDistance::CalcWithinDistance(layer, "ID", "Area", /*calcAllFeatures=*/true, -9999.0, true,
                                                      true, true, folder, host.document, host.application);
    const std::int64_t allocated = peakBytesInUse.load() - before;

    ASSERT_TRUE(host.reports.shown().empty()) << host.reports.shown()[0];
    ASSERT_NE(host.settings->ReportOfAnalysis(), "");
    ASSERT_GT(std::filesystem::file_size(host.folder.pathOf("out/distances.dbf")), 2 * gishost::model::bufferedRowsBytes);
    EXPECT_GE(static_cast<std::int64_t>(counted), allocated);
}

}  // namespace
