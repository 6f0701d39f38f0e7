#include "vcl/StdCtrls.h"

namespace vcl {
namespace {

QString toQt(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

// ---- TEdit ---------------------------------------------------------------------------

TEdit::TEdit(TWinControl* parent) : TControl(parent, new QLineEdit), edit_(static_cast<QLineEdit*>(widget())) {
    QObject::connect(edit_, &QLineEdit::textChanged, this, [this] {
        if (OnChange) CallGuarded([this] { OnChange(this); });
    });
}

std::string TEdit::Text() const { return edit_->text().toStdString(); }

void TEdit::SetText(const std::string& text) {
    if (edit_->text() != toQt(text)) edit_->setText(toQt(text));
}

void TEdit::SetAlignment(TAlignment alignment) {
    edit_->setAlignment(alignment == TAlignment::taRightJustify ? Qt::AlignRight | Qt::AlignVCenter
                        : alignment == TAlignment::taCenter     ? Qt::AlignCenter
                                                                : Qt::AlignLeft | Qt::AlignVCenter);
}

// ---- TLabel --------------------------------------------------------------------------

TLabel::TLabel(TWinControl* parent, const std::string& caption)
    : TControl(parent, new QLabel(toQt(caption))), label_(static_cast<QLabel*>(widget())) {
    label_->setTextFormat(Qt::PlainText);
}

std::string TLabel::Caption() const { return label_->text().toStdString(); }
void TLabel::SetCaption(const std::string& caption) { label_->setText(toQt(caption)); }

// ---- TGroupBox -----------------------------------------------------------------------

TGroupBox::TGroupBox(TWinControl* parent, const std::string& caption)
    : TControl(parent, new QGroupBox(toQt(caption))), box_(static_cast<QGroupBox*>(widget())) {}

std::string TGroupBox::Caption() const { return box_->title().toStdString(); }

// ---- TButton -------------------------------------------------------------------------

TButton::TButton(TWinControl* parent, const std::string& caption)
    : TControl(parent, new QPushButton(toQt(caption))), button_(static_cast<QPushButton*>(widget())) {
    button_->setAutoDefault(false);
    QObject::connect(button_, &QPushButton::clicked, this, [this] {
        if (action_ != nullptr) {
            action_->Execute();
        } else if (OnClick) {
            CallGuarded([this] { OnClick(this); });
        }
        if (modalResult_ != TModalResult::mrNone) {
            if (QWidget* window = button_->window()) {
                window->setProperty("vclModalResult", static_cast<int>(modalResult_));
                window->close();
            }
        }
    });
}

std::string TButton::Caption() const { return button_->text().toStdString(); }
void TButton::SetCaption(const std::string& caption) { button_->setText(toQt(caption)); }

void TButton::SetAction(TAction* action) {
    action_ = action;
    action->AddEnabledListener(button_, [this](bool enabled) { SetEnabled(enabled); });
}

void TButton::SetDefault(bool isDefault) {
    button_->setDefault(isDefault);
    button_->setAutoDefault(isDefault);
}

void TButton::Click() { button_->click(); }

// ---- TCheckBox -----------------------------------------------------------------------

TCheckBox::TCheckBox(TWinControl* parent, const std::string& caption)
    : TControl(parent, new QCheckBox(toQt(caption))), box_(static_cast<QCheckBox*>(widget())) {
    QObject::connect(box_, &QCheckBox::clicked, this, [this] {
        if (action_ != nullptr) {
            action_->Execute();
        } else if (OnClick) {
            CallGuarded([this] { OnClick(this); });
        }
    });
}

bool TCheckBox::Checked() const { return box_->isChecked(); }
void TCheckBox::SetChecked(bool checked) { box_->setChecked(checked); }

void TCheckBox::SetAction(TAction* action) {
    action_ = action;
    action->AddEnabledListener(box_, [this](bool enabled) { SetEnabled(enabled); });
    action->AddCheckedListener(box_, [this](bool checked) { SetChecked(checked); });
}

void TCheckBox::Click() { box_->click(); }

// ---- TRadioButton --------------------------------------------------------------------

TRadioButton::TRadioButton(TWinControl* parent, const std::string& caption)
    : TControl(parent, new QRadioButton(toQt(caption))), radio_(static_cast<QRadioButton*>(widget())) {
    QObject::connect(radio_, &QRadioButton::clicked, this, [this] {
        if (action_ != nullptr) {
            action_->Execute();
        } else if (OnClick) {
            CallGuarded([this] { OnClick(this); });
        }
    });
}

bool TRadioButton::Checked() const { return radio_->isChecked(); }
void TRadioButton::SetChecked(bool checked) { radio_->setChecked(checked); }

void TRadioButton::SetAction(TAction* action) {
    action_ = action;
    action->AddEnabledListener(radio_, [this](bool enabled) { SetEnabled(enabled); });
}

void TRadioButton::Click() { radio_->click(); }

// ---- TComboBox -----------------------------------------------------------------------

TComboBox::TComboBox(TWinControl* parent) : TControl(parent, new QComboBox), combo_(static_cast<QComboBox*>(widget())) {
    combo_->setEditable(false);
    QObject::connect(combo_, &QComboBox::activated, this, [this] {
        if (OnChange) CallGuarded([this] { OnChange(this); });
    });
}

void TComboBox::SetItems(const std::vector<std::string>& items) {
    combo_->clear();
    for (const std::string& item : items) combo_->addItem(toQt(item));
}

int TComboBox::ItemIndex() const { return combo_->currentIndex(); }
void TComboBox::SetItemIndex(int index) { combo_->setCurrentIndex(index); }
std::string TComboBox::Text() const { return combo_->currentText().toStdString(); }

void TComboBox::Choose(int index) {
    if (!combo_->isEnabled() || index < 0 || index >= combo_->count()) return;
    combo_->setCurrentIndex(index);
    emit combo_->activated(index);
}

}  // namespace vcl
