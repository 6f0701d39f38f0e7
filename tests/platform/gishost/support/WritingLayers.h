#pragma once
// Layers whose reading would write a file if GDAL and SQLite let it: a GeoPackage's
// statements run at opening (PRELUDE_STATEMENTS) or closing (CLOSING_STATEMENTS), a
// virtual layer's SQL in either dialect (VACUUM INTO, ATTACH, a function of GDAL's SQLite
// dialect that keeps a cache), a side file a driver writes (a GML file's schema), and
// GeoPackages in write-ahead-log mode, which SQLite and GDAL would tidy.
#include <map>
#include <string>
#include <vector>

namespace testing_support {

struct WritingLayer {
    std::string kind;     // what the case shows
    std::string source;   // the data source to open
    std::string refusal;  // why the host refuses it, or empty when it opens
    int features = 0;     // the features read when it opens
};

// Every kind of layer, with the files it reads, in `folder`.
std::vector<WritingLayer> layersThatWouldWrite(const std::string& folder);

// The files below `folder` by path relative to it, with their bytes.
std::map<std::string, std::string> filesIn(const std::string& folder);

// What differs between two such listings: "made x", "changed y", "removed z", one per
// line; empty when they are the same.
std::string differences(const std::map<std::string, std::string>& before,
                        const std::map<std::string, std::string>& after);

// Watches a folder (not its subfolders) for every change made in it while it lives,
// even one undone at once (a file made and deleted again).
class FolderWatch {
public:
    explicit FolderWatch(const std::string& folder);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // The changes since the last call, as "made x", "wrote x", "removed x", "renamed x",
    // "changed the attributes of x", one per line; empty when there were none.
    std::string changes();

private:
    int watch_;
};

}  // namespace testing_support
