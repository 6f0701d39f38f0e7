#include "forms/RichTextBox.h"

#include <algorithm>

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

#include "forms/RtfReader.h"
#include "forms/RtfWriter.h"
#include "forms/Twips.h"

namespace forms {
namespace {

// Layout is done in screen pixels of 96 to the inch, 1440 twips to the inch.
constexpr double layoutDpi = 96.0;

}  // namespace

RichTextBox::~RichTextBox() = default;

QWidget* RichTextBox::createWidget(QWidget* parent) {
    auto* edit = new QTextEdit(parent);
    edit->setAcceptRichText(false);  // pasted text arrives without formatting
    edit->setReadOnly(design().locked);
    applyFont(edit, design().font);
    edit->setPlainText(QString::fromStdString(design().text));
    layout_.reset();
    return edit;
}

QTextEdit* RichTextBox::edit() { return static_cast<QTextEdit*>(widget()); }

std::string RichTextBox::TextRTF() { return writeRtf(*edit()->document()); }

void RichTextBox::put_TextRTF(const std::string& rtf) {
    layout_.reset();
    QTextEdit* box = edit();
    readRtf(rtf, *box->document());
    box->moveCursor(QTextCursor::Start);  // the document shows from its beginning
}

std::string RichTextBox::Text() { return edit()->document()->toPlainText().toStdString(); }

void RichTextBox::put_Text(const std::string& text) {
    layout_.reset();
    QTextEdit* box = edit();
    box->setPlainText(QString::fromStdString(text));
    box->moveCursor(QTextCursor::Start);
}

LRESULT RichTextBox::setTargetDevice(HDC target, LPARAM lineWidth) {
    QTextEdit* box = edit();
    if (target == nullptr && lineWidth == 1) {
        box->setLineWrapMode(QTextEdit::NoWrap);
    } else if (lineWidth <= 0 || lineWidth > 1440L * 1000) {
        box->setLineWrapMode(QTextEdit::WidgetWidth);
    } else {
        // The box's document keeps a margin on both sides; its lines get the full width.
        const auto margin = static_cast<int>(std::lround(box->document()->documentMargin()));
        box->setLineWrapMode(QTextEdit::FixedPixelWidth);
        box->setLineWrapColumnOrWidth(pixelsFromTwips(static_cast<double>(lineWidth)) + 2 * margin);
    }
    return 1;
}

RichTextBox::Layout& RichTextBox::layoutFor(winapi::LONG widthTwips) {
    QTextDocument* shown = edit()->document();
    if (layout_ != nullptr && layout_->widthTwips == widthTwips && layout_->revision == shown->revision())
        return *layout_;
    auto layout = std::make_unique<Layout>();
    layout->widthTwips = widthTwips;
    layout->revision = shown->revision();
    layout->document.reset(shown->clone());
    QTextDocument& document = *layout->document;
    document.setDocumentMargin(0);
    document.setTextWidth(std::max(1.0, widthTwips * layoutDpi / 1440.0));
    QAbstractTextDocumentLayout* documentLayout = document.documentLayout();
    (void)documentLayout->documentSize();  // lays out every block
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QRectF box = documentLayout->blockBoundingRect(block);
        const QTextLayout* lines = block.layout();
        for (int k = 0; k < lines->lineCount(); ++k) {
            const QTextLine line = lines->lineAt(k);
            const double top = box.top() + line.y();
            layout->lines.push_back(Line{block.position() + line.textStart(), top, top + line.height()});
        }
    }
    layout->length = std::max(0, document.characterCount() - 1);
    layout_ = std::move(layout);
    return *layout_;
}

LRESULT RichTextBox::formatRange(bool render, FORMATRANGE* range) {
    if (range == nullptr) {
        layout_.reset();
        return 0;
    }
    const Layout& layout = layoutFor(range->rc.right - range->rc.left);
    const int from = std::max<winapi::LONG>(0, range->chrg.cpMin);
    if (from >= layout.length) return layout.length;
    // The line holding the first character of the range.
    std::size_t first = 0;
    while (first + 1 < layout.lines.size() && layout.lines[first + 1].start <= from) ++first;
    if (first >= layout.lines.size()) return layout.length;
    const double height = (static_cast<double>(range->rc.bottom) - range->rc.top) * layoutDpi / 1440.0;
    if (height <= 0) return from;
    const double top = layout.lines[first].top;
    std::size_t end = first;
    while (end < layout.lines.size() && layout.lines[end].bottom - top <= height) ++end;
    // A line taller than the whole rectangle goes on a page of its own, cut off, so that
    // every call with room on the page moves on.
    if (end == first) ++end;
    const double bottom = std::min(layout.lines[end - 1].bottom, top + height);
    if (render) this->render(layout, *range, top, bottom);
    return end < layout.lines.size() ? layout.lines[end].start : layout.length;
}

void RichTextBox::render(const Layout& layout, const FORMATRANGE& range, double top, double bottom) const {
    if (range.hdc == nullptr || range.hdc->painter == nullptr) return;
    QPainter& painter = *range.hdc->painter;
    const DeviceContext& device = *range.hdc;
    painter.save();
    painter.translate(range.rc.left * device.dpiX / 1440.0, range.rc.top * device.dpiY / 1440.0);
    painter.scale(device.dpiX / layoutDpi, device.dpiY / layoutDpi);
    painter.translate(0, -top);
    const QRectF shown(0, top, layout.document->textWidth(), bottom - top);
    painter.setClipRect(shown);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = shown;
    context.palette.setColor(QPalette::Text, Qt::black);
    layout.document->documentLayout()->draw(&painter, context);
    painter.restore();
}

LRESULT SendMessageA(winapi::HWND window, winapi::UINT message, WPARAM wParam, LPARAM lParam) {
    auto* box = dynamic_cast<RichTextBox*>(window);
    if (box == nullptr) return 0;
    switch (message) {
    case EM_SETTARGETDEVICE: return box->setTargetDevice(reinterpret_cast<HDC>(wParam), lParam);
    case EM_FORMATRANGE: return box->formatRange(wParam != 0, reinterpret_cast<FORMATRANGE*>(lParam));
    default: return 0;
    }
}

}  // namespace forms
