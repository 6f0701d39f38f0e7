#pragma once
// Reads the numbers of a node or connection file one value at a time, the way the C
// library's formatted input "%f" reads into a float, but always with a decimal point,
// whatever the locale. The file is streamed through a small buffer, so files of any
// size and numbers of any length are read in bounded memory.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace engine {

enum class ScanResult {
    Value,       // a number was read into the value
    NotANumber,  // the next characters do not start a number; nothing was taken, the value is unchanged
    EndOfFile,   // the end of the file came before any character of a value
};

class NumberScanner {
public:
    // Opens the file for reading, a regular file only (openInputFile); isOpen() tells
    // whether that worked. `chunkSize` is the number of bytes read from the file at a time.
    explicit NumberScanner(const std::string& fileName, std::size_t chunkSize = 64 * 1024);
    ~NumberScanner();
    NumberScanner(const NumberScanner&) = delete;
    NumberScanner& operator=(const NumberScanner&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    // When it did not open although the file exists: why, for the "Cannot open" messages.
    const std::string& notOpenedReason() const { return notOpenedReason_; }

    // Skips white space (blank, tab, line feed, carriage return, vertical tab, form
    // feed), then takes the longest prefix that forms a decimal number
    //     [+-]? (digits [. digits*] | . digits) ([eE] [+-]? digits)?
    // An exponent is taken only when complete: "1e" gives 1 and leaves "e"; "12abc"
    // gives 12 and leaves "abc". The number is rounded correctly to a float; one too
    // large for a float gives infinity, as the formatted input does.
    ScanResult read(float& value);

private:
    static constexpr int endOfFile = -1;

    // The character `offset` places ahead of the read position, or endOfFile.
    int peek(std::size_t offset);
    void advance(std::size_t count);
    // Makes at least `count` characters available ahead of the read position unless
    // the file ends first.
    void fill(std::size_t count);

    std::FILE* file_ = nullptr;
    std::string notOpenedReason_;
    std::size_t chunkSize_;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t available_ = 0;
    bool fileEnded_ = false;
};

// A value read for a node ID: true when it is a whole number within the range of a
// 32-bit signed integer; `truncated` then receives it. Values outside that range,
// infinities included, are not integral and leave `truncated` unchanged.
bool integralInt32(float value, std::int32_t& truncated);

}  // namespace engine
