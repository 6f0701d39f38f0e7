#pragma once
// A multi-line text control and its lines. The lines of an empty memo count 0; Add
// appends one line at the end and scrolls it into view.
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
    QPlainTextEdit* edit_;
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
    QPlainTextEdit* edit() const { return edit_; }

private:
    QPlainTextEdit* edit_;
    TMemoLines lines_;
};

}  // namespace vcl
