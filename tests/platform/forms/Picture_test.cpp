// Pictures handed over by handle: the image behind a handle while the picture lives,
// nothing after, and a refusal of bytes that are no bitmap.
#include "forms/Picture.h"

#include <gtest/gtest.h>

#include <QBuffer>

#include "com/Error.h"

namespace {

std::string bitmapFile(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

TEST(Picture, HandsItsImageOverByHandleWhileItLives) {
    QImage drawn(16, 16, QImage::Format_RGB888);
    drawn.fill(QColor(255, 0, 255));
    drawn.setPixelColor(3, 4, Qt::black);
    std::int32_t handle = 0;
    {
        const auto picture = forms::Picture::fromBitmapFile(bitmapFile(drawn));
        handle = picture->Handle();
        const QImage shown = forms::pictureByHandle(handle);
        ASSERT_EQ(shown.size(), QSize(16, 16));
        EXPECT_EQ(shown.pixelColor(3, 4), QColor(Qt::black));
        EXPECT_EQ(shown.pixelColor(0, 0), QColor(255, 0, 255));
        EXPECT_NE(forms::Picture::fromBitmapFile(bitmapFile(drawn))->Handle(), handle);
    }
    EXPECT_TRUE(forms::pictureByHandle(handle).isNull());
    EXPECT_TRUE(forms::pictureByHandle(0).isNull());
}

TEST(Picture, RefusesBytesThatAreNoBitmap) {
    for (const std::string& bytes : {std::string(), std::string("BM"), std::string("GIF89a....")}) {
        try {
            forms::Picture::fromBitmapFile(bytes);
            FAIL() << "read " << bytes;
        } catch (const com::Error& error) {
            EXPECT_EQ(error.Number, 481);
        }
    }
}

}  // namespace
