// Reads the input as a host map document, from text and from a file. A refusal with its
// reason is the expected answer to a bad document; a crash, a hang, a refusal without a
// line inside the document, or a document read that breaks the format's promises (empty
// names or sources, relative sources, groups deeper than the limit) is a finding.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzInput.h"
#include "gishost/app/MapDocument.h"

namespace {

using gishost::app::MapDocument;
using gishost::app::MapDocumentLayer;

void check(const std::vector<MapDocumentLayer>& layers, std::size_t depth) {
    if (depth > gishost::app::mapDocumentMaxGroupDepth) std::abort();
    for (const MapDocumentLayer& layer : layers) {
        if (layer.name.empty()) std::abort();
        if (layer.kind == MapDocumentLayer::Kind::Group) {
            if (!layer.source.empty()) std::abort();
            check(layer.layers, depth + 1);
        } else if (layer.source.empty() || layer.source.front() != '/' || !layer.layers.empty()) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > fuzzing::maxInputSize) return -1;
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string fromText;
    try {
        const MapDocument document = gishost::app::parseMapDocument(text, "/maps");
        if (document.mapName.empty()) std::abort();
        check(document.layers, 0);
        fromText = "read";
    } catch (const gishost::app::MapDocumentError& error) {
        std::size_t lines = 1;
        for (const char c : text) lines += c == '\n' ? 1 : 0;
        if (error.line() > lines || (error.line() == 0 && !text.empty())) std::abort();
        fromText = error.what();
    }
    const std::string path = fuzzing::writeInputFile("map.gmap", text);
    std::string fromFile;
    try {
        gishost::app::readMapDocument(path);
        fromFile = "read";
    } catch (const gishost::app::MapDocumentError& error) {
        fromFile = error.what();
    }
    if (fromFile != fromText) std::abort();
    return 0;
}
