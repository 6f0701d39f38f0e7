#include "gishost/model/GdalConfinement.h"

#include <cpl_conv.h>
#include <cpl_http.h>
#include <cpl_string.h>
#include <gdal.h>

#include <algorithm>
#include <mutex>

#include "gishost/model/ConfinedGdalFiles.h"
#include "gishost/model/ConfinedProjFiles.h"
#include "gishost/model/ConfinedSqliteFiles.h"

namespace gishost::model::gdal {
namespace {

// GDAL's own network requests (such as the download of a document's schema) fail at
// once: the host reads local files only.
CPLHTTPResult* refuseNetworkRequest(const char*, CSLConstList options, GDALProgressFunc, void*,
                                    CPLHTTPFetchWriteFunc, void*, void*) {
    auto* result = static_cast<CPLHTTPResult*>(CPLCalloc(1, sizeof(CPLHTTPResult)));
    // A request only to close persistent connections asks for nothing.
    if (CSLFetchNameValue(options, "CLOSE_PERSISTENT") != nullptr) return result;
    result->nStatus = 1;
    result->pszErrBuf = CPLStrdup("the host reads no data from the network");
    return result;
}

void keepOnlyPermittedDrivers() {
    const std::vector<std::string>& permitted = permittedDrivers();
    std::string skipped;
    for (int k = GDALGetDriverCount() - 1; k >= 0; --k) {
        GDALDriverH driver = GDALGetDriver(k);
        const std::string name = GDALGetDriverShortName(driver);
        if (std::find(permitted.begin(), permitted.end(), name) != permitted.end()) continue;
        GDALDeregisterDriver(driver);
        GDALDestroyDriver(driver);
        skipped += (skipped.empty() ? "" : ",") + name;
    }
    // A later GDALAllRegister (a test's or a tool's) leaves them out again.
    if (!skipped.empty()) CPLSetConfigOption("GDAL_SKIP", skipped.c_str());
}

// The settings by which the kept drivers would bring in a library that reads files, or
// runs code, by itself; each is fixed here, whatever the user's environment says.
void keepOutLibrariesThatOpenFilesThemselves() {
    // The spatial extension of the SQLite-based drivers: its virtual tables (a shapefile,
    // a text or a dBASE file seen as a table) read the file they name with their own calls.
    CPLSetConfigOption("SPATIALITE_LOAD", "NO");
    // The GML driver reads with expat, which parses what GDAL hands it, not with the other
    // XML parser GDAL has, which can fetch what a document refers to by itself.
    CPLSetConfigOption("GML_PARSER", "EXPAT");
    // A virtual raster's pixel functions written in Python: the interpreter does as it likes.
    CPLSetConfigOption("GDAL_VRT_ENABLE_PYTHON", "NO");
    // The check of a virtual layer against GDAL's schema for it, which only warns: the XML
    // library that makes it reads the schema, and what the schema refers to, by itself.
    CPLSetConfigOption("GDAL_XML_VALIDATION", "NO");
}

// GDAL waits a second between two geocoding requests of its SQLite dialect, to spare the
// service; the host makes no request, so the wait would only hold the reading of a layer
// that geocodes each of its features.
void waitForNoService() { CPLSetConfigOption("OGR_GEOCODE_DELAY", "0"); }

}  // namespace

const std::vector<std::string>& permittedDrivers() {
    static const std::vector<std::string> drivers{
        // vector data: the kinds the host's Add Data offers, and the virtual layer
        "ESRI Shapefile", "GPKG", "SQLite", "GeoJSON", "GeoJSONSeq", "ESRIJSON", "TopoJSON", "FlatGeobuf", "GML",
        "LIBKML", "KML", "CSV", "MapInfo File", "OGR_VRT", "Memory",
        // rasters (raster and surface layers) and GDAL's in-memory and virtual rasters
        "GTiff", "VRT", "MEM"};
    return drivers;
}

const std::vector<std::string>& permittedFileSystems() {
    static const std::vector<std::string> fileSystems{"/vsimem/",    "/vsizip/",    "/vsigzip/", "/vsitar/",
                                                      "/vsisubfile/", "/vsisparse/", "/vsicrypt/"};
    return fileSystems;
}

void confine() {
    static std::once_flag once;
    std::call_once(once, [] {
        confineProjFiles();
        confineSqliteFiles();
        GDALAllRegister();
        keepOnlyPermittedDrivers();
        confineGdalFiles(permittedFileSystems());
        keepOutLibrariesThatOpenFilesThemselves();
        CPLHTTPSetFetchCallback(refuseNetworkRequest, nullptr);
        waitForNoService();
    });
}

}  // namespace gishost::model::gdal
