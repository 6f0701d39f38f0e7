#include "LayerFixtures.h"

#include <cpl_string.h>
#include <cpl_vsi.h>
#include <gdal.h>
#include <ogr_srs_api.h>
#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string_view>

#include "support/TestFiles.h"

namespace testing_support {
namespace {

[[noreturn]] void refuse(const std::string& what) { throw std::runtime_error("OGR refused to " + what); }

// The vector driver that writes files with the extension given.
GDALDriverH vectorDriverFor(const std::string& extension) {
    for (int k = 0; k < GDALGetDriverCount(); ++k) {
        GDALDriverH driver = GDALGetDriver(k);
        const char* vector = GDALGetMetadataItem(driver, GDAL_DCAP_VECTOR, nullptr);
        const char* creates = GDALGetMetadataItem(driver, GDAL_DCAP_CREATE, nullptr);
        const char* extensions = GDALGetMetadataItem(driver, GDAL_DMD_EXTENSIONS, nullptr);
        if (vector == nullptr || creates == nullptr || extensions == nullptr) continue;
        const std::string list = std::string(" ") + extensions + " ";
        if (list.find(" " + extension + " ") != std::string::npos) return driver;
    }
    return nullptr;
}

std::string fileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

void writeLayerAt(const std::string& path, const FixtureLayer& layer) {
    GDALAllRegister();
    GDALDriverH driver = vectorDriverFor(layer.format);
    if (driver == nullptr) refuse("find a driver for ." + layer.format);
    GDALDatasetH dataset = GDALCreate(driver, path.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    if (dataset == nullptr) refuse("create " + path);
    OGRSpatialReferenceH reference = nullptr;
    if (layer.epsg != 0) {
        reference = OSRNewSpatialReference(nullptr);
        OSRSetAxisMappingStrategy(reference, OAMS_TRADITIONAL_GIS_ORDER);
        if (OSRImportFromEPSG(reference, layer.epsg) != OGRERR_NONE) refuse("know EPSG " + std::to_string(layer.epsg));
    }
    OGRLayerH created = GDALDatasetCreateLayer(dataset, layer.layerName.c_str(), reference, layer.geometryType, nullptr);
    if (reference != nullptr) OSRRelease(reference);
    if (created == nullptr) refuse("create the layer " + layer.layerName);
    for (const FixtureField& field : layer.fields) {
        OGRFieldDefnH definition = OGR_Fld_Create(field.name.c_str(), field.type);
        OGR_Fld_SetSubType(definition, field.subtype);
        OGR_Fld_SetWidth(definition, field.width);
        OGR_Fld_SetPrecision(definition, field.precision);
        if (OGR_L_CreateField(created, definition, TRUE) != OGRERR_NONE) refuse("create the field " + field.name);
        OGR_Fld_Destroy(definition);
    }
    for (const FixtureFeature& feature : layer.features) {
        OGRFeatureH row = OGR_F_Create(OGR_L_GetLayerDefn(created));
        for (std::size_t k = 0; k < feature.values.size(); ++k) {
            if (feature.values[k]) {
                OGR_F_SetFieldString(row, static_cast<int>(k), feature.values[k]->c_str());
            } else {
                OGR_F_SetFieldNull(row, static_cast<int>(k));
            }
        }
        if (!feature.wkt.empty()) {
            OGRGeometryH geometry = nullptr;
            char* text = const_cast<char*>(feature.wkt.c_str());
            if (OGR_G_CreateFromWkt(&text, nullptr, &geometry) != OGRERR_NONE) refuse("read " + feature.wkt);
            OGR_F_SetGeometryDirectly(row, geometry);
        }
        if (OGR_L_CreateFeature(created, row) != OGRERR_NONE) refuse("write a feature");
        OGR_F_Destroy(row);
    }
    GDALClose(dataset);
}

}  // namespace

std::string writeThroughMemory(const std::string& path, const std::function<void(const std::string& folder)>& write) {
    static std::atomic<int> made{0};
    const std::string memory = "/vsimem/fixture" + std::to_string(++made);
    write(memory);
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    char** names = VSIReadDir(memory.c_str());
    for (char** name = names; name != nullptr && *name != nullptr; ++name) {
        vsi_l_offset size = 0;
        const GByte* bytes = VSIGetMemFileBuffer((memory + "/" + *name).c_str(), &size, /*bUnlinkAndSeize=*/FALSE);
        if (bytes != nullptr)
            writeFile((folder / *name).string(),
                      std::string_view(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size)));
    }
    CSLDestroy(names);
    VSIRmdirRecursive(memory.c_str());
    return path;
}

std::string writeLayer(const std::string& path, const FixtureLayer& layer) {
    return writeThroughMemory(path, [&](const std::string& folder) { writeLayerAt(folder + "/" + fileName(path), layer); });
}

std::string writeRaster(const std::string& path) {
    return writeThroughMemory(path, [&](const std::string& folder) {
        GDALAllRegister();
        GDALDriverH driver = GDALGetDriverByName("GTiff");
        if (driver == nullptr) refuse("find the driver GTiff");
        GDALDatasetH dataset = GDALCreate(driver, (folder + "/" + fileName(path)).c_str(), 2, 2, 1, GDT_Float32, nullptr);
        if (dataset == nullptr) refuse("create " + path);
        GDALClose(dataset);
    });
}

void editDatabase(const std::string& path, const std::string& statements) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    sqlite3* database = nullptr;
    if (sqlite3_open(":memory:", &database) != SQLITE_OK) throw std::runtime_error("cannot open a database in memory");
    auto* copy = static_cast<unsigned char*>(sqlite3_malloc64(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), copy);
    const auto size = static_cast<sqlite3_int64>(bytes.size());
    char* error = nullptr;
    const bool edited =
        sqlite3_deserialize(database, "main", copy, size, size,
                            SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE) == SQLITE_OK &&
        sqlite3_exec(database, statements.c_str(), nullptr, nullptr, &error) == SQLITE_OK;
    const std::string why = error != nullptr ? error : sqlite3_errmsg(database);
    sqlite3_free(error);
    sqlite3_int64 editedSize = 0;
    unsigned char* result = edited ? sqlite3_serialize(database, "main", &editedSize, 0) : nullptr;
    sqlite3_close(database);
    if (result == nullptr) throw std::runtime_error("cannot edit " + path + ": " + why);
    writeFile(path, std::string_view(reinterpret_cast<const char*>(result), static_cast<std::size_t>(editedSize)));
    sqlite3_free(result);
}

std::string squareWkt(double x, double y, double side) {
    char text[256];
    std::snprintf(text, sizeof text, "POLYGON ((%.17g %.17g,%.17g %.17g,%.17g %.17g,%.17g %.17g,%.17g %.17g))", x, y,
                  x + side, y, x + side, y + side, x, y + side, x, y);
    return text;
}

}  // namespace testing_support
