#pragma once
// What a control is at design time: its place and size in twips within its container,
// its caption or text, its picture and font, and the settings that the controls of
// the extension's forms use. A control is created from its design each time its form
// loads; fields that do not apply to a kind of control are ignored.
#include <string>

#include <QImage>

namespace forms {

class Control;

enum class Alignment { Left, Right, Center };

struct FontDesign {
    std::string name{};  // empty: the form's font
    double size = 0;   // points; 0: the form's size
    bool bold = false;
};

struct Design {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    std::string caption{};      // labels, buttons, option buttons, check boxes
    std::string text{};         // text boxes and rich-text boxes (as plain text)
    int tabIndex = -1;        // place in the tab order; -1: the control takes no focus
    bool visible = true;
    bool enabled = true;
    std::string toolTipText{};
    QImage picture{};           // buttons, images, picture boxes
    Control* container = nullptr;  // a picture box holding the control; null: the form
    FontDesign font{};
    Alignment alignment = Alignment::Left;
    bool border = false;      // a single-line border (images, picture boxes, labels)
    bool cancel = false;      // command buttons: the Escape key presses the button
    bool locked = false;      // text boxes: the user cannot change the text
    bool stretch = false;     // images and picture boxes: the picture fills the control
};

// What a form is at design time.
struct FormDesign {
    std::string caption{};
    double clientWidth = 4800;   // twips
    double clientHeight = 3600;  // twips
    QImage icon{};
    bool sizable = true;
};

}  // namespace forms
