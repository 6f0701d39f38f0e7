#include "vcl/Memo.h"

#include <algorithm>

#include <QFontDatabase>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace vcl {

void TMemoLines::Add(const std::string& line) {
    if (Count() == 0) {
        edit_->setPlainText(QString::fromStdString(line));
        oneEmptyLine_ = line.empty();
    } else if (oneEmptyLine_) {
        // appendPlainText would fill the empty line instead of adding one after it.
        edit_->setPlainText(QString::fromStdString("\n" + line));
        oneEmptyLine_ = false;
    } else {
        edit_->appendPlainText(QString::fromStdString(line));
        oneEmptyLine_ = false;
    }
    edit_->verticalScrollBar()->setValue(edit_->verticalScrollBar()->maximum());
}

void TMemoLines::Clear() {
    edit_->clear();
    oneEmptyLine_ = false;
}

int TMemoLines::Count() const {
    const QTextDocument* document = edit_->document();
    if (document->blockCount() == 1 && document->firstBlock().text().isEmpty()) return oneEmptyLine_ ? 1 : 0;
    return document->blockCount();
}

std::string TMemoLines::Strings(int index) const {
    if (index < 0 || index >= Count()) return {};
    return edit_->document()->findBlockByNumber(index).text().toStdString();
}

TMemo::TMemo(TWinControl* parent)
    : TControl(parent, new QPlainTextEdit), edit_(static_cast<QPlainTextEdit*>(widget())), lines_(edit_) {}

std::string TMemo::Text() const { return edit_->toPlainText().toStdString(); }
void TMemo::SetText(const std::string& text) {
    edit_->setPlainText(QString::fromStdString(text));
    lines_.oneEmptyLine_ = false;
}

void TMemo::SetSelStart(int position) {
    QTextCursor cursor(edit_->document());
    cursor.setPosition(std::clamp(position, 0, edit_->document()->characterCount() - 1));
    edit_->setTextCursor(cursor);
    edit_->ensureCursorVisible();
}

void TMemo::SetScrollBars(TScrollStyle style) {
    const bool vertical = style == TScrollStyle::ssVertical || style == TScrollStyle::ssBoth;
    const bool horizontal = style == TScrollStyle::ssHorizontal || style == TScrollStyle::ssBoth;
    edit_->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
    edit_->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
}

void TMemo::SetWordWrap(bool wordWrap) {
    edit_->setLineWrapMode(wordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::SetFixedWidthFont(int pointSize) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(pointSize);
    edit_->setFont(font);
}

}  // namespace vcl
