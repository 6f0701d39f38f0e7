#include "gis_extension/CommandBitmaps.h"

#include <array>

#include "com/Error.h"

namespace gis_extension {
namespace {

constexpr int side = 16;
constexpr std::size_t headerSize = 14 + 40;
constexpr std::size_t pixelBytes = std::size_t{side} * side * 3;  // rows of 48 bytes need no padding
constexpr std::size_t fileSize = headerSize + pixelBytes;

using Art = std::array<std::string_view, side>;
using BitmapFile = std::array<char, fileSize>;

struct Colour {
    char key;
    unsigned char red, green, blue;
};

constexpr Colour empty{'.', 255, 0, 255};

template <std::size_t N>
constexpr Colour colourOf(char key, const std::array<Colour, N>& palette) {
    for (const Colour& colour : palette)
        if (colour.key == key) return colour;
    return empty;
}

constexpr void putLittleEndian(BitmapFile& file, std::size_t at, std::uint32_t value, int bytes) {
    for (int k = 0; k < bytes; ++k) file[at + static_cast<std::size_t>(k)] = static_cast<char>((value >> (8 * k)) & 0xFF);
}

// A Windows bitmap file of the art: a file header, an information header, then the
// rows from the bottom up, each pixel as blue, green, red.
template <std::size_t N>
constexpr BitmapFile bitmapFile(const Art& art, const std::array<Colour, N>& palette) {
    BitmapFile file{};
    file[0] = 'B';
    file[1] = 'M';
    putLittleEndian(file, 2, fileSize, 4);
    putLittleEndian(file, 10, headerSize, 4);
    putLittleEndian(file, 14, 40, 4);    // information header size
    putLittleEndian(file, 18, side, 4);  // width
    putLittleEndian(file, 22, side, 4);  // height: positive, so the rows run bottom-up
    putLittleEndian(file, 26, 1, 2);     // planes
    putLittleEndian(file, 28, 24, 2);    // bits per pixel
    putLittleEndian(file, 30, 0, 4);     // no compression
    putLittleEndian(file, 34, pixelBytes, 4);
    putLittleEndian(file, 38, 2835, 4);  // 72 dots per inch
    putLittleEndian(file, 42, 2835, 4);
    std::size_t at = headerSize;
    for (int row = side - 1; row >= 0; --row) {
        for (int column = 0; column < side; ++column) {
            const Colour colour = colourOf(art[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)], palette);
            file[at++] = static_cast<char>(colour.blue);
            file[at++] = static_cast<char>(colour.green);
            file[at++] = static_cast<char>(colour.red);
        }
    }
    return file;
}

constexpr bool square(const Art& art) {
    for (std::string_view row : art)
        if (row.size() != side) return false;
    return true;
}

// A round grey button, lit from the upper left, with a black capital D.
constexpr Art buttonArt = {
    ".....oooooo.....",
    "...oowwwwwwoo...",
    "..owwwwggggggo..",
    ".owwggggggggsso.",
    ".owgKKKKKggggso.",
    "owggKKggKKgggsso",
    "owggKKgggKKggsso",
    "owggKKgggKKggsso",
    "owggKKgggKKggsso",
    "owggKKgggKKggsso",
    "owggKKggKKgggsso",
    ".owgKKKKKggggso.",
    ".owggggggggssso.",
    "..osgggggsssso..",
    "...oossssssoo...",
    ".....oooooo.....",
};
constexpr std::array<Colour, 6> buttonPalette = {{{'o', 64, 64, 64},
                                                  {'w', 232, 232, 232},
                                                  {'g', 192, 192, 192},
                                                  {'s', 128, 128, 128},
                                                  {'K', 0, 0, 0},
                                                  empty}};

// An open book: two pages of text lines on a red cover.
constexpr Art bookArt = {
    "................",
    "................",
    ".kkk........kkk.",
    ".kppkkk..kkkppk.",
    ".kpppppkkpppppk.",
    ".kplllpkkplllpk.",
    ".kpppppkkpppppk.",
    ".kplllpkkplllpk.",
    ".kpppppkkpppppk.",
    ".kplllpkkplllpk.",
    ".kpppppkkpppppk.",
    ".kkkppkkkkppkkk.",
    "kcccckkkkkkcccck",
    ".kcccccccccccck.",
    "..kkkkkkkkkkkk..",
    "................",
};
constexpr std::array<Colour, 5> bookPalette = {{{'k', 40, 40, 40},
                                                {'p', 255, 255, 255},
                                                {'l', 110, 110, 160},
                                                {'c', 170, 35, 35},
                                                empty}};

static_assert(square(buttonArt) && square(bookArt), "each picture is 16 x 16 characters");

constexpr BitmapFile withinDistanceBitmap = bitmapFile(buttonArt, buttonPalette);
constexpr BitmapFile manualBitmap = bitmapFile(bookArt, bookPalette);

constexpr std::int32_t resourceNotFound = 326;

}  // namespace

std::string_view ResourceBitmap(std::int32_t id) {
    switch (id) {
        case BitmapWithinDistance: return {withinDistanceBitmap.data(), withinDistanceBitmap.size()};
        case BitmapManual: return {manualBitmap.data(), manualBitmap.size()};
        default: return {};
    }
}

std::shared_ptr<forms::Picture> LoadResPicture(std::int32_t id) {
    const std::string_view bytes = ResourceBitmap(id);
    if (bytes.empty()) throw com::Error(resourceNotFound, "", "Resource with identifier '" + std::to_string(id) + "' not found");
    return forms::Picture::fromBitmapFile(bytes);
}

}  // namespace gis_extension
