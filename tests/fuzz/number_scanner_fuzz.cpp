// Reads the input as a stream of numbers, once through the default buffer and once
// one byte at a time, and checks every value against the C library's conversion of
// the exact text that forms the number.
#include <locale.h>
#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "engine/NumberScanner.h"

namespace {

struct Expected {
    engine::ScanResult result;
    float value = 0.0f;
};

bool isWhiteSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool isDigit(int c) { return c >= '0' && c <= '9'; }

// The values of the text by the grammar [+-]? (digits [. digits*] | . digits)
// ([eE] [+-]? digits)?, up to and including the first non-number or the end.
std::vector<Expected> expectedValues(const std::string& text) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    std::vector<Expected> values;
    std::size_t at = 0;
    auto charAt = [&](std::size_t position) { return position < text.size() ? static_cast<unsigned char>(text[position]) : -1; };
    for (;;) {
        while (isWhiteSpace(charAt(at))) ++at;
        if (at == text.size()) {
            values.push_back({engine::ScanResult::EndOfFile});
            return values;
        }
        std::size_t end = at;
        if (charAt(end) == '+' || charAt(end) == '-') ++end;
        if (!isDigit(charAt(end)) && !(charAt(end) == '.' && isDigit(charAt(end + 1)))) {
            values.push_back({engine::ScanResult::NotANumber});
            return values;
        }
        while (isDigit(charAt(end))) ++end;
        if (charAt(end) == '.') {
            ++end;
            while (isDigit(charAt(end))) ++end;
        }
        if (charAt(end) == 'e' || charAt(end) == 'E') {
            std::size_t digits = end + 1;
            if (charAt(digits) == '+' || charAt(digits) == '-') ++digits;
            if (isDigit(charAt(digits))) {
                end = digits;
                while (isDigit(charAt(end))) ++end;
            }
        }
        const std::string number = text.substr(at, end - at);
        values.push_back({engine::ScanResult::Value, strtof_l(number.c_str(), nullptr, cLocale)});
        at = end;
    }
}

void checkScanner(const std::string& path, std::size_t chunkSize, const std::vector<Expected>& expected) {
    engine::NumberScanner scanner(path, chunkSize);
    if (!scanner.isOpen()) std::abort();
    for (const Expected& want : expected) {
        float value = 12345.0f;
        const engine::ScanResult result = scanner.read(value);
        if (result != want.result) std::abort();
        if (result == engine::ScanResult::Value && std::memcmp(&value, &want.value, sizeof value) != 0) std::abort();
        if (result != engine::ScanResult::Value && value != 12345.0f) std::abort();
    }
    // Neither the end nor a non-number takes anything: asking again gives the same.
    float value = 0.0f;
    if (scanner.read(value) != expected.back().result) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > fuzzing::maxInputSize) return -1;
    const std::string path = fuzzing::writeInputFile("numbers.txt", data, size);
    const std::vector<Expected> expected = expectedValues(std::string(reinterpret_cast<const char*>(data), size));
    checkScanner(path, 64 * 1024, expected);
    checkScanner(path, 1, expected);
    return 0;
}
