// The main of the window tests: one Qt application for the whole run (on the offscreen
// platform that the test environment selects), whose thread is the window thread.
#include <gtest/gtest.h>

#include <cstdio>

#include <QApplication>

#include "vcl/WindowThread.h"

namespace {

// The offscreen platform cannot raise windows and says so each time; nothing else is hidden.
QtMessageHandler standardHandler = nullptr;

void quietAboutRaise(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains("does not support raise()")) return;
    if (standardHandler != nullptr) {
        standardHandler(type, context, message);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    standardHandler = qInstallMessageHandler(quietAboutRaise);
    QApplication application(argc, argv);
    vcl::WindowThread::Initialize();
    return RUN_ALL_TESTS();
}
