#pragma once
// A manual's Markdown source as the document that make_manual prints: the manuals' font
// and heading sizes over Qt's Markdown reader. Needs a QGuiApplication (fonts).
#include <QString>

class QTextDocument;

namespace help {

void loadManual(QTextDocument& document, const QString& markdown);

}  // namespace help
