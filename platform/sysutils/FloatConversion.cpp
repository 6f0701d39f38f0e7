#include "sysutils/FloatConversion.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "sysutils/Exception.h"
#include "sysutils/FormatSettings.h"

namespace sysutils {
namespace {

// value = 0.d1d2d3... x 10^exponent, digits without trailing zeros; no digits means 0.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

void stripTrailingZeros(Decimal& decimal) {
    while (!decimal.digits.empty() && decimal.digits.back() == '0') decimal.digits.pop_back();
    if (decimal.digits.empty()) decimal.exponent = 0;
}

Decimal toDecimal(double value) {
    Decimal decimal;
    decimal.negative = std::signbit(value);
    if (value == 0.0) return decimal;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17e", std::fabs(value));  // d.ddddddddddddddddde+xx
    std::string text(buffer);
    const std::size_t e = text.find('e');
    decimal.digits = text.substr(0, 1) + text.substr(2, e - 2);
    decimal.exponent = std::atoi(text.c_str() + e + 1) + 1;
    stripTrailingZeros(decimal);
    return decimal;
}

// Keeps `count` significant digits, rounding half away from zero.
void roundToDigits(Decimal& decimal, int count) {
    if (static_cast<int>(decimal.digits.size()) <= count) return;
    if (count < 0) {
        decimal.digits.clear();
        decimal.exponent = 0;
        return;
    }
    const bool up = decimal.digits[static_cast<std::size_t>(count)] >= '5';
    decimal.digits.resize(static_cast<std::size_t>(count));
    if (up) {
        int position = count - 1;
        while (position >= 0 && decimal.digits[static_cast<std::size_t>(position)] == '9') {
            decimal.digits[static_cast<std::size_t>(position)] = '0';
            --position;
        }
        if (position >= 0) {
            ++decimal.digits[static_cast<std::size_t>(position)];
        } else {
            decimal.digits.insert(decimal.digits.begin(), '1');
            ++decimal.exponent;
        }
    }
    stripTrailingZeros(decimal);
}

std::string exponentText(int exponent, int minimumDigits, bool plusSign) {
    std::string text = std::to_string(std::abs(exponent));
    while (static_cast<int>(text.size()) < minimumDigits) text.insert(text.begin(), '0');
    if (exponent < 0) return "-" + text;
    return plusSign ? "+" + text : text;
}

std::string scientific(const Decimal& decimal, int minimumDigits, bool plusSign, int mantissaDigits) {
    std::string mantissa = decimal.digits.empty() ? std::string("0") : decimal.digits;
    if (mantissaDigits > 0)
        while (static_cast<int>(mantissa.size()) < mantissaDigits) mantissa.push_back('0');
    std::string text = decimal.negative && !decimal.digits.empty() ? "-" : "";
    text += mantissa.substr(0, 1);
    if (mantissa.size() > 1) text += formatSettings().DecimalSeparator + mantissa.substr(1);
    const int exponent = decimal.digits.empty() ? 0 : decimal.exponent - 1;
    return text + "E" + exponentText(exponent, minimumDigits, plusSign);
}

// Digits before and after the separator, `decimals` of them after it (-1: as many as there are).
std::string fixed(const Decimal& decimal, int decimals) {
    std::string integerPart;
    std::string fraction;
    const int count = static_cast<int>(decimal.digits.size());
    for (int position = 0; position < decimal.exponent; ++position)
        integerPart.push_back(position < count ? decimal.digits[static_cast<std::size_t>(position)] : '0');
    if (integerPart.empty()) integerPart = "0";
    for (int position = decimal.exponent; position < count; ++position)
        fraction.push_back(position < 0 ? '0' : decimal.digits[static_cast<std::size_t>(position)]);
    if (decimals >= 0) {
        // Leading zeros of a value below 0.1 come first.
        std::string full;
        for (int position = 0; position < decimals; ++position) {
            const int index = decimal.exponent + position;
            full.push_back(index >= 0 && index < count ? decimal.digits[static_cast<std::size_t>(index)] : '0');
        }
        fraction = full;
    } else if (decimal.exponent < 0) {
        fraction = std::string(static_cast<std::size_t>(-decimal.exponent), '0') + decimal.digits;
    }
    std::string text = decimal.negative && !decimal.digits.empty() ? "-" : "";
    text += integerPart;
    if (!fraction.empty()) text += formatSettings().DecimalSeparator + fraction;
    return text;
}

std::string special(double value) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

std::string general(double value, int precision, int exponentDigits) {
    if (!std::isfinite(value)) return special(value);
    Decimal decimal = toDecimal(value);
    roundToDigits(decimal, precision);
    if (decimal.digits.empty()) return "0";
    if (decimal.exponent > precision || decimal.exponent < -4)
        return scientific(decimal, exponentDigits, /*plusSign=*/false, 0);
    return fixed(decimal, -1);
}

}  // namespace

std::string FloatToStr(double value) { return general(value, 15, 0); }

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits) {
    if (precision < 1) precision = 1;
    if (precision > 18) precision = 18;
    if (!std::isfinite(value)) return special(value);
    switch (format) {
        case TFloatFormat::ffGeneral:
            return general(value, precision, digits < 0 ? 0 : (digits > 4 ? 4 : digits));
        case TFloatFormat::ffExponent: {
            Decimal decimal = toDecimal(value);
            roundToDigits(decimal, precision);
            return scientific(decimal, digits < 0 ? 0 : (digits > 4 ? 4 : digits), /*plusSign=*/true, precision);
        }
        case TFloatFormat::ffFixed: {
            if (digits < 0) digits = 0;
            if (digits > 18) digits = 18;
            Decimal decimal = toDecimal(value);
            if (decimal.exponent > precision) return general(value, precision, 0);
            roundToDigits(decimal, std::min(precision, decimal.exponent + digits));
            if (decimal.exponent > precision) return general(value, precision, 0);
            return fixed(decimal, digits);
        }
    }
    return {};
}

std::string IntToStr(std::int64_t value) { return std::to_string(value); }

double StrToFloat(const std::string& text) {
    const auto fail = [&text]() -> EConvertError {
        return EConvertError("'" + text + "' is not a valid floating point value");
    };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && text[begin] == ' ') ++begin;
    while (end > begin && text[end - 1] == ' ') --end;
    std::string number;
    const char separator = formatSettings().DecimalSeparator;
    std::size_t position = begin;
    if (position < end && (text[position] == '+' || text[position] == '-')) {
        if (text[position] == '-') number.push_back('-');
        ++position;
    }
    bool anyDigit = false;
    bool seenSeparator = false;
    for (; position < end; ++position) {
        const char c = text[position];
        if (c >= '0' && c <= '9') {
            anyDigit = true;
            number.push_back(c);
        } else if (c == separator && !seenSeparator) {
            seenSeparator = true;
            number.push_back('.');
        } else {
            break;
        }
    }
    if (!anyDigit) throw fail();
    if (position < end && (text[position] == 'e' || text[position] == 'E')) {
        number.push_back('e');
        ++position;
        if (position < end && (text[position] == '+' || text[position] == '-')) number.push_back(text[position++]);
        bool exponentDigit = false;
        for (; position < end && text[position] >= '0' && text[position] <= '9'; ++position) {
            exponentDigit = true;
            number.push_back(text[position]);
        }
        if (!exponentDigit) throw fail();
    }
    if (position != end) throw fail();
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) throw fail();
    return value;
}

}  // namespace sysutils
