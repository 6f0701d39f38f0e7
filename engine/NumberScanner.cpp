#include "engine/NumberScanner.h"

#include "engine/InputFile.h"

#include <locale.h>
#include <stdlib.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace engine {
namespace {

// Significant digits kept for the conversion. A float lies halfway between two
// neighbours only at values of at most 113 significant digits, so keeping more and
// standing in a single non-zero digit for any non-zero digits dropped after them
// rounds exactly like the full text.
constexpr std::size_t keptDigits = 160;
// Decimal exponents are held within this bound while reading; far beyond it every
// float result is already 0 or infinity.
constexpr std::int64_t exponentBound = 1'000'000'000'000;
// The exponent written for the conversion is clamped to this bound.
constexpr std::int64_t conversionExponentBound = 100'000;

bool isWhiteSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool isDigit(int c) { return c >= '0' && c <= '9'; }

// The numeric conventions of the C locale, whatever the program's locale is.
locale_t cLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// value = 0.digits x 10^exponent, digits starting with a non-zero digit.
struct DecimalText {
    bool negative = false;
    std::string digits;
    bool droppedNonZero = false;
    std::int64_t exponent = 0;

    void takeDigit(char digit, bool beforePoint) {
        if (digits.empty() && digit == '0') {
            if (!beforePoint && exponent > -exponentBound) --exponent;
            return;
        }
        if (beforePoint && exponent < exponentBound) ++exponent;
        if (digits.size() < keptDigits)
            digits.push_back(digit);
        else if (digit != '0')
            droppedNonZero = true;
    }

    void addExponent(std::int64_t written) {
        exponent += written;
        if (exponent > exponentBound) exponent = exponentBound;
        if (exponent < -exponentBound) exponent = -exponentBound;
    }

    float toFloat() const {
        if (digits.empty()) return negative ? -0.0f : 0.0f;
        std::int64_t clamped = exponent;
        if (clamped > conversionExponentBound) clamped = conversionExponentBound;
        if (clamped < -conversionExponentBound) clamped = -conversionExponentBound;
        std::string text = negative ? "-0." : "0.";
        text += digits;
        if (droppedNonZero) text.push_back('1');
        text += 'e';
        text += std::to_string(clamped);
        return strtof_l(text.c_str(), nullptr, cLocale());
    }
};

}  // namespace

NumberScanner::NumberScanner(const std::string& fileName, std::size_t chunkSize)
    : chunkSize_(chunkSize > 0 ? chunkSize : 1) {
    OpenedInputFile opened = openInputFile(fileName);
    file_ = opened.file;
    notOpenedReason_ = std::move(opened.reason);
}

NumberScanner::~NumberScanner() {
    if (file_ != nullptr) std::fclose(file_);
}

void NumberScanner::fill(std::size_t count) {
    while (available_ - position_ < count && !fileEnded_) {
        if (file_ == nullptr) {
            fileEnded_ = true;
            break;
        }
        if (position_ > 0) {
            std::memmove(buffer_.data(), buffer_.data() + position_, available_ - position_);
            available_ -= position_;
            position_ = 0;
        }
        if (buffer_.size() < available_ + chunkSize_) buffer_.resize(available_ + chunkSize_);
        const std::size_t got = std::fread(buffer_.data() + available_, 1, chunkSize_, file_);
        available_ += got;
        if (got == 0) fileEnded_ = true;
    }
}

int NumberScanner::peek(std::size_t offset) {
    fill(offset + 1);
    if (available_ - position_ <= offset) return endOfFile;
    return static_cast<unsigned char>(buffer_[position_ + offset]);
}

void NumberScanner::advance(std::size_t count) { position_ += count; }

ScanResult NumberScanner::read(float& value) {
    while (isWhiteSpace(peek(0))) advance(1);
    const int first = peek(0);
    if (first == endOfFile) return ScanResult::EndOfFile;

    // Nothing is taken until it is certain that a number starts here.
    const std::size_t signLength = (first == '+' || first == '-') ? 1 : 0;
    const int afterSign = peek(signLength);
    const bool startsWithDigit = isDigit(afterSign);
    const bool startsWithPoint = afterSign == '.' && isDigit(peek(signLength + 1));
    if (!startsWithDigit && !startsWithPoint) return ScanResult::NotANumber;
    advance(signLength);

    DecimalText number;
    number.negative = first == '-';
    while (isDigit(peek(0))) {
        number.takeDigit(static_cast<char>(peek(0)), true);
        advance(1);
    }
    if (peek(0) == '.') {
        advance(1);
        while (isDigit(peek(0))) {
            number.takeDigit(static_cast<char>(peek(0)), false);
            advance(1);
        }
    }

    // The exponent belongs to the number only when at least one digit follows.
    const int marker = peek(0);
    if (marker == 'e' || marker == 'E') {
        const int sign = peek(1);
        const std::size_t digitsAt = (sign == '+' || sign == '-') ? 2 : 1;
        if (isDigit(peek(digitsAt))) {
            advance(digitsAt);
            std::int64_t written = 0;
            while (isDigit(peek(0))) {
                if (written < exponentBound) written = written * 10 + (peek(0) - '0');
                advance(1);
            }
            number.addExponent(sign == '-' ? -written : written);
        }
    }

    value = number.toFloat();
    return ScanResult::Value;
}

bool integralInt32(float value, std::int32_t& truncated) {
    if (!(value >= -2147483648.0f && value < 2147483648.0f)) return false;
    const auto whole = static_cast<std::int32_t>(value);
    if (static_cast<double>(whole) != static_cast<double>(value)) return false;
    truncated = whole;
    return true;
}

}  // namespace engine
