#pragma once
// The host's map document: a small text file that lists a map's layers by name and data
// source, with group layers that hold further layers. The format, one item a line:
//
//   gishost map document 1
//   # a comment
//   map<TAB>Habitat patches
//   layer<TAB>Patches<TAB>patches.gpkg<TAB>patches
//   group<TAB>Surroundings
//   layer<TAB>Roads<TAB>/data/roads.shp
//   end
//
// The first line is exactly the header above. Then, in any number: empty lines, comment
// lines (starting with "#"), and items whose fields are separated by one tab each:
//   map    NAME                      the map's name (at most once, before any layer)
//   layer  NAME  SOURCE  [LAYER]     a feature layer: the vector data source, and the
//                                    layer in it (its first layer when left out)
//   group  NAME                      a group layer, holding the items up to its "end"
//   end                              closes the latest open group
// Names and sources are taken as written and must not be empty. A relative source is
// taken from the document's folder; a name that GDAL reads in its own way (a /vsizip/
// path, "GPKG:FILE:LAYER") is kept as written. Lines end with LF or CR LF; the text is
// UTF-8 and holds no other control characters. Anything else is refused with the line's
// number.
#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace gishost::app {

struct MapDocumentLayer {
    enum class Kind { Feature, Group };

    Kind kind = Kind::Feature;
    std::string name;
    std::string source;                    // a feature layer's data source: a full path, or a
                                           // name GDAL reads in its own way (/vsizip/...)
    std::string layerName;                 // the layer in the source; empty: its first
    std::vector<MapDocumentLayer> layers;  // a group's layers

    bool operator==(const MapDocumentLayer&) const = default;
};

struct MapDocument {
    std::string mapName = "Layers";
    std::vector<MapDocumentLayer> layers;

    bool operator==(const MapDocument&) const = default;
};

// Why a document was refused; `line` is 0 when the file as a whole could not be read.
class MapDocumentError : public std::runtime_error {
public:
    MapDocumentError(std::size_t line, const std::string& message);
    std::size_t line() const { return line_; }

private:
    std::size_t line_;
};

inline constexpr std::string_view mapDocumentHeader = "gishost map document 1";
// Limits that keep a hostile document from costing more than a real one ever needs.
inline constexpr std::size_t mapDocumentMaxBytes = 1 << 20;
inline constexpr std::size_t mapDocumentMaxGroupDepth = 16;

// The document in `text`, its relative sources taken from `folder`.
MapDocument parseMapDocument(std::string_view text, const std::filesystem::path& folder);

// The document in the file at `path`.
MapDocument readMapDocument(const std::filesystem::path& path);

}  // namespace gishost::app
