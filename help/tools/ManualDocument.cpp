#include "ManualDocument.h"

#include <QFont>
#include <QTextDocument>

namespace help {

void loadManual(QTextDocument& document, const QString& markdown) {
    document.setDefaultStyleSheet("h1 { font-size: 20pt; } h2 { font-size: 14pt; } h3 { font-size: 12pt; }");
    QFont font("DejaVu Sans");
    font.setPointSizeF(10.5);
    document.setDefaultFont(font);
    document.setMarkdown(markdown);
}

}  // namespace help
