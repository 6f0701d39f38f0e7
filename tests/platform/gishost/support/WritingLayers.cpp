#include "WritingLayers.h"

#include <spawn.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "LayerFixtures.h"
#include "support/TestFiles.h"

extern char** environ;

namespace testing_support {
namespace {

// Runs the program that puts a database in write-ahead-log mode (write_logged_database).
void writeLoggedDatabase(const std::string& database, const std::string& statements) {
    std::vector<std::string> arguments{LOGGED_DATABASE_WRITER, database};
    if (!statements.empty()) arguments.push_back(statements);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    int status = 0;
    if (posix_spawn(&child, LOGGED_DATABASE_WRITER, nullptr, nullptr, argv.data(), environ) != 0 ||
        ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("cannot put " + database + " in write-ahead-log mode");
}

std::string virtualLayer(const std::string& source, const std::string& inside) {
    return "<OGRVRTDataSource><OGRVRTLayer name=\"x\"><SrcDataSource>" + source + "</SrcDataSource>" + inside +
           "</OGRVRTLayer></OGRVRTDataSource>";
}

std::string openOption(const std::string& key, const std::string& value) {
    return "<OpenOptions><OOI key=\"" + key + "\">" + value + "</OOI></OpenOptions>";
}

}  // namespace

std::vector<WritingLayer> layersThatWouldWrite(const std::string& folder) {
    const auto in = [&](const std::string& name) { return folder + "/" + name; };
    const FixtureLayer points{"gpkg", "x", wkbPoint, 0, {{"ID", OFTInteger}}, {{"POINT (1 2)", {"1"}}}};
    const std::string database = writeLayer(in("src.gpkg"), points);
    writeLayer(in("x.shp"), {"shp", "x", wkbPoint, 0, {{"ID", OFTInteger}}, {{"POINT (1 2)", {"1"}}}});
    writeFile(in("prelude.vrt"),
              virtualLayer(database, openOption("PRELUDE_STATEMENTS", "VACUUM INTO '" + in("copy.gpkg") + "'")));
    writeFile(in("closing.vrt"),
              virtualLayer(database, openOption("CLOSING_STATEMENTS", "VACUUM INTO '" + in("copy.gpkg") + "'")));
    writeFile(in("attach.vrt"), virtualLayer(database, openOption("PRELUDE_STATEMENTS",
                                                                   "ATTACH '" + in("attached.db") +
                                                                       "' AS a; CREATE TABLE a.t(v)")));
    writeFile(in("vacuum.vrt"), virtualLayer(database, "<SrcSQL>VACUUM INTO '" + in("copy.gpkg") + "'</SrcSQL>"));
    writeFile(in("dialect.vrt"),
              virtualLayer(in("x.shp"), "<SrcSQL dialect=\"SQLITE\">VACUUM INTO '" + in("copy.db") + "'</SrcSQL>"));
    writeFile(in("geocode.vrt"),
              virtualLayer(in("x.shp"), "<SrcSQL dialect=\"SQLITE\">SELECT *, ogr_geocode('Paris') AS place FROM x"
                                        "</SrcSQL>"));
    writeFile(in("points.gml"),
              "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n"
              "<ogr:FeatureCollection xmlns:ogr=\"http://ogr.maptools.org/\" xmlns:gml=\"http://www.opengis.net/gml\">\n"
              "<gml:featureMember><ogr:x fid=\"x.0\"><ogr:geometryProperty><gml:Point><gml:coordinates>1,2"
              "</gml:coordinates></gml:Point></ogr:geometryProperty><ogr:ID>1</ogr:ID></ogr:x></gml:featureMember>\n"
              "</ogr:FeatureCollection>\n");
    const std::string logged = writeLayer(in("logged.gpkg"), points);
    writeLoggedDatabase(logged, "");
    const std::string unsaved = writeLayer(in("unsaved.gpkg"), points);
    writeLoggedDatabase(unsaved, "INSERT INTO x(geom, ID) SELECT geom, ID + 1 FROM x");
    return {
        {"a GeoPackage's statements at opening that copy it into a new file", in("prelude.vrt"),
         "it would write " + in("copy.gpkg")},
        {"a GeoPackage's statements at closing that copy it into a new file", in("closing.vrt"), "", 1},
        {"a GeoPackage's statements at opening that make a table in a new database", in("attach.vrt"),
         "sqlite3_exec(ATTACH '" + in("attached.db") + "' AS a; CREATE TABLE a.t(v)) failed: unable to open database: " +
             in("attached.db")},
        {"a virtual layer's SQL that copies its GeoPackage into a new file", in("vacuum.vrt"),
         "it would write " + in("copy.gpkg")},
        {"a virtual layer's SQL in GDAL's SQLite dialect that copies into a new file", in("dialect.vrt"),
         "it would write " + in("copy.db")},
        {"a virtual layer's SQL in GDAL's SQLite dialect that geocodes, keeping a cache", in("geocode.vrt"), "", 1},
        {"a GML file without a schema beside it", in("points.gml"), "", 1},
        {"a GeoPackage in write-ahead-log mode without its log", logged, "", 1},
        {"a GeoPackage whose log beside it holds a feature", unsaved, "", 2},
    };
}

std::map<std::string, std::string> filesIn(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        files[std::filesystem::relative(entry.path(), folder).string()] = bytes.str();
    }
    return files;
}

std::string differences(const std::map<std::string, std::string>& before,
                        const std::map<std::string, std::string>& after) {
    std::string listed;
    for (const auto& [name, bytes] : after) {
        const auto was = before.find(name);
        if (was == before.end()) listed += "made " + name + "\n";
        else if (was->second != bytes) listed += "changed " + name + "\n";
    }
    for (const auto& [name, bytes] : before)
        if (after.count(name) == 0) listed += "removed " + name + "\n";
    return listed;
}

FolderWatch::FolderWatch(const std::string& folder) : watch_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    constexpr std::uint32_t anyChange =
        IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB;
    if (watch_ < 0 || ::inotify_add_watch(watch_, folder.c_str(), anyChange) < 0)
        throw std::runtime_error("cannot watch " + folder);
}

FolderWatch::~FolderWatch() { ::close(watch_); }

std::string FolderWatch::changes() {
    std::string listed;
    alignas(inotify_event) char buffer[16384];
    for (ssize_t size; (size = ::read(watch_, buffer, sizeof buffer)) > 0;) {
        for (char* at = buffer; at < buffer + size;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            const std::string name = event->len > 0 ? event->name : "the folder";
            if (event->mask & IN_CREATE) listed += "made " + name + "\n";
            if (event->mask & (IN_MODIFY | IN_CLOSE_WRITE)) listed += "wrote " + name + "\n";
            if (event->mask & IN_DELETE) listed += "removed " + name + "\n";
            if (event->mask & (IN_MOVED_FROM | IN_MOVED_TO)) listed += "renamed " + name + "\n";
            if (event->mask & IN_ATTRIB) listed += "changed the attributes of " + name + "\n";
            at += sizeof(inotify_event) + event->len;
        }
    }
    return listed;
}

}  // namespace testing_support
