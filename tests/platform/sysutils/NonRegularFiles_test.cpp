// Which paths the readers refuse before opening them: pipes (through a link too),
// devices and sockets; files, folders and paths that name nothing are the opener's.
#include "sysutils/NonRegularFiles.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "support/TestFiles.h"

namespace {

TEST(NonRegularFiles, ArePipesDevicesAndSocketsButNotFilesOrFolders) {
    testing_support::TemporaryFolder folder;
    const testing_support::NamedPipe pipe(folder.pathOf("layer.shp"), "");
    std::filesystem::create_symlink(pipe.path(), folder.pathOf("link.shp"));
    std::filesystem::create_directory(folder.pathOf("shapefiles"));
    const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(listening, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = folder.pathOf("socket");
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, socketPath.c_str());
    ASSERT_EQ(::bind(listening, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);

    const struct Case {
        std::string path;
        std::optional<std::string> reason;
    } cases[] = {
        {pipe.path(), "it is a pipe"},
        {folder.pathOf("link.shp"), "it is a pipe"},
        {"/dev/null", "it is a character device"},
        {socketPath, "it is a socket"},
        {folder.write("patches.shp", "a file"), std::nullopt},
        {folder.pathOf("shapefiles"), std::nullopt},
        {folder.pathOf("missing.shp"), std::nullopt},
    };
    for (const Case& test : cases) EXPECT_EQ(sysutils::nonRegularFileReason(test.path), test.reason) << test.path;
    ::close(listening);
}

}  // namespace
