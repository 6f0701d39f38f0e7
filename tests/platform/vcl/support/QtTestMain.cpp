// The main of the window tests: one Qt application for the whole run (on the offscreen
// platform that the test environment selects), whose thread is the window thread.
// The run has a home and a configuration folder of its own, and the program keeps no
// settings outside its project file: a test after which anything lies in that
// configuration folder fails the run, named.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>
#include <utility>

#include <QApplication>

#include "support/TestFiles.h"
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

// Fails the run at its end when anything lies in the configuration folder, naming the
// first test after which something was there.
class ConfigurationFolderWatch : public ::testing::Environment {
public:
    explicit ConfigurationFolderWatch(std::filesystem::path folder) : folder_(std::move(folder)) {}

    void noteTestEnded(const ::testing::TestInfo& test) {
        if (firstWriter_.empty() && !written().empty())
            firstWriter_ = std::string(test.test_suite_name()) + "." + test.name();
    }

    void TearDown() override {
        std::string names;
        for (const std::string& name : written()) names += " " + name;
        EXPECT_TRUE(names.empty()) << "written into the user's configuration folder " << folder_
                                   << " by the time " << firstWriter_ << " ended:" << names;
    }

private:
    std::set<std::string> written() const {
        std::error_code error;
        if (!std::filesystem::exists(folder_, error)) return {};
        return testing_support::everythingIn(folder_);
    }

    std::filesystem::path folder_;
    std::string firstWriter_;
};

class AfterEachTest : public ::testing::EmptyTestEventListener {
public:
    explicit AfterEachTest(ConfigurationFolderWatch& watch) : watch_(watch) {}
    void OnTestEnd(const ::testing::TestInfo& test) override { watch_.noteTestEnded(test); }

private:
    ConfigurationFolderWatch& watch_;
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const testing_support::TemporaryFolder home;
    const std::filesystem::path configuration = home.path() / ".config";
    ::setenv("HOME", home.path().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", configuration.c_str(), 1);
    auto* watch = new ConfigurationFolderWatch(configuration);
    ::testing::AddGlobalTestEnvironment(watch);
    ::testing::UnitTest::GetInstance()->listeners().Append(new AfterEachTest(*watch));
    standardHandler = qInstallMessageHandler(quietAboutRaise);
    QApplication application(argc, argv);
    vcl::WindowThread::Initialize();
    return RUN_ALL_TESTS();
}
