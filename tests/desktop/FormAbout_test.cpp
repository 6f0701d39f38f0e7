// The about window: every text shows whole, one below the other, inside its panel and
// above the OK button, whatever the size of the window's font.
#include "DesktopFixture.h"

#include <cstdlib>
#include <fstream>
#include <string>

#include <QCoreApplication>
#include <QLabel>
#include <QPixmap>
#include <QRect>

namespace {

using desktop_testing::DesktopFixture;

class AboutWindow : public DesktopFixture {
protected:
    // Where a control lies in the window's client area.
    static QRect placeOf(const vcl::TControl* control) {
        QWidget* client = desktop::AboutBox->ClientWidget();
        return QRect(control->widget()->mapTo(client, QPoint(0, 0)), control->widget()->size());
    }

    // A screenshot of the window, when BRELMARK_SCREENSHOTS names a folder to keep it in.
    static void keepScreenshot(const std::string& name) {
        const char* folder = std::getenv("BRELMARK_SCREENSHOTS");
        if (folder == nullptr) return;
        desktop::AboutBox->window()->grab().save(QString::fromStdString(std::string(folder) + "/" + name + ".png"));
    }
};

TEST_F(AboutWindow, EveryParagraphShowsWholeAndAboveTheNextAtAnyFontSize) {
    desktop::TAboutBox& about = *desktop::AboutBox;
    for (const int pixels : {12, 9, 16, 20, 28}) {
        SCOPED_TRACE("font of " + std::to_string(pixels) + " pixels");
        about.SetFontPixelSize(pixels);
        about.Show();
        QCoreApplication::processEvents();
        keepScreenshot("about_" + std::to_string(pixels) + "px");

        // 519 by 391 is the least the window takes.
        EXPECT_GE(about.ClientWidth(), 519);
        EXPECT_GE(about.ClientHeight(), 391);
        const QRect client(0, 0, about.ClientWidth(), about.ClientHeight());
        const QRect panel = placeOf(about.Panel1);
        EXPECT_TRUE(client.contains(panel));

        const vcl::TLabel* const texts[] = {about.ProductName, about.Version,    about.Credits,
                                            about.References,  about.Notice,     about.Feedback};
        for (const vcl::TLabel* text : texts) {
            SCOPED_TRACE(text->Caption().substr(0, 30));
            const QLabel* label = text->label();
            const QRect place = placeOf(text);
            EXPECT_TRUE(panel.contains(place));
            // Whole: as wide as its words need and as high as its wrapped lines.
            if (label->wordWrap()) {
                EXPECT_GE(place.height(), label->heightForWidth(place.width()));
            } else {
                EXPECT_GE(place.width(), label->sizeHint().width());
                EXPECT_GE(place.height(), label->sizeHint().height());
            }
        }
        // From top to bottom, none reaching into the next.
        const vcl::TLabel* const paragraphs[] = {about.Credits, about.References, about.Notice, about.Feedback};
        EXPECT_LE(placeOf(about.ProductName).bottom(), placeOf(about.Credits).top());
        EXPECT_LE(placeOf(about.Version).bottom(), placeOf(about.Credits).top());
        EXPECT_FALSE(placeOf(about.ProductName).intersects(placeOf(about.Version)));
        for (std::size_t i = 0; i + 1 < std::size(paragraphs); ++i)
            EXPECT_LT(placeOf(paragraphs[i]).bottom(), placeOf(paragraphs[i + 1]).top()) << i;

        const QRect ok = placeOf(about.OKButton);
        EXPECT_TRUE(client.contains(ok));
        EXPECT_LT(panel.bottom(), ok.top());
        EXPECT_GE(ok.height(), about.OKButton->button()->sizeHint().height());
        about.Hide();
    }
}

TEST_F(AboutWindow, EveryChapterItNamesIsAChapterOfTheManual) {
    std::ifstream manual(examples() + "/../help/Brelmarkmanual.md");
    ASSERT_TRUE(manual) << "the manual's source";
    std::string chapters = "\n";
    for (std::string line; std::getline(manual, line);)
        if (line.rfind("## ", 0) == 0) chapters += line.substr(3) + "\n";

    // Each mention reads: chapter, its number and a comma (or nothing), and its title in quotes.
    const std::string references = desktop::AboutBox->References->Caption();
    std::size_t mention = references.find("chapter ");
    ASSERT_NE(mention, std::string::npos) << references;
    for (; mention != std::string::npos; mention = references.find("chapter ", mention + 1)) {
        const std::size_t open = references.find('"', mention);
        const std::size_t close = references.find('"', open + 1);
        ASSERT_NE(close, std::string::npos) << references.substr(mention);
        std::string number = references.substr(mention + 8, open - mention - 8);
        if (number.ends_with(", ")) number.resize(number.size() - 2);
        const std::string heading = number + ". " + references.substr(open + 1, close - open - 1) + "\n";
        EXPECT_NE(chapters.find((number.empty() ? "" : "\n") + heading), std::string::npos)
            << references.substr(mention, close - mention + 1) << " is not among the manual's chapters:" << chapters;
    }
}

}  // namespace
