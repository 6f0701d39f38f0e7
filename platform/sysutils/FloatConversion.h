#pragma once
// The class library's conversions between numbers and texts. They write and read
// the decimal separator of the regional settings (FormatSettings.h).
//
//   FloatToStr(v)                 general format, 15 significant digits
//   FloatToStrF(v, fmt, p, d)     general (exponent digits d), exponent, or fixed
//                                 (p significant digits, d decimals) format
//   IntToStr(i)                   decimal digits with an optional "-"
//   StrToFloat(s)                 the number in s, or EConvertError
//
// Decimal rounding is half away from zero on the value's 18-digit decimal expansion.
#include <cstdint>
#include <string>

namespace sysutils {

enum class TFloatFormat { ffGeneral, ffExponent, ffFixed };

// General format with 15 significant digits: fixed notation without trailing zeros
// when the value has at most 15 digits before the separator and a magnitude of at
// least 0.00001, scientific notation ("1.5E-7", "1E20") otherwise.
std::string FloatToStr(double value);

// ffGeneral: as FloatToStr with `precision` digits, `digits` = minimum exponent digits.
// ffExponent: d.ddddE+xx with `precision` significant digits, at least `digits` exponent digits.
// ffFixed: rounded to `precision` significant digits and `digits` decimals, printed with
//          exactly `digits` decimals; a value with more than `precision` digits before
//          the separator falls back to the general format.
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits);

std::string IntToStr(std::int64_t value);

// Accepts optional blanks around an optional sign, digits with at most one regional
// decimal separator and an optional exponent. Anything else raises EConvertError
// with the text "'<s>' is not a valid floating point value".
double StrToFloat(const std::string& text);

}  // namespace sysutils
