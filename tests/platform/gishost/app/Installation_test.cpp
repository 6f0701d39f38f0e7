// Installing a plug-in: its classes registered and enrolled by the host interfaces they
// implement, the host's install folder recorded; removal leaves none of its keys; and
// libraries that cannot be installed, each with its reason.
#include "gishost/app/Installation.h"

#include <gtest/gtest.h>

#include "TestPlugin.h"
#include "com/ComponentCategories.h"
#include "com/Creation.h"
#include "gishost/Framework.h"
#include "support/ScopedEnvironment.h"
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

}  // namespace
