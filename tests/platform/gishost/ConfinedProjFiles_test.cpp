// The projection library confined with GDAL: a layer whose coordinate system names an
// init file or a grid opens when the file is a real one and is refused, naming it, when
// it is a pipe; the library's database on a pipe is refused; every context the library
// makes reads nothing from the network, whatever the environment says.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <proj.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "ModelRefusals.h"
#include "ProjectionLayers.h"
#include "gishost/model/Gdal.h"
#include "gishost/model/HostModel.h"
#include "support/TestFiles.h"

namespace {

using namespace gishost;
using testing_support::refusalOf;
using testing_support::TemporaryFolder;

TEST(ConfinedProjFiles, OpensLayersWhoseCoordinateSystemNamesARealFile) {
    TemporaryFolder folder;
    const auto layers =
        testing_support::layersNamingProjectionFiles(folder.path().string(), testing_support::writeProjectionFile);
    for (const auto& layer : layers) {
        EXPECT_EQ(refusalOf(layer.source), "opened") << layer.kind;
        const com::ComPtr<IFeatureClass> featureClass = model::openFeatureLayer(layer.source)->FeatureClass();
        ASSERT_TRUE(featureClass) << layer.kind;
        EXPECT_EQ(featureClass->FeatureCount(nullptr), 1) << layer.kind;
        // The coordinate system was read from the file it names: longitude and latitude.
        const com::ComPtr<ISpatialReference> reference =
            featureClass.as<IGeoDataset>()->SpatialReference();
        EXPECT_TRUE(reference.tryAs<IGeographicCoordinateSystem>()) << layer.kind;
    }
}

TEST(ConfinedProjFiles, RefusesLayersWhoseCoordinateSystemNamesAPipeAndNamesThePipe) {
    TemporaryFolder folder;
    // Every reader finds a writer, so that a library that opens a pipe fails instead of waiting.
    std::vector<std::unique_ptr<testing_support::NamedPipe>> pipes;
    const auto layers = testing_support::layersNamingProjectionFiles(folder.path().string(), [&](const std::string& path) {
        pipes.push_back(std::make_unique<testing_support::NamedPipe>(path, "", /*everyReader=*/true));
    });
    // Each layer is opened once: the library remembers a grid it was refused as missing,
    // and takes an optional grid that is missing as absent from then on.
    for (const auto& layer : layers) {
        const std::string expected =
            layer.reached.empty() ? "opened" : "it reads " + layer.reached + ", which is a pipe";
        EXPECT_EQ(refusalOf(layer.source), expected) << layer.kind;
    }
}

TEST(ConfinedProjFiles, RefusesADatabaseThatIsAPipe) {
    TemporaryFolder folder;
    const testing_support::NamedPipe pipe(folder.pathOf("proj.db"), "", /*everyReader=*/true);
    model::gdal::registerDrivers();
    PJ_CONTEXT* context = proj_context_create();
    ASSERT_NE(context, nullptr);
    model::gdal::ErrorScope scope;
    EXPECT_FALSE(proj_context_set_database_path(context, pipe.path().c_str(), nullptr, nullptr));
    EXPECT_EQ(scope.message(), "it reads " + pipe.path() + ", which is a pipe");
    proj_context_destroy(context);
}

// A listening socket on this machine, to see whether anything connected to it.
class Listener {
public:
    Listener() : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::bind(socket_, reinterpret_cast<sockaddr*>(&address), size) != 0 || ::listen(socket_, 4) != 0 ||
            ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            throw std::runtime_error("cannot listen");
        port_ = ntohs(address.sin_port);
    }
    ~Listener() { ::close(socket_); }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    std::string url(const std::string& file) const { return "http://127.0.0.1:" + std::to_string(port_) + "/" + file; }
    bool connected() const {
        pollfd waiting{socket_, POLLIN, 0};
        return ::poll(&waiting, 1, 0) > 0;
    }

private:
    int socket_;
    int port_ = 0;
};

TEST(ConfinedProjFiles, ReadsNothingFromTheNetworkWhateverTheEnvironmentSays) {
    model::gdal::registerDrivers();
    ::setenv("PROJ_NETWORK", "ON", 1);
    PJ_CONTEXT* context = proj_context_create();
    ASSERT_NE(context, nullptr);
    EXPECT_FALSE(proj_context_is_network_enabled(context));
    EXPECT_FALSE(proj_context_is_network_enabled(nullptr));
    ::unsetenv("PROJ_NETWORK");
    // Even where networking is turned on afterwards, a grid on a server is not fetched.
    const Listener server;
    proj_context_set_enable_network(context, 1);
    PJ* shift = proj_create(context, ("+proj=hgridshift +grids=" + server.url("grid.tif")).c_str());
    EXPECT_EQ(shift, nullptr);
    EXPECT_FALSE(server.connected());
    if (shift != nullptr) proj_destroy(shift);
    proj_context_destroy(context);
}

}  // namespace
