// The rich-text reader and writer: escapes, destinations and malformed input read as far
// as they go; the analysis report's format read back with its bold, italic, sizes and
// paragraphs; and what the writer gives back reads to the same document.
#include "forms/RtfReader.h"
#include "forms/RtfWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QTextBlock>
#include <QTextDocument>

#include "support/TestFiles.h"

namespace {

// Each paragraph as its fragments, each "<" + "b" when bold, "i" when italic, the size
// in points, ">" and the text.
std::vector<std::string> describe(const QTextDocument& document) {
    std::vector<std::string> paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        std::string paragraph;
        for (auto piece = block.begin(); !piece.atEnd(); ++piece) {
            const QTextCharFormat format = piece.fragment().charFormat();
            paragraph += "<";
            if (format.fontWeight() >= QFont::Bold) paragraph += "b";
            if (format.fontItalic()) paragraph += "i";
            paragraph += QString::number(format.fontPointSize()).toStdString() + ">";
            paragraph += piece.fragment().text().toStdString();
        }
        paragraphs.push_back(paragraph);
    }
    return paragraphs;
}

QString rawText(const std::string& rtf) {
    QTextDocument document;
    forms::readRtf(rtf, document);
    return document.toRawText();
}

TEST(RtfReader, ReadsEscapesDestinationsAndMalformedInputAsFarAsItGoes) {
    const QString paragraph(QChar(0x2029));
    struct Case {
        const char* name;
        std::string rtf;
        QString expected;
    };
    const std::vector<Case> cases = {
        {"code page escape", R"({\rtf1 caf\'e9 \'80})", QString::fromUtf8("café €")},
        {"unicode escape skips one fallback", R"({\rtf1\uc1 a\u8364?b})", QString::fromUtf8("a€b")},
        {"negative unicode, two fallbacks", R"({\rtf1\uc2\u-3xyz})", QString(QChar(0xFFFD)) + "z"},
        {"no fallback with uc0, scoped to the group", R"({\rtf1 {\uc0\u233 e}\u233 ?})", QString::fromUtf8("éeé")},
        {"tab, line and paragraph", R"({\rtf1 a\tab b\line c\par d})",
         QString("a\tb") + QChar(0x2028) + "c" + paragraph + "d"},
        {"escaped braces and backslash", R"({\rtf1 \{x\}\\})", "{x}\\"},
        {"starred destination skipped", R"({\rtf1 a{\*\unknown {nested} hidden}b})", "ab"},
        {"tables and information skipped",
         R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red1;}{\stylesheet{\s0 Normal;}}{\info{\title T}}text})", "text"},
        {"binary data skipped", R"({\rtf1 a{\pict\bin3 }}}}b})", "ab"},
        {"unclosed groups shown as far as read", R"({\rtf1 shown {\b bold)", "shown bold"},
        {"text behind the document ignored", R"({\rtf1 in}out)", "in"},
        {"broken hex escape ignored", R"({\rtf1 a\'zb})", "azb"},
        {"huge parameter", R"({\rtf1\fs99999999999999999 x\u99999999999?y})", "xy"},
        {"control characters dropped", R"({\rtf1\uc0 a\u7 b\u13 c})", "abc"},
        {"nesting within the bound", std::string(100, '{') + "x", "x"},
        {"nesting beyond the bound stops", std::string(forms::maxGroupDepth + 1, '{') + "x", ""},
        {"empty input", "", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(rawText(c.rtf), c.expected) << c.name;
}

TEST(RtfReader, ReadsTheFontTable) {
    QTextDocument document;
    forms::readRtf(R"({\rtf1\deff1{\fonttbl{\f0\froman Times;}\f1\fswiss Arial;{\f2{\*\panose 02}Odd\'3bName;}})"
                   R"(default \f2 odd \f9 unknown})",
                   document);
    std::vector<QString> families;
    for (auto piece = document.begin().begin(); !piece.atEnd(); ++piece) {
        const QStringList names = piece.fragment().charFormat().fontFamilies().toStringList();
        families.push_back(names.isEmpty() ? QString() : names.first());
    }
    EXPECT_EQ(families, (std::vector<QString>{"Arial", "Odd;Name", QString()}));
}

TEST(RtfReader, ReadsTheAnalysisReportWithItsFormatting) {
    QTextDocument document;
    forms::readRtf(testing_support::readFile(BRELMARK_TEST_DATA "/rtf/analysis_report.rtf"), document);
    const std::vector<std::string> paragraphs = describe(document);
    ASSERT_EQ(paragraphs.size(), 20u);  // 19 lines and the empty paragraph after the last \par
    EXPECT_EQ(paragraphs[0], "<b9>Veltrano Inputs Analysis Complete:");
    EXPECT_EQ(paragraphs[1], "<b9> " + std::string(56, '-'));
    EXPECT_EQ(paragraphs[2], "<b9>Analysis Layer =<9> patches");
    EXPECT_EQ(paragraphs[3], "<b9>ID Field =<9> ID");
    EXPECT_EQ(paragraphs[7], "<b9>    1] dBASE Table of Number of Features Within Distance:");
    EXPECT_EQ(paragraphs[8], "<9>         <i9>Saved to /data/out/count.dbf");
    EXPECT_EQ(paragraphs[16], "<b8>Analysis Began:<i8>   Thursday, December 10, 2026 at 14:03:07");
    EXPECT_EQ(paragraphs[18], "<b8>Time Elapsed:<i8>   Time Elapsed: 1 hour, 2 minutes, 5 seconds...");
    EXPECT_EQ(paragraphs[19], "");
    const QStringList families = document.begin().begin().fragment().charFormat().fontFamilies().toStringList();
    EXPECT_EQ(families, QStringList{"Arial"});
}

TEST(RtfWriter, WritesWhatReadsBackToTheSameDocument) {
    const std::vector<std::string> inputs = {
        testing_support::readFile(BRELMARK_TEST_DATA "/rtf/analysis_report.rtf"),
        R"({\rtf1{\fonttbl{\f0 Semi\'3bcolon;}{\f1 Other;}}\uc1\f0 caf\'e9 \u8364? \u1234? {\b\i\f1\fs31 x}\tab\line)"
        R"(\{\}\\\~\_\par\par end})",
        "",
    };
    for (const std::string& input : inputs) {
        QTextDocument first;
        forms::readRtf(input, first);
        const std::string written = forms::writeRtf(first);
        QTextDocument second;
        forms::readRtf(written, second);
        EXPECT_EQ(second.toRawText(), first.toRawText()) << written;
        EXPECT_EQ(describe(second), describe(first)) << written;
        EXPECT_EQ(forms::writeRtf(second), written);
    }
}

TEST(RtfWriter, WritesParagraphsWithCrLfAndEscapesOutsideTheCodePage) {
    QTextDocument document;
    forms::readRtf(R"({\rtf1\uc1 caf\'e9\par \u1234?{\b bold}})", document);
    const std::string written = forms::writeRtf(document);
    EXPECT_NE(written.find("caf\\'e9\\par\r\n"), std::string::npos) << written;
    EXPECT_NE(written.find("\\u1234?\\b bold"), std::string::npos) << written;
    EXPECT_EQ(written.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl", 0), 0u) << written;
}

}  // namespace
