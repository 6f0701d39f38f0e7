#pragma once
// The run-time's picture: a bitmap that a component loads from its own resources and
// hands to its host by handle (a command's button image, for instance). The handle
// stays valid while the picture lives; the host finds the image behind it. One table of
// handles per process: it lives in the form run-time's shared library.
#include <QImage>

#include <cstdint>
#include <memory>
#include <string_view>

namespace forms {

class Picture {
public:
    // The picture in the bytes of a Windows bitmap (BMP) file; a text that is not one
    // raises the run-time's "Invalid picture" error (481).
    static std::shared_ptr<Picture> fromBitmapFile(std::string_view bytes);

    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    std::int32_t Handle() const { return handle_; }
    const QImage& image() const { return image_; }

private:
    explicit Picture(QImage image);

    QImage image_;
    std::int32_t handle_;
};

// The image of the picture that holds `handle`; a null image when none does.
QImage pictureByHandle(std::int32_t handle);

}  // namespace forms
