// The constant answers of the two commands side by side, and their button pictures:
// 16 x 16 bitmaps of the library, magenta where empty, handed over by a handle that
// stays the same while the command lives and leads to nothing once it is gone.
#include <gtest/gtest.h>

#include <QImage>

#include "forms/Picture.h"
#include "gis_extension/CommandBitmaps.h"
#include "gis_extension/clsManual.h"
#include "gis_extension/cmdWithinDistance.h"
#include "gis_toolkit/support/RecordingErrorReport.h"

namespace {

struct Expected {
    const char* name;
    const char* caption;
    const char* message;
    std::int32_t bitmap;
};

void expectAnswers(const com::ComPtr<gishost::ICommand>& command, const Expected& expected) {
    EXPECT_TRUE(command->Enabled());
    EXPECT_FALSE(command->Checked());
    EXPECT_EQ(command->Name(), expected.name);
    EXPECT_EQ(command->Caption(), expected.caption);
    EXPECT_EQ(command->Tooltip(), expected.caption);
    EXPECT_EQ(command->Message(), expected.message);
    EXPECT_EQ(command->HelpFile(), "");
    EXPECT_EQ(command->HelpContextID(), 0);
    EXPECT_EQ(command->Category(), "Veltrano Commands");

    const std::int32_t handle = command->Bitmap();
    EXPECT_EQ(command->Bitmap(), handle) << "the picture is loaded once";
    const QImage image = forms::pictureByHandle(handle);
    ASSERT_EQ(image.size(), QSize(16, 16)) << expected.name;
    EXPECT_EQ(image, gis_extension::LoadResPicture(expected.bitmap)->image()) << expected.name;
    for (const QPoint corner : {QPoint(0, 0), QPoint(15, 0), QPoint(0, 15), QPoint(15, 15)})
        EXPECT_EQ(image.pixel(corner), qRgb(255, 0, 255)) << expected.name;
}

TEST(ToolbarCommand, BothCommandsAnswerTheirConstantsAndShowTheirOwnPicture) {
    testing_support::RecordingErrorReport reports;
    std::int32_t withinDistanceHandle = 0;
    {
        const auto withinDistance = com::make<gishost::ICommand, gis_extension::cmdWithinDistance>();
        const auto manual = com::make<gishost::ICommand, gis_extension::clsManual>();
        expectAnswers(withinDistance, {"Veltrano_WithinDistance", "ID Within Distance",
                                       "Calculate Distances Between Features...", 101});
        expectAnswers(manual, {"Veltrano_OpenManual", "Open Documentation",
                               "Open ID Within Distances Documentation...", 102});
        EXPECT_NE(forms::pictureByHandle(withinDistance->Bitmap()), forms::pictureByHandle(manual->Bitmap()));
        withinDistanceHandle = withinDistance->Bitmap();
    }
    EXPECT_TRUE(forms::pictureByHandle(withinDistanceHandle).isNull()) << "the picture lives as long as the command";
    EXPECT_TRUE(reports.shown().empty());
}

TEST(CommandBitmaps, AreUncompressedTwentyFourBitFilesOfSixteenBySixteen) {
    for (const std::int32_t id : {101, 102}) {
        const std::string_view file = gis_extension::ResourceBitmap(id);
        ASSERT_EQ(file.size(), 54u + 16 * 16 * 3) << id;
        const auto field = [&](std::size_t at, int bytes) {
            std::uint32_t value = 0;
            for (int k = bytes - 1; k >= 0; --k)
                value = value << 8 | static_cast<unsigned char>(file[at + static_cast<std::size_t>(k)]);
            return value;
        };
        EXPECT_EQ(file.substr(0, 2), "BM");
        EXPECT_EQ(field(18, 4), 16u);  // width
        EXPECT_EQ(field(22, 4), 16u);  // height
        EXPECT_EQ(field(28, 2), 24u);  // bits per pixel
        EXPECT_EQ(field(30, 4), 0u);   // no compression
    }
    EXPECT_TRUE(gis_extension::ResourceBitmap(103).empty());
    try {
        gis_extension::LoadResPicture(103);
        FAIL() << "loaded";
    } catch (const com::Error& error) {
        EXPECT_EQ(error.Number, 326);
    }
}

}  // namespace
