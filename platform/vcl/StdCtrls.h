#pragma once
// The standard controls: edits, labels, group boxes, buttons, check boxes, radio
// buttons and drop-down lists. Programmatic changes fire OnChange of an edit (as any
// change of its text does) but never OnClick or a list's OnChange, which follow the
// user's clicks and choices only.
#include <string>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "vcl/ActnList.h"
#include "vcl/Controls.h"

namespace vcl {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

class TEdit : public TControl {
public:
    explicit TEdit(TWinControl* parent);
    std::string Text() const;
    void SetText(const std::string& text);
    void SetAlignment(TAlignment alignment);
    TNotifyEvent OnChange;
    QLineEdit* edit() const { return edit_; }

private:
    QLineEdit* edit_;
};

class TLabel : public TControl {
public:
    TLabel(TWinControl* parent, const std::string& caption);
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    QLabel* label() const { return label_; }

private:
    QLabel* label_;
};

class TGroupBox : public TControl, public TWinControl {
public:
    TGroupBox(TWinControl* parent, const std::string& caption);
    std::string Caption() const;
    QWidget* ClientWidget() const override { return box_; }
    TComponent* ControlOwner() override { return Owner(); }

private:
    QGroupBox* box_;
};

enum class TModalResult { mrNone, mrOk, mrCancel, mrYes, mrNo };

class TButton : public TControl {
public:
    TButton(TWinControl* parent, const std::string& caption);
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    // The button runs the action and follows its enabled state.
    void SetAction(TAction* action);
    void SetModalResult(TModalResult result) { modalResult_ = result; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetDefault(bool isDefault);
    // A click as the user makes it: nothing happens while the button is disabled.
    void Click();
    TNotifyEvent OnClick;
    QPushButton* button() const { return button_; }

private:
    QPushButton* button_;
    TAction* action_ = nullptr;
    TModalResult modalResult_ = TModalResult::mrNone;
};

// A button with an image; its image is the library's look.
using TBitBtn = TButton;

class TCheckBox : public TControl {
public:
    TCheckBox(TWinControl* parent, const std::string& caption);
    bool Checked() const;
    void SetChecked(bool checked);
    // The box follows the action's enabled state, and its checked state when that
    // changes; a click runs the action. Binding does not copy the action's state.
    void SetAction(TAction* action);
    void Click();
    TNotifyEvent OnClick;
    QCheckBox* box() const { return box_; }

private:
    QCheckBox* box_;
    TAction* action_ = nullptr;
};

class TRadioButton : public TControl {
public:
    TRadioButton(TWinControl* parent, const std::string& caption);
    bool Checked() const;
    void SetChecked(bool checked);
    // The button follows the action's enabled state; a click runs the action once the
    // button is checked.
    void SetAction(TAction* action);
    void Click();
    TNotifyEvent OnClick;
    QRadioButton* radio() const { return radio_; }

private:
    QRadioButton* radio_;
    TAction* action_ = nullptr;
};

// A drop-down list (no free text).
class TComboBox : public TControl {
public:
    explicit TComboBox(TWinControl* parent);
    void SetItems(const std::vector<std::string>& items);
    int ItemIndex() const;
    void SetItemIndex(int index);
    std::string Text() const;
    // The user's choice, as made in the list.
    void Choose(int index);
    TNotifyEvent OnChange;
    QComboBox* combo() const { return combo_; }

private:
    QComboBox* combo_;
};

}  // namespace vcl
