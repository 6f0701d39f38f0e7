// The main of the form run-time's window tests: one Qt application for the whole run,
// on the offscreen platform that the test environment selects.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
