#include "forms/Picture.h"

#include <map>
#include <mutex>

#include "com/Error.h"

namespace forms {
namespace {

std::mutex tableMutex;
std::int32_t lastHandle = 0;

std::map<std::int32_t, const Picture*>& table() {
    static auto* pictures = new std::map<std::int32_t, const Picture*>;  // outlives every picture
    return *pictures;
}

constexpr std::int32_t invalidPicture = 481;

}  // namespace

std::shared_ptr<Picture> Picture::fromBitmapFile(std::string_view bytes) {
    QImage image;
    if (bytes.size() < 2 || bytes.substr(0, 2) != "BM" ||
        !image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "BMP"))
        throw com::Error(invalidPicture, "", "Invalid picture");
    return std::shared_ptr<Picture>(new Picture(std::move(image)));
}

Picture::Picture(QImage image) : image_(std::move(image)) {
    std::lock_guard lock(tableMutex);
    handle_ = ++lastHandle;
    table().emplace(handle_, this);
}

Picture::~Picture() {
    std::lock_guard lock(tableMutex);
    table().erase(handle_);
}

QImage pictureByHandle(std::int32_t handle) {
    std::lock_guard lock(tableMutex);
    const auto found = table().find(handle);
    return found == table().end() ? QImage() : found->second->image();
}

}  // namespace forms
