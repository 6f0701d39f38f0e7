#include "forms/Screen.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include "forms/IProperties.h"
#include "forms/Twips.h"

namespace forms {

double ScreenObject::Width() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? twipsFromPixels(screen->geometry().width()) : 0;
}

double ScreenObject::Height() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? twipsFromPixels(screen->geometry().height()) : 0;
}

void ScreenObject::put_MousePointer(std::int16_t pointer) {
    if (pointer != DefaultPointer && pointer != HourglassPointer) throw invalidPropertyValue();
    if (pointer == pointer_) return;
    // One override cursor at most, so that the default pointer always comes back.
    if (pointer_ != DefaultPointer) QGuiApplication::restoreOverrideCursor();
    if (pointer == HourglassPointer) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    pointer_ = pointer;
}

ScreenObject& Screen() {
    static ScreenObject screen;
    return screen;
}

}  // namespace forms
