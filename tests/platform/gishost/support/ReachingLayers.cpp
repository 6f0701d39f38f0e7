#include "ReachingLayers.h"

#include <cpl_vsi.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "LayerFixtures.h"
#include "support/TestFiles.h"

namespace testing_support {
namespace {

std::string endsOf(const std::string& path) { return std::filesystem::path(path).filename().string(); }

std::string virtualLayer(const std::string& source, bool relative) {
    return std::string("<OGRVRTDataSource><OGRVRTLayer name=\"x\"><SrcDataSource relativeToVRT=\"") +
           (relative ? "1" : "0") + "\">" + source + "</SrcDataSource></OGRVRTLayer></OGRVRTDataSource>";
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Writes `bytes` as the file `inside` of the archive that `prefix` ("/vsizip/",
// "/vsigzip/") makes at `path`, through GDAL's memory files.
void writeArchive(const std::string& path, const std::string& prefix, const std::string& inside,
                  const std::string& bytes) {
    writeThroughMemory(path, [&](const std::string& folder) {
        const std::string virtualPath = prefix + folder + "/" + endsOf(path) + inside;
        VSILFILE* file = VSIFOpenL(virtualPath.c_str(), "wb");
        if (file == nullptr) throw std::runtime_error("cannot create " + virtualPath);
        const bool written = VSIFWriteL(bytes.data(), 1, bytes.size(), file) == bytes.size();
        if (VSIFCloseL(file) != 0 || !written) throw std::runtime_error("cannot write " + virtualPath);
    });
}

// A tar archive of one file, in the ustar layout.
std::string tarOf(const std::string& name, const std::string& bytes) {
    std::array<char, 512> header{};
    const auto put = [&](std::size_t at, const std::string& text) { text.copy(header.data() + at, text.size()); };
    char number[16];
    put(0, name);
    put(100, "0000644");
    put(108, "0000000");
    put(116, "0000000");
    std::snprintf(number, sizeof number, "%011o", static_cast<unsigned>(bytes.size()));
    put(124, number);
    put(136, "00000000000");
    header[156] = '0';
    put(257, "ustar");
    put(263, "00");
    std::fill(header.begin() + 148, header.begin() + 156, ' ');
    unsigned sum = 0;
    for (const char c : header) sum += static_cast<unsigned char>(c);
    std::snprintf(number, sizeof number, "%06o", sum);
    put(148, number);
    header[154] = '\0';
    std::string archive(header.data(), header.size());
    archive += bytes;
    archive.append((512 - bytes.size() % 512) % 512, '\0');
    archive.append(1024, '\0');
    return archive;
}

}  // namespace

const std::vector<std::string>& reachedFileNames() {
    static const std::vector<std::string> names{"src.gpkg", "src.geojson", "src.zip", "src.tar", "src.geojson.gz"};
    return names;
}

void writeReachedFile(const std::string& path) {
    const std::string name = endsOf(path);
    const std::string folder = std::filesystem::path(path).parent_path().string();
    FixtureLayer layer{"geojson", "x", wkbPoint, 0, {}, {{"POINT (1 2)", {}}}};
    if (name == "src.gpkg") {
        layer.format = "gpkg";
        writeLayer(path, layer);
        return;
    }
    const std::string geojson = folder + "/plain.geojson";
    if (!std::filesystem::exists(geojson)) writeLayer(geojson, layer);
    const std::string bytes = readText(geojson);
    if (name == "src.geojson") writeFile(path, bytes);
    else if (name == "src.zip") writeArchive(path, "/vsizip/", "/src.geojson", bytes);
    else if (name == "src.geojson.gz") writeArchive(path, "/vsigzip/", "", bytes);
    else if (name == "src.tar") writeFile(path, tarOf("src.geojson", bytes));
    else throw std::runtime_error("no such reached file: " + name);
}

std::vector<ReachingLayer> layersReaching(const std::string& folder,
                                          const std::function<void(const std::string& path)>& makeReached) {
    const auto in = [&](const std::string& name) { return folder + "/" + name; };
    for (const std::string& name : reachedFileNames()) makeReached(in(name));
    const std::string gpkg = in("src.gpkg");
    const std::string geojson = in("src.geojson");
    writeFile(in("absolute.vrt"), virtualLayer(gpkg, false));
    writeFile(in("relative.vrt"), virtualLayer("src.gpkg", true));
    writeFile(in("twice.vrt"), virtualLayer(in("absolute.vrt"), false));
    std::filesystem::create_symlink(in("absolute.vrt"), in("alias.vrt"));
    std::filesystem::create_symlink(in("src.zip"), in("shortcut.zip"));
    const std::string size = std::to_string(std::filesystem::is_regular_file(geojson)
                                                ? std::filesystem::file_size(geojson)
                                                : 1000);
    return {
        {"a virtual layer's source by its full path", in("absolute.vrt"), gpkg},
        {"a virtual layer's source relative to it", in("relative.vrt"), gpkg},
        {"a virtual layer of a virtual layer", in("twice.vrt"), gpkg},
        {"a symbolic link to a virtual layer", in("alias.vrt"), gpkg},
        {"a file in a zip archive", "/vsizip/" + in("src.zip") + "/src.geojson", in("src.zip")},
        {"a file in a zip archive reached by a symbolic link", "/vsizip/" + in("shortcut.zip") + "/src.geojson",
         in("shortcut.zip")},
        {"a gzip file", "/vsigzip/" + in("src.geojson.gz"), in("src.geojson.gz")},
        {"a file in a tar archive", "/vsitar/" + in("src.tar") + "/src.geojson", in("src.tar")},
        {"a slice of a file", "/vsisubfile/0_" + size + "," + geojson, geojson},
        {"a GeoPackage's layer named with its driver", "GPKG:" + gpkg + ":x", gpkg},
        {"a GeoPackage by a database address that names SQLite's file layer",
         "SQLite:file:" + gpkg + "?vfs=unix", gpkg},
        {"a GeoPackage by a database address that names another of SQLite's file layers",
         "SQLite:file:" + gpkg + "?vfs=unix-dotfile", gpkg},
    };
}

}  // namespace testing_support
