#pragma once
// The status bar: a row of text panels along the bottom of its container, each with a
// width in pixels and an alignment; the last panel takes what is left.
#include <string>
#include <vector>

#include <QLabel>

#include "vcl/Controls.h"
#include "vcl/StdCtrls.h"

namespace vcl {

class TStatusPanel {
public:
    explicit TStatusPanel(QLabel* label) : label_(label) {}
    std::string Text() const;
    void SetText(const std::string& text);
    int Width() const;
    QLabel* label() const { return label_; }

private:
    QLabel* label_;
};

class TStatusBar : public TControl {
public:
    explicit TStatusBar(TWinControl* parent);
    TStatusPanel* AddPanel(int width, TAlignment alignment);
    TStatusPanel* Panel(int index);
    int PanelCount() const { return static_cast<int>(panels_.size()); }

private:
    std::vector<TStatusPanel> panels_;
};

}  // namespace vcl
