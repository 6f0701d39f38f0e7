// Names of geometry types and the path of the open map document.
#include <map>

#include "gis_toolkit/ErrorHandler.h"
#include "gis_toolkit/aml_func_mod.h"

namespace gis_toolkit::aml_func_mod {
namespace {

const std::string module = "aml_func_mod";

}  // namespace

std::string ReturnShapeName(std::int32_t code) {
    static const std::map<std::int32_t, std::string> names = {
        {1, "Point"},        {2, "Multipoint"},      {3, "Polyline"},     {4, "Polygon"},
        {5, "Envelope"},     {6, "Path"},            {9, "Multipatch"},   {11, "Ring"},
        {13, "Line"},        {14, "Circular Arc"},   {15, "Bezier Curve"}, {16, "Elliptic Arc"},
        {17, "Geometry Bag"}, {18, "Triangle Strip"}, {19, "Triangle Fan"}, {20, "Ray"},
        {21, "Sphere"},      {22, "Triangles"},
    };
    std::string result;
    ErrorHandler handler("ReturnShapeName", module);
    handler.run([&] {
        const auto found = names.find(code);
        result = found != names.end() ? found->second : "Unknown Geometry";
    });
    return result;
}

std::string GetMxDocPath(const com::ComPtr<gishost::IApplication>& application) {
    std::string result;
    ErrorHandler handler("GetMxDocPath", module);
    handler.run([&] {
        const com::ComPtr<gishost::ITemplates> templates = application->Templates();
        result = templates->Item(templates->Count() - 1);
    });
    return result;
}

}  // namespace gis_toolkit::aml_func_mod
