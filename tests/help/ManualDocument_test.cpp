// The manuals as make_manual lays them out: every table keeps its header row in bold, as
// the Markdown reader sets a header, including a table that follows a code block.
#include "ManualDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace {

void collectTables(QTextFrame* frame, std::vector<QTextTable*>& tables) {
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child)) tables.push_back(table);
        collectTables(child, tables);
    }
}

// The texts of the header cells that are not wholly bold.
std::vector<std::string> headerCellsNotBold(QTextTable& table) {
    std::vector<std::string> notBold;
    for (int column = 0; column < table.columns(); ++column) {
        const QTextTableCell cell = table.cellAt(0, column);
        QString text;
        bool bold = true;
        for (QTextFrame::iterator part = cell.begin(); !part.atEnd(); ++part)
            for (QTextBlock::iterator piece = part.currentBlock().begin(); !piece.atEnd(); ++piece) {
                const QTextFragment fragment = piece.fragment();
                text += fragment.text();
                if (!fragment.text().trimmed().isEmpty() && fragment.charFormat().fontWeight() < QFont::Bold)
                    bold = false;
            }
        if (!bold) notBold.push_back(text.toStdString());
    }
    return notBold;
}

TEST(ManualDocument, EveryTableOfTheManualsHasABoldHeaderRow) {
    int argc = 1;
    char name[] = "ManualDocument_test";
    char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);
    struct Manual {
        const char* source;
        bool hasTables;
    };
    for (const Manual manual : {Manual{"Veltrano_ID.md", true}, Manual{"Brelmarkmanual.md", false}}) {
        QFile source(QString(BRELMARK_HELP_SOURCES "/") + manual.source);
        ASSERT_TRUE(source.open(QIODevice::ReadOnly | QIODevice::Text)) << manual.source;
        QTextDocument document;
        help::loadManual(document, QString::fromUtf8(source.readAll()));
        std::vector<QTextTable*> tables;
        collectTables(document.rootFrame(), tables);
        EXPECT_EQ(!tables.empty(), manual.hasTables) << manual.source;
        for (QTextTable* table : tables)
            EXPECT_EQ(headerCellsNotBold(*table), std::vector<std::string>()) << manual.source;
    }
}

}  // namespace
