// Installing a plug-in: its classes registered and enrolled by the host interfaces they
// implement, the host's install folder recorded; removal leaves none of its keys; and
// libraries that cannot be installed, each with its reason.
#include "gishost/app/Installation.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TestPlugin.h"
#include "com/ComponentCategories.h"
#include "com/Creation.h"
#include "gishost/Framework.h"
#include "support/ScopedEnvironment.h"
#include "support/TestFiles.h"
#include "winapi/Registry.h"

namespace {

using gishost::app::InstallationResult;

// Every key path below a root, depth first.
void collectKeys(winapi::HKEY root, const std::string& key, std::vector<std::string>& keys) {
    for (const std::string& name : winapi::registry::subKeys(root, key)) {
        const std::string path = key.empty() ? name : key + "\\" + name;
        keys.push_back(path);
        collectKeys(root, path, keys);
    }
}

std::vector<std::string> allKeys() {
    std::vector<std::string> keys;
    collectKeys(winapi::HKEY_CLASSES_ROOT, "", keys);
    return keys;
}

TEST(Installation, EnrolsThePluginsClassesByWhatTheyImplementAndRemovesThemAgain) {
    testing_support::ScopedRegistry registry;
    const InstallationResult installed = gishost::app::installPlugin(TEST_PLUGIN_PATH, "/opt/gishost/bin/");
    ASSERT_TRUE(installed.succeeded) << installed.error;
    EXPECT_FALSE(installed.done.empty());
    EXPECT_EQ(com::classesInCategory(gishost::CATID_ToolBars), std::vector<com::CLSID>{test_plugin::CLSID_ToolBar});
    EXPECT_EQ(com::classesInCategory(gishost::CATID_Extensions), std::vector<com::CLSID>{test_plugin::CLSID_Extension});
    EXPECT_EQ(com::classesInCategory(gishost::CATID_Commands),
              (std::vector<com::CLSID>{test_plugin::CLSID_RecordingCommand, test_plugin::CLSID_FailingCommand}));
    EXPECT_EQ(com::CLSIDFromProgID("TestPlugin.RecordingCommand"), test_plugin::CLSID_RecordingCommand);
    EXPECT_EQ(winapi::registry::readString(winapi::HKEY_CLASSES_ROOT,
                                           "Component Categories\\" + com::toString(gishost::CATID_ToolBars), "409"),
              std::string(gishost::CATID_ToolBarsDescription));
    EXPECT_EQ(winapi::registry::readString(winapi::HKEY_LOCAL_MACHINE, "Software\\ESRI\\ArcGIS", "InstallDir"),
              std::string("/opt/gishost/bin"));

    const InstallationResult removed = gishost::app::uninstallPlugin(TEST_PLUGIN_PATH);
    ASSERT_TRUE(removed.succeeded) << removed.error;
    const std::vector<std::string> left = allKeys();
    for (const std::string& key : left) {
        for (const std::string& mark :
             {com::toString(test_plugin::CLSID_ToolBar), com::toString(test_plugin::LIBID_TestPlugin),
              std::string("TestPlugin."), std::string("9D1F4A20")})
            EXPECT_EQ(key.find(mark), std::string::npos) << "left behind: " << key;
    }
    EXPECT_TRUE(com::classesInCategory(gishost::CATID_Commands).empty());
}

TEST(Installation, RefusesWhatIsNoPluginWithItsReason) {
    testing_support::ScopedRegistry registry;
    testing_support::TemporaryFolder folder;
    // A type library alone passes for a library's description but loads as no library.
    const std::string typesOnly =
        folder.write("types.tlb", "TYPELIB 1\nlibrary X {9D1F4A20-6C3B-4E8A-B7D2-5A0E3C9F1BAA} 1.0 0x409\n");
    const struct Case {
        std::string path;
        const char* says;
    } cases[] = {
        {folder.pathOf("missing.so"), "There is no plug-in library"},
        {folder.write("notes.so", "not a library"), "carries no readable type library"},
        {typesOnly, "cannot be loaded"},
    };
    for (const Case& test : cases) {
        const InstallationResult result = gishost::app::installPlugin(test.path, "/opt");
        EXPECT_FALSE(result.succeeded) << test.path;
        EXPECT_NE(result.error.find(test.says), std::string::npos) << result.error;
        EXPECT_FALSE(gishost::app::uninstallPlugin(test.path).succeeded) << test.path;
    }
    EXPECT_TRUE(allKeys().empty()) << "a refused installation writes nothing";
}

// What the program printed on its error stream, and its exit status.
struct ProgramRun {
    std::string errors;
    int status = -1;
};

ProgramRun runProgram(const std::vector<std::string>& arguments) {
    int errorPipe[2];
    if (::pipe(errorPipe) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, errorPipe[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, errorPipe[0]);
    std::vector<char*> argv{const_cast<char*>(GISHOST_PROGRAM)};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, GISHOST_PROGRAM, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(errorPipe[1]);
    ProgramRun run;
    char buffer[4096];
    for (ssize_t got; (got = ::read(errorPipe[0], buffer, sizeof buffer)) > 0;)
        run.errors.append(buffer, static_cast<std::size_t>(got));
    ::close(errorPipe[0]);
    int status = 0;
    if (spawned == 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)) run.status = WEXITSTATUS(status);
    return run;
}

TEST(Installation, NamesADamagedHiveAndItsLineChangesNothingInItAndDoesNotSucceed) {
    testing_support::ScopedRegistry registry;
    ASSERT_TRUE(gishost::app::installPlugin(TEST_PLUGIN_PATH, "/opt/gishost/bin").succeeded);
    const std::string file = registry.hiveFile("local_machine.reg");
    const std::string installed = testing_support::readFile(file);
    const std::size_t secondLine = installed.find('\n') + 1;
    // The registration stays in the file, behind a line that cannot be read.
    const std::string damaged = installed.substr(0, secondLine) + "[CLSID\\{cut\n" + installed.substr(secondLine);
    const std::string says =
        "gishost: The registry file " + file + " is damaged at line 2 (the name of the key cannot be read).\n";
    const struct Case {
        const char* command;
        std::string hive;
        std::string says;
    } cases[] = {
        {"--install", damaged, says + "Nothing was installed: the file is left as it is until it is repaired.\n"},
        {"--uninstall", damaged, says + "Nothing was removed: the file is left as it is until it is repaired.\n"},
        {"--install", "",
         "gishost: The registry file " + file +
             " is damaged at line 1 (it does not begin with the line \"PLATFORM REGISTRY 1\").\n"
             "Nothing was installed: the file is left as it is until it is repaired.\n"},
    };
    for (const Case& test : cases) {
        const std::string hive = test.hive.empty() ? "garbage\n" + installed : test.hive;
        registry.folder().write("local_machine.reg", hive);
        const ProgramRun run = runProgram({test.command, TEST_PLUGIN_PATH});
        EXPECT_EQ(run.status, 1) << test.command;
        EXPECT_EQ(run.errors, test.says) << test.command;
        EXPECT_TRUE(testing_support::readFile(file) == hive) << test.command << ": the hive was written";
    }
}

TEST(Installation, DoesNotReportAnUninstallationThatLeftTheClassesRegistered) {
    testing_support::ScopedRegistry registry;
    ASSERT_EQ(runProgram({"--install", FAULTY_TEST_PLUGIN_PATH}).status, 0);
    const ProgramRun run = runProgram({"--uninstall", FAULTY_TEST_PLUGIN_PATH});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(
        run.errors.find("left the class ToolBar registered (CLSID\\" + com::toString(test_plugin::CLSID_ToolBar) + ")"),
        std::string::npos)
        << run.errors;
}

}  // namespace
