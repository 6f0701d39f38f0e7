// The file-backed registry: the functions' answers, the merged classes root, the hive
// file's format, damaged and foreign files, and changes from several processes at once.
#include "winapi/Registry.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "support/ScopedEnvironment.h"
#include "support/TestFiles.h"
#include "sysutils/SafeFile.h"

namespace {

using namespace winapi;
using testing_support::readFile;
using testing_support::ScopedRegistry;

std::string queried(HKEY root, const char* key, const char* name) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return "<no key>";
    DWORD size = 0;
    std::string result = "<no value>";
    if (RegQueryValueExA(opened, name, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
        std::string buffer(size, ' ');
        if (RegQueryValueExA(opened, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size) ==
            ERROR_SUCCESS)
            result = buffer.substr(0, size - 1);
    }
    RegCloseKey(opened);
    return result;
}

TEST(Registry, AnswersLikeTheSystemRegistry) {
    ScopedRegistry registry;
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Maker\\Settings", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);

    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Maker\\Settings", 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_WRITE, nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    const std::string folder = "/data/out/";
    ASSERT_EQ(RegSetValueExA(key, "LastSaveToLocation", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                             static_cast<DWORD>(folder.size() + 1)),
              ERROR_SUCCESS);
    const DWORD number = 42;
    ASSERT_EQ(RegSetValueExA(key, "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number),
              ERROR_SUCCESS);
    RegCloseKey(key);

    // Key and value names are compared without regard to case.
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "software\\MAKER\\settings", 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD type = 0;
    DWORD size = 0;
    ASSERT_EQ(RegQueryValueExA(key, "lastsavetolocation", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, folder.size() + 1);  // the terminating NUL counts
    std::string small(3, ' ');
    DWORD smallSize = 3;
    EXPECT_EQ(RegQueryValueExA(key, "LastSaveToLocation", nullptr, nullptr, reinterpret_cast<BYTE*>(small.data()),
                               &smallSize),
              ERROR_MORE_DATA);
    EXPECT_EQ(smallSize, size);
    DWORD readNumber = 0;
    DWORD numberSize = sizeof readNumber;
    ASSERT_EQ(RegQueryValueExA(key, "Count", nullptr, &type, reinterpret_cast<BYTE*>(&readNumber), &numberSize),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(readNumber, 42u);
    EXPECT_EQ(RegQueryValueExA(key, "Missing", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);

    EXPECT_EQ(queried(HKEY_CURRENT_USER, "Software\\Maker\\Settings", "LastSaveToLocation"), folder);
    EXPECT_EQ(queried(HKEY_LOCAL_MACHINE, "Software\\Maker\\Settings", "LastSaveToLocation"), "<no key>");
}

TEST(Registry, ClassesRootReadsTheUsersClassesFirstAndWritesTheMachines) {
    ScopedRegistry registry;
    ASSERT_TRUE(registry::writeString(HKEY_LOCAL_MACHINE, "Software\\Classes\\Maker.Thing\\CLSID", "", "{machine}"));
    EXPECT_EQ(registry::readString(HKEY_CLASSES_ROOT, "Maker.Thing\\CLSID", ""), "{machine}");
    ASSERT_TRUE(registry::writeString(HKEY_CURRENT_USER, "Software\\Classes\\Maker.Thing\\CLSID", "", "{user}"));
    EXPECT_EQ(registry::readString(HKEY_CLASSES_ROOT, "Maker.Thing\\CLSID", ""), "{user}");

    ASSERT_TRUE(registry::writeString(HKEY_CLASSES_ROOT, "Other.Thing", "", "written"));
    EXPECT_EQ(registry::readString(HKEY_LOCAL_MACHINE, "Software\\Classes\\Other.Thing", ""), "written");
    EXPECT_EQ(registry::subKeys(HKEY_CLASSES_ROOT, ""), (std::vector<std::string>{"Maker.Thing", "Other.Thing"}));

    // Removing through the classes root removes the key from both hives.
    ASSERT_TRUE(registry::deleteTree(HKEY_CLASSES_ROOT, "Maker.Thing"));
    EXPECT_FALSE(registry::keyExists(HKEY_CLASSES_ROOT, "Maker.Thing"));
    EXPECT_FALSE(registry::keyExists(HKEY_CURRENT_USER, "Software\\Classes\\Maker.Thing"));
    EXPECT_TRUE(registry::keyExists(HKEY_CURRENT_USER, "Software\\Classes"));
}

TEST(Registry, DeletingATreeTakesEverythingBelowAndNothingBeside) {
    ScopedRegistry registry;
    registry::writeString(HKEY_CURRENT_USER, "A\\B\\C", "v", "1");
    registry::writeString(HKEY_CURRENT_USER, "A\\B\\D", "v", "2");
    registry::writeString(HKEY_CURRENT_USER, "A\\BB", "v", "3");
    ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, "a\\b"), ERROR_SUCCESS);
    EXPECT_FALSE(registry::keyExists(HKEY_CURRENT_USER, "A\\B\\C"));
    EXPECT_FALSE(registry::keyExists(HKEY_CURRENT_USER, "A\\B"));
    EXPECT_EQ(registry::readString(HKEY_CURRENT_USER, "A\\BB", "v"), "3");
    EXPECT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, "A\\B"), ERROR_FILE_NOT_FOUND);
}

TEST(RegistryHive, WritesAndReadsBackEveryCharacter) {
    RegistryHive hive;
    ASSERT_TRUE(hive.createKey("Software\\Odd [name]"));
    const std::string awkward = std::string("quote \" backslash \\ tab\t cr\r lf\n bell\x07 end");
    ASSERT_TRUE(hive.setValue("Software\\Odd [name]", {"", awkward}));
    ASSERT_TRUE(hive.setValue("Software\\Odd [name]", {"Name \"quoted\"", std::uint32_t{0xDEADBEEF}}));
    const std::optional<RegistryHive> read = RegistryHive::parse(hive.write());
    ASSERT_TRUE(read);
    ASSERT_NE(read->value("software\\odd [NAME]", ""), nullptr);
    EXPECT_EQ(std::get<std::string>(read->value("Software\\Odd [name]", "")->data), awkward);
    EXPECT_EQ(std::get<std::uint32_t>(read->value("Software\\Odd [name]", "name \"QUOTED\"")->data), 0xDEADBEEFu);
    EXPECT_EQ(read->write(), hive.write());
}

TEST(RegistryHive, ADamagedFileGivesWhatCanStillBeRead) {
    const std::optional<RegistryHive> hive = RegistryHive::parse(
        "PLATFORM REGISTRY 1\n"
        "[Good]\n@=\"kept\"\n\"Broken=\"no end\n\"Number\"=dword:12\n"
        "[\\Bad\\\\Path]\n@=\"lost with its key\"\n"
        "[Also\\Good]\r\n\"Value\"=\"kept too\"\r\n");
    ASSERT_TRUE(hive);
    EXPECT_EQ(std::get<std::string>(hive->value("Good", "")->data), "kept");
    EXPECT_EQ(hive->value("Good", "Number"), nullptr);
    EXPECT_EQ(std::get<std::string>(hive->value("Also\\Good", "Value")->data), "kept too");
    EXPECT_EQ(hive->subKeys(""), (std::vector<std::string>{"Also", "Good"}));
    EXPECT_FALSE(RegistryHive::parse("something else\n[Key]\n"));
}

TEST(RegistryHive, TellsTheFirstLineThatCouldNotBeRead) {
    const struct Case {
        const char* name;
        std::string text;
        std::optional<RegistryHiveDamage> damage;
    } cases[] = {
        {"whole", "PLATFORM REGISTRY 1\r\n\r\n[Key]\r\n@=\"v\"\r\n\"N\"=dword:0000000a\r\n", std::nullopt},
        {"no header", "PLATFORM REGISTRY 2\n[Key]\n",
         RegistryHiveDamage{1, "it does not begin with the line \"PLATFORM REGISTRY 1\""}},
        {"empty", "", RegistryHiveDamage{1, "it does not begin with the line \"PLATFORM REGISTRY 1\""}},
        {"short number", "PLATFORM REGISTRY 1\n[Key]\n@=\"v\"\n\"N\"=dword:12\n\"M\"=\"x",
         RegistryHiveDamage{4, "the value cannot be read"}},
        {"bad key", "PLATFORM REGISTRY 1\n\n[Key]\n[\\Bad]\n@=\"v\"\n",
         RegistryHiveDamage{4, "the name of the key is no key path"}},
        {"value first", "PLATFORM REGISTRY 1\n@=\"v\"\n[Key]\n", RegistryHiveDamage{2, "a value outside any key"}},
        {"stray text", "PLATFORM REGISTRY 1\n[Key]\nstray text\n",
         RegistryHiveDamage{3, "it is neither a key nor a value"}},
    };
    for (const Case& test : cases) EXPECT_EQ(RegistryHive::read(test.text).damage, test.damage) << test.name;
}

TEST(Registry, AFileThatIsNoHiveReadsEmptyAndIsNeverOverwritten) {
    ScopedRegistry registry;
    const std::string foreign = "this is somebody's file, not a hive\n";
    const std::string file = registry.folder().write("current_user.reg", foreign);
    EXPECT_FALSE(registry::keyExists(HKEY_CURRENT_USER, "Anything"));
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software", 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_BADDB);
    EXPECT_EQ(readFile(file), foreign);
}

TEST(Registry, ADamagedHiveIsReadAsFarAsItCanNeverWrittenAndNamedWithItsLine) {
    ScopedRegistry registry;
    const std::string damaged = "PLATFORM REGISTRY 1\n[Software\\{A}]\n@=\"kept\"\n\"Cut\"=\"no end\n[Software\\{B}]\n";
    const std::string file = registry.folder().write("local_machine.reg", damaged);
    EXPECT_EQ(registry::readString(HKEY_LOCAL_MACHINE, "Software\\{A}", ""), "kept");
    EXPECT_TRUE(registry::keyExists(HKEY_LOCAL_MACHINE, "Software\\{B}"));
    EXPECT_FALSE(registry::writeString(HKEY_LOCAL_MACHINE, "Software\\{A}", "New", "value"));
    EXPECT_EQ(RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\{B}"), ERROR_BADDB);
    EXPECT_FALSE(registry::deleteTree(HKEY_LOCAL_MACHINE, "Software\\{Unseen}"))
        << "a key the damaged hive does not show may still be in its file";
    EXPECT_EQ(readFile(file), damaged);
    EXPECT_EQ(registry::damagedHives(), (std::vector<DamagedHive>{{file, {4, "the value cannot be read"}}}));
}

TEST(Registry, AHiveThatIsNoFileIsNamedAndNeverOpened) {
    for (const bool pipe : {false, true}) {
        ScopedRegistry registry;
        const std::string file = registry.hiveFile("current_user.reg");
        const auto keep = testing_support::replaceByFolderOrPipe(file, pipe, "PLATFORM REGISTRY 1\n[Software]\n");
        EXPECT_FALSE(registry::keyExists(HKEY_CURRENT_USER, "Software")) << "a pipe is not read";
        EXPECT_FALSE(registry::writeString(HKEY_CURRENT_USER, "Software", "New", "value"));
        EXPECT_EQ(registry::damagedHives(),
                  (std::vector<DamagedHive>{{file, {0, pipe ? "it is a pipe" : "it is a folder"}}}));
    }
}

TEST(Registry, AFailedWriteLeavesTheHiveAsItWas) {
    ScopedRegistry registry;
    ASSERT_TRUE(registry::writeString(HKEY_CURRENT_USER, "Software\\Maker", "Kept", "yes"));
    const std::string file = registry::hiveFilePath(HKEY_CURRENT_USER);
    const std::string before = readFile(file);
    {
        sysutils::ScopedFileFault full(sysutils::FileFault::Write, 10);
        EXPECT_FALSE(registry::writeString(HKEY_CURRENT_USER, "Software\\Maker", "New", "value"));
    }
    EXPECT_EQ(readFile(file), before);
    EXPECT_EQ(testing_support::everythingIn(registry.folder().path()),
              (std::set<std::string>{"current_user.reg", "current_user.reg.lock"}));
    EXPECT_EQ(registry::readString(HKEY_CURRENT_USER, "Software\\Maker", "New"), std::nullopt);
}

TEST(Registry, ProcessesWritingAtOnceLoseNothing) {
    ScopedRegistry registry;
    constexpr int processes = 6;
    constexpr int valuesEach = 15;
    std::vector<pid_t> children;
    for (int p = 0; p < processes; ++p) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            bool ok = true;
            for (int v = 0; v < valuesEach; ++v)
                ok = registry::writeString(HKEY_LOCAL_MACHINE, "Software\\Shared\\P" + std::to_string(p),
                                           "V" + std::to_string(v), std::to_string(p * 100 + v)) &&
                     ok;
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int p = 0; p < processes; ++p)
        for (int v = 0; v < valuesEach; ++v)
            EXPECT_EQ(registry::readString(HKEY_LOCAL_MACHINE, "Software\\Shared\\P" + std::to_string(p),
                                           "V" + std::to_string(v)),
                      std::to_string(p * 100 + v));
}

}  // namespace
