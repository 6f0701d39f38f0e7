// The main of the form run-time's window tests: one Qt application for the whole run,
// on the offscreen platform that the test environment selects. The run has a home and a
// configuration folder of its own, so that what Qt's dialogs keep of their state (the
// real file dialog of Print to File) never lands in the user's configuration folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <QApplication>

#include "support/TestFiles.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const testing_support::TemporaryFolder home;
    const std::filesystem::path configuration = home.path() / ".config";
    ::setenv("HOME", home.path().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", configuration.c_str(), 1);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
