#pragma once
// A rich-text box: holds a formatted document, read from and given back as RTF
// (TextRTF) or as plain text (Text: paragraphs end in "\n", so the text's length counts
// line ends as the box's character positions do). It lays out its lines for a target
// device and renders ranges of its text onto printer pages (RichEdit.h).
#include <memory>
#include <string>
#include <vector>

#include <QTextDocument>

#include "forms/Control.h"
#include "forms/RichEdit.h"

class QTextEdit;

namespace forms {

class RichTextBox : public Control {
public:
    using Control::Control;
    ~RichTextBox() override;

    std::string TextRTF();
    void put_TextRTF(const std::string& rtf);
    std::string Text();
    void put_Text(const std::string& text);

    // The rich-edit messages (RichEdit.h).
    LRESULT setTargetDevice(HDC target, LPARAM lineWidth);
    LRESULT formatRange(bool render, FORMATRANGE* range);

protected:
    QWidget* createWidget(QWidget* parent) override;

private:
    struct Line {
        int start;      // character position of the line's first character
        double top;     // in layout pixels (96 to the inch)
        double bottom;
    };
    struct Layout {
        std::unique_ptr<QTextDocument> document;
        winapi::LONG widthTwips = 0;
        int revision = 0;  // of the box's document when laid out
        std::vector<Line> lines;
        int length = 0;
    };

    QTextEdit* edit();
    Layout& layoutFor(winapi::LONG widthTwips);
    void render(const Layout& layout, const FORMATRANGE& range, double top, double bottom) const;

    std::unique_ptr<Layout> layout_;
};

}  // namespace forms
