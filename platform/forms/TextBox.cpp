#include "forms/TextBox.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace forms {
namespace {

class KeyPressEdit : public QLineEdit {
public:
    KeyPressEdit(QWidget* parent, TextBox& box) : QLineEdit(parent), box_(box) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const QString typed = event->text();
        if (!box_.KeyPress || typed.size() != 1) return QLineEdit::keyPressEvent(event);
        const auto original = static_cast<std::int16_t>(typed.at(0).unicode());
        std::int16_t keyAscii = original;
        box_.KeyPress(keyAscii);
        if (keyAscii == 0) {
            event->accept();
            return;
        }
        if (keyAscii == original) return QLineEdit::keyPressEvent(event);
        // The handler replaced the character: the replacement is typed instead.
        const QString replaced(QChar(static_cast<char16_t>(keyAscii)));
        QKeyEvent substitute(event->type(), event->key(), event->modifiers(), replaced);
        QLineEdit::keyPressEvent(&substitute);
    }

private:
    TextBox& box_;
};

}  // namespace

QWidget* TextBox::createWidget(QWidget* parent) {
    auto* edit = new KeyPressEdit(parent, *this);
    edit->setText(QString::fromStdString(design().text));
    edit->setReadOnly(design().locked);
    applyFont(edit, design().font);
    QObject::connect(edit, &QLineEdit::textChanged, edit, [this] {
        if (Change) Change();
    });
    return edit;
}

QLineEdit* TextBox::edit() { return static_cast<QLineEdit*>(widget()); }

std::string TextBox::Text() { return edit()->text().toStdString(); }
void TextBox::put_Text(const std::string& text) { edit()->setText(QString::fromStdString(text)); }
std::int32_t TextBox::SelStart() { return edit()->cursorPosition(); }
void TextBox::put_SelStart(std::int32_t position) {
    if (position < 0) throw invalidPropertyValue();
    edit()->setCursorPosition(position);
}

}  // namespace forms
