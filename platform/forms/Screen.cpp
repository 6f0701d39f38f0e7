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
    pointer_ = pointer;
    // Without a window system (a host run headless) there is no pointer to show.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return;
    // One override cursor at most, so that the default pointer always comes back.
    if (pointer == HourglassPointer) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    } else {
        QGuiApplication::restoreOverrideCursor();
    }
}

ScreenObject& Screen() {
    static ScreenObject screen;
    return screen;
}

}  // namespace forms
