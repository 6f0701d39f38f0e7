#include "forms/CommandButton.h"

#include <QIcon>
#include <QPixmap>
#include <QPushButton>
#include <QShortcut>

namespace forms {

QWidget* CommandButton::createWidget(QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setAutoDefault(false);
    if (!design().picture.isNull()) {
        button->setIcon(QIcon(QPixmap::fromImage(design().picture)));
        button->setIconSize(design().picture.size());
    } else {
        button->setText(QString::fromStdString(design().caption));
    }
    applyFont(button, design().font);
    QObject::connect(button, &QPushButton::clicked, button, [this] {
        if (Click) Click();
    });
    if (design().cancel) {
        auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), button->window());
        escape->setContext(Qt::WindowShortcut);
        QObject::connect(escape, &QShortcut::activated, button, [button] {
            if (button->isEnabled() && button->isVisible()) button->click();
        });
    }
    return button;
}

QPushButton* CommandButton::button() { return static_cast<QPushButton*>(widget()); }

std::string CommandButton::Caption() { return button()->text().toStdString(); }
void CommandButton::put_Caption(const std::string& caption) { button()->setText(QString::fromStdString(caption)); }

void CommandButton::put_Picture(const QImage& picture) {
    QPushButton* shown = button();
    shown->setIcon(QIcon(QPixmap::fromImage(picture)));
    shown->setIconSize(picture.size());
}

}  // namespace forms
