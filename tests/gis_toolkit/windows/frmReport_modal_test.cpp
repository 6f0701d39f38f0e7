// The report window: its layout for the printer's line, resizing (boxes stretch, buttons
// keep their distance from the bottom edge and scale across), printing to a PDF file
// page by page, copying only rich text, Exit ending the modal show, and a machine
// without printers, where the error is reported and the window opens all the same.
#include "gis_toolkit/frmReport_modal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cctype>
#include <string>

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

#include "forms/Printer.h"
#include "forms/PrintingSystem.h"
#include "gis_toolkit/support/RecordingErrorReport.h"
#include "support/TestFiles.h"

namespace {

using gis_toolkit::frmReport_modal;

const std::string reportFixture = testing_support::readFile(BRELMARK_TEST_DATA "/rtf/analysis_report.rtf");

void click(forms::CommandButton& button) { static_cast<QPushButton*>(button.widget())->click(); }

// The pages of a PDF file: its page objects, "/Type /Page" (not "/Pages").
int pdfPages(const std::string& path) {
    const std::string pdf = testing_support::readFile(path);
    const std::string marker = "/Type /Page";
    int pages = 0;
    for (std::size_t at = pdf.find(marker); at != std::string::npos; at = pdf.find(marker, at + 1)) {
        const std::size_t behind = at + marker.size();
        if (behind < pdf.size() && std::isalpha(static_cast<unsigned char>(pdf[behind]))) continue;
        ++pages;
    }
    return pages;
}

std::string longReport(int lines) {
    std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
    for (int line = 0; line < lines; ++line) rtf += "\\b Line \\b0 " + std::to_string(line) + "\\par\r\n";
    return rtf + "}";
}

TEST(frmReport_modal, LaysOutTheLinesForThePrintersLineAndStaysOnTop) {
    testing_support::RecordingErrorReport reports;
    forms::ScriptedPrinting printing(std::string("/nonexistent/unused.pdf"));
    frmReport_modal report;
    report.txtReport.put_TextRTF(reportFixture);
    auto* box = static_cast<QTextEdit*>(report.txtReport.widget());
    const double lineWidth = forms::Printer().Width() - 720;  // a quarter inch each side
    EXPECT_EQ(box->lineWrapMode(), QTextEdit::FixedPixelWidth);
    EXPECT_EQ(box->lineWrapColumnOrWidth(),
              static_cast<int>(std::lround(lineWidth / 15)) + 2 * std::lround(box->document()->documentMargin()));
    EXPECT_TRUE(report.window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(report.Caption(), " Report");
    EXPECT_TRUE(reports.shown().empty());
}

TEST(frmReport_modal, ResizingStretchesTheBoxesAndKeepsTheButtonsAtTheBottom) {
    testing_support::RecordingErrorReport reports;
    forms::ScriptedPrinting printing(std::string("/nonexistent/unused.pdf"));
    frmReport_modal report;
    report.txtReport.put_TextRTF(reportFixture);
    report.Show();
    QCoreApplication::processEvents();
    struct Sizes {
        double width, height;
    };
    for (const Sizes size : {Sizes{7485 + 3000, 3180 + 1500}, Sizes{7485 - 1500, 3180 + 300}}) {
        report.window()->resize(static_cast<int>(size.width / 15), static_cast<int>(size.height / 15));
        QCoreApplication::processEvents();
        const double grownWidth = size.width - 7485;
        const double grownHeight = size.height - 3180;
        const double scale = size.width / 7485;
        const double pixel = 15;  // positions are whole pixels
        EXPECT_NEAR(report.txtReport.Width(), 7230 + grownWidth, pixel);
        EXPECT_NEAR(report.txtReport.Height(), 2445 + grownHeight, pixel);
        EXPECT_NEAR(report.txtBackground.Width(), 7455 + grownWidth, pixel);
        EXPECT_NEAR(report.txtBackground.Height(), 2670 + grownHeight, pixel);
        EXPECT_EQ(report.txtReport.Left(), 180);
        EXPECT_EQ(report.txtReport.Top(), 120);
        struct Button {
            forms::CommandButton& button;
            double left;
        };
        for (const Button b : {Button{report.cmdPrint, 1432}, Button{report.cmdCopy, 2992}, Button{report.cmdOK, 4552}}) {
            EXPECT_NEAR(b.button.Top(), 2745 + grownHeight, pixel) << b.button.Name();
            EXPECT_NEAR(b.button.Height(), 405, pixel) << b.button.Name();
            EXPECT_NEAR(b.button.Left(), b.left * scale, 2 * pixel) << b.button.Name();
            EXPECT_NEAR(b.button.Width(), 1500 * scale, 2 * pixel) << b.button.Name();
        }
        EXPECT_NEAR(report.imgCornerBars.Left(), 7260 + grownWidth, pixel);
        EXPECT_NEAR(report.imgCornerBars.Top(), 2955 + grownHeight, pixel);
    }
    report.Unload();
    EXPECT_TRUE(reports.shown().empty());
}

TEST(frmReport_modal, PrintsPageByPageToTheEnd) {
    struct Case {
        const char* name;
        std::string rtf;
        int fewestPages;
        int mostPages;
    };
    const std::vector<Case> cases = {
        {"the analysis report fits one page", reportFixture, 1, 1},
        {"an empty box prints one page", "", 1, 1},
        {"a long report takes several pages", longReport(300), 3, 40},
    };
    for (const Case& c : cases) {
        testing_support::RecordingErrorReport reports;
        testing_support::TemporaryFolder folder;
        const std::string pdf = folder.pathOf("report.pdf");
        forms::ScriptedPrinting printing(pdf);
        frmReport_modal report;
        report.txtReport.put_TextRTF(c.rtf);
        click(report.cmdPrint);
        EXPECT_TRUE(reports.shown().empty()) << c.name;
        EXPECT_EQ(printing.fileNamesAsked(), 1) << c.name;
        const int pages = pdfPages(pdf);
        EXPECT_GE(pages, c.fewestPages) << c.name;
        EXPECT_LE(pages, c.mostPages) << c.name;
    }
}

TEST(frmReport_modal, CopiesOnlyTheRichText) {
    testing_support::RecordingErrorReport reports;
    forms::ScriptedPrinting printing(std::string("/nonexistent/unused.pdf"));
    QGuiApplication::clipboard()->setText("left over");
    frmReport_modal report;
    report.txtReport.put_TextRTF(reportFixture);
    click(report.cmdCopy);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->formats(), QStringList{"text/rtf"});
    EXPECT_FALSE(data->hasText());
    EXPECT_EQ(data->data("text/rtf").toStdString(), report.txtReport.TextRTF());
    EXPECT_TRUE(reports.shown().empty());
}

TEST(frmReport_modal, ExitEndsTheModalShow) {
    testing_support::RecordingErrorReport reports;
    forms::ScriptedPrinting printing(std::string("/nonexistent/unused.pdf"));
    frmReport_modal report;
    report.txtReport.put_TextRTF(reportFixture);
    QTimer::singleShot(0, [&report] { click(report.cmdOK); });
    report.Show(forms::Modal);
    EXPECT_FALSE(report.Loaded());
    EXPECT_TRUE(reports.shown().empty());
}

TEST(frmReport_modal, WithoutAPrinterReportsTheErrorAndOpensAllTheSame) {
    testing_support::RecordingErrorReport reports;
    forms::ScriptedPrinting noPrinter(std::nullopt);
    frmReport_modal report;
    report.txtReport.put_TextRTF(reportFixture);
    ASSERT_EQ(reports.shown().size(), 1u);
    EXPECT_NE(reports.shown()[0].find("\tForm_Load frmReport_modal Line : 30\r\n"), std::string::npos)
        << reports.shown()[0];
    EXPECT_NE(reports.shown()[0].find("\t484\r\n"), std::string::npos);
    auto* box = static_cast<QTextEdit*>(report.txtReport.widget());
    EXPECT_EQ(box->lineWrapMode(), QTextEdit::WidgetWidth);
    EXPECT_EQ(report.txtReport.Text().substr(0, 34), "Veltrano Inputs Analysis Complete:");

    click(report.cmdPrint);
    ASSERT_EQ(reports.shown().size(), 2u);
    EXPECT_NE(reports.shown()[1].find("\tcmdPrint_Click frmReport_modal Line : 10\r\n"), std::string::npos);

    QTimer::singleShot(0, [&report] { click(report.cmdOK); });
    report.Show(forms::Modal);
    EXPECT_FALSE(report.Loaded());
}

}  // namespace
