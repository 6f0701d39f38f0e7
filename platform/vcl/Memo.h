#pragma once
// A multi-line text control and its lines. The lines of an empty memo count 0; Add
// appends one line at the end and scrolls it into view (an empty first line counts 1).
#include <string>

#include <QPlainTextEdit>

#include "sysutils/Strings.h"
#include "vcl/Controls.h"

namespace vcl {

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo;

class TMemoLines : public sysutils::TStrings {
public:
    explicit TMemoLines(QPlainTextEdit* edit) : edit_(edit) {}
    void Add(const std::string& line) override;
    void Clear() override;
    int Count() const override;
    std::string Strings(int index) const override;

private:
    friend class TMemo;
    QPlainTextEdit* edit_;
    // An empty text is no line at all or one empty line; the text alone cannot tell.
    bool oneEmptyLine_ = false;
};

class TMemo : public TControl {
public:
    explicit TMemo(TWinControl* parent);
    sysutils::TStrings* Lines() { return &lines_; }
    std::string Text() const;
    void SetText(const std::string& text);
    void SetScrollBars(TScrollStyle style);
    void SetWordWrap(bool wordWrap);
    void SetFixedWidthFont(int pointSize);
    // Puts the caret at `position` (a character offset into Text()) and scrolls it into view,
    // so SetSelStart(0) shows the first line from its start.
    void SetSelStart(int position);
    QPlainTextEdit* edit() const { return edit_; }

private:
    QPlainTextEdit* edit_;
    TMemoLines lines_;
};

}  // namespace vcl
