#include "gishost/app/MapDocument.h"

#include <cstdint>
#include <fstream>
#include <iterator>

#include "gishost/model/Gdal.h"
#include "sysutils/NonRegularFiles.h"

namespace gishost::app {
namespace {

// True when `text` is well-formed UTF-8 without control characters (tabs aside).
bool isCleanText(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            if ((byte < 0x20 && byte != '\t') || byte == 0x7F) return false;
            ++i;
            continue;
        }
        std::size_t length = 0;
        std::uint32_t code = 0;
        if ((byte & 0xE0) == 0xC0) {
            length = 2;
            code = byte & 0x1F;
        } else if ((byte & 0xF0) == 0xE0) {
            length = 3;
            code = byte & 0x0F;
        } else if ((byte & 0xF8) == 0xF0) {
            length = 4;
            code = byte & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points past the last one are not UTF-8.
        const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        if (code >= 0x80 && code < 0xA0) return false;  // the C1 control characters
        i += length;
    }
    return true;
}

std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

class Parser {
public:
    explicit Parser(std::filesystem::path folder) : folder_(std::move(folder)) { open_.push_back(&document_.layers); }

    MapDocument parse(std::string_view text) {
        if (text.size() > mapDocumentMaxBytes)
            throw MapDocumentError(0, "the document is larger than " + std::to_string(mapDocumentMaxBytes) + " bytes");
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = text.find('\n', start);
            std::string_view line =
                text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            ++number_;
            item(line);
            if (end == std::string_view::npos) break;
            start = end + 1;
        }
        if (number_ == 0) throw MapDocumentError(0, "the document is empty");
        if (open_.size() > 1) throw MapDocumentError(groupLines_.back(), "the group is not closed by \"end\"");
        return std::move(document_);
    }

private:
    [[noreturn]] void fail(const std::string& message) const { throw MapDocumentError(number_, message); }

    void item(std::string_view line) {
        if (!isCleanText(line)) fail("the line is not UTF-8 text without control characters");
        if (number_ == 1) {
            if (line != mapDocumentHeader)
                fail("the document does not start with \"" + std::string(mapDocumentHeader) + "\"");
            return;
        }
        if (line.empty() || line.front() == '#') return;
        const std::vector<std::string_view> fields = fieldsOf(line);
        const std::string_view keyword = fields.front();
        if (keyword == "map") {
            expectFields(fields, 2, 2, "map NAME");
            if (seenMap_) fail("the map is named twice");
            if (seenLayer_) fail("the map is named after its first layer");
            seenMap_ = true;
            document_.mapName = requireText(fields[1], "name");
        } else if (keyword == "layer") {
            expectFields(fields, 3, 4, "layer NAME SOURCE [LAYER]");
            MapDocumentLayer layer;
            layer.name = requireText(fields[1], "name");
            layer.source = fullPath(requireText(fields[2], "data source"));
            if (fields.size() == 4) layer.layerName = requireText(fields[3], "layer in the source");
            add(std::move(layer));
        } else if (keyword == "group") {
            expectFields(fields, 2, 2, "group NAME");
            if (open_.size() > mapDocumentMaxGroupDepth)
                fail("groups are nested deeper than " + std::to_string(mapDocumentMaxGroupDepth));
            MapDocumentLayer group;
            group.kind = MapDocumentLayer::Kind::Group;
            group.name = requireText(fields[1], "name");
            open_.push_back(&add(std::move(group)).layers);
            groupLines_.push_back(number_);
        } else if (keyword == "end") {
            expectFields(fields, 1, 1, "end");
            if (open_.size() == 1) fail("\"end\" closes no group");
            open_.pop_back();
            groupLines_.pop_back();
        } else {
            fail("unknown item \"" + std::string(keyword) + "\" (expected map, layer, group or end)");
        }
    }

    void expectFields(const std::vector<std::string_view>& fields, std::size_t least, std::size_t most,
                      const char* form) const {
        if (fields.size() < least || fields.size() > most)
            fail(std::string("expected \"") + form + "\" with its fields separated by single tabs");
    }

    std::string requireText(std::string_view field, const char* what) const {
        if (field.find_first_not_of(' ') == std::string_view::npos) fail(std::string("the ") + what + " is empty");
        return std::string(field);
    }

    std::string fullPath(const std::string& source) const {
        if (model::gdal::isVirtualSource(source)) return source;
        const std::filesystem::path path(source);
        return (path.is_absolute() ? path : folder_ / path).lexically_normal().string();
    }

    MapDocumentLayer& add(MapDocumentLayer layer) {
        seenLayer_ = true;
        open_.back()->push_back(std::move(layer));
        return open_.back()->back();
    }

    std::filesystem::path folder_;
    MapDocument document_;
    // The layer lists being filled: the map's, then each open group's. Pointers stay valid
    // because a list only grows while it is the last one open.
    std::vector<std::vector<MapDocumentLayer>*> open_;
    std::vector<std::size_t> groupLines_;
    std::size_t number_ = 0;
    bool seenMap_ = false;
    bool seenLayer_ = false;
};

}  // namespace

MapDocumentError::MapDocumentError(std::size_t line, const std::string& message)
    : std::runtime_error(line == 0 ? message : "line " + std::to_string(line) + ": " + message), line_(line) {}

MapDocument parseMapDocument(std::string_view text, const std::filesystem::path& folder) {
    return Parser(folder).parse(text);
}

MapDocument readMapDocument(const std::filesystem::path& path) {
    std::error_code error;
    if (const std::optional<std::string> special = sysutils::nonRegularFileReason(path.string()))
        throw MapDocumentError(0, *special);
    if (!std::filesystem::is_regular_file(path, error)) throw MapDocumentError(0, "there is no file " + path.string());
    std::ifstream file(path, std::ios::binary);
    if (!file) throw MapDocumentError(0, "the file " + path.string() + " cannot be opened");
    std::string text;
    text.resize(mapDocumentMaxBytes + 1);
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (file.bad()) throw MapDocumentError(0, "the file " + path.string() + " cannot be read");
    text.resize(static_cast<std::size_t>(file.gcount()));
    const std::filesystem::path folder = std::filesystem::absolute(path, error).parent_path();
    return parseMapDocument(text, folder);
}

}  // namespace gishost::app
