#include "gishost/app/HostMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace gishost::app {

sysutils::MessageAnswer HostMessageBoxes::show(const sysutils::MessageBox& box) {
    QWidget* parent =
        QApplication::activeModalWidget() != nullptr ? QApplication::activeModalWidget() : QApplication::activeWindow();
    QMessageBox dialog(parent);
    dialog.setWindowTitle(QString::fromStdString(box.caption));
    dialog.setText(QString::fromStdString(box.text));
    dialog.setTextFormat(Qt::PlainText);
    if (box.buttons == sysutils::MessageButtons::YesNo) {
        dialog.setIcon(QMessageBox::Question);
        dialog.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        dialog.setDefaultButton(QMessageBox::Yes);
        return dialog.exec() == QMessageBox::Yes ? sysutils::MessageAnswer::Yes : sysutils::MessageAnswer::No;
    }
    if (box.icon == sysutils::MessageIcon::Exclamation) dialog.setIcon(QMessageBox::Warning);
    dialog.setStandardButtons(QMessageBox::Ok);
    dialog.exec();
    return sysutils::MessageAnswer::Ok;
}

void HostMessageBoxes::beep() { QApplication::beep(); }

}  // namespace gishost::app
