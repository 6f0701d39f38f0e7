// Turns a manual from its Markdown source into a PDF:
//   make_manual SOURCE.md OUTPUT.pdf [TITLE CREATOR]
// (the PDF's title and creator; by default those of the desktop program's manual).
// Runs at build time on Qt's offscreen platform, so it needs no display.
#include <cstdio>

#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include "ManualDocument.h"

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: make_manual SOURCE.md OUTPUT.pdf [TITLE CREATOR]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "make_manual: cannot read %s\n", argv[1]);
        return 1;
    }
    QTextDocument document;
    help::loadManual(document, QString::fromUtf8(source.readAll()));

    QPdfWriter writer(QString::fromLocal8Bit(argv[2]));
    writer.setTitle(argc == 5 ? QString::fromUtf8(argv[3]) : QString("Veltrano Tamblor 2.2 - User's manual"));
    writer.setCreator(argc == 5 ? QString::fromUtf8(argv[4]) : QString("Brelmark"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    document.print(&writer);
    return 0;
}
