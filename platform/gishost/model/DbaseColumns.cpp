#include "gishost/model/DbaseColumns.h"

#include <charconv>
#include <cmath>

#include "gishost/Geodatabase.h"
#include "gishost/model/HostError.h"

namespace gishost::model {
namespace {

constexpr int maximumWidth = 254;  // what dBASE readers take for a column

com::Error refused(const std::string& field, const std::string& why) {
    return hostError(HostFailure::FieldDefinition, "The field " + field + " cannot be stored in a dBASE table: " + why);
}

std::string rightAligned(const std::string& text, int width) {
    return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

std::string fixedText(double value, int decimals) {
    char buffer[400];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (error != std::errc()) return std::string(400, '#');  // longer than any column
    return std::string(buffer, end);
}

// The civil date of a count of days since 30 December 1899, as "YYYYMMDD".
std::string dateText(double days) {
    const std::int64_t z = static_cast<std::int64_t>(std::floor(days)) + 693899;  // days since 1 March of year 0
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const std::int64_t month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    if (year < 0 || year > 9999) return {};
    char text[9];
    std::snprintf(text, sizeof text, "%04d%02d%02d", static_cast<int>(year), static_cast<int>(month),
                  static_cast<int>(day));
    return text;
}

}  // namespace

DbaseColumn dbaseColumn(const FieldDefinition& field) {
    DbaseColumn column{field.name, field.type, 'N', 0, 0};
    const auto numeric = [&](int defaultWidth, int defaultDecimals) {
        column.width = field.precision > 0 ? field.precision : defaultWidth;
        column.decimals = field.scale > 0 ? field.scale : (field.precision > 0 ? 0 : defaultDecimals);
    };
    switch (field.type) {
        case fieldType::SmallInteger: numeric(6, 0); column.decimals = 0; break;
        case fieldType::Integer:
        case fieldType::OID: numeric(11, 0); column.decimals = 0; column.type = fieldType::Integer; break;
        case fieldType::Single: numeric(13, 6); break;
        case fieldType::Double: numeric(19, 11); break;
        case fieldType::String:
            column.nativeType = 'C';
            column.width = field.length > 0 ? field.length : 50;
            break;
        case fieldType::Date:
            column.nativeType = 'D';
            column.width = 8;
            break;
        default: throw refused(field.name, "a dBASE table has no column for field type " + std::to_string(field.type));
    }
    if (field.precision < 0 || field.scale < 0 || field.length < 0)
        throw refused(field.name, "its sizes cannot be negative");
    if (column.width > maximumWidth)
        throw refused(field.name, "it is wider than " + std::to_string(maximumWidth) + " characters");
    if (column.decimals > 0 && column.decimals > column.width - 2)
        throw refused(field.name, std::to_string(column.decimals) + " decimals do not fit into " +
                                      std::to_string(column.width) + " characters");
    return column;
}

ColumnCell columnCell(const DbaseColumn& column, const com::Variant& value) {
    if (value.isNull() || value.isEmpty()) return {com::Null{}, columnText(column, com::Null{})};
    com::Variant converted;
    switch (column.type) {
        case fieldType::SmallInteger: converted = com::toInteger(value); break;
        case fieldType::Integer: converted = com::toLong(value); break;
        case fieldType::Single: converted = static_cast<float>(com::toDouble(value)); break;
        case fieldType::Double: converted = com::toDouble(value); break;
        case fieldType::Date:
            converted = value.is<com::Date>() ? value.get<com::Date>() : com::Date{com::toDouble(value)};
            break;
        default: converted = com::toText(value); break;
    }
    std::string text = columnText(column, converted);
    if (static_cast<int>(text.size()) != column.width)
        throw hostError(HostFailure::Argument, "The value " + com::toText(value) + " does not fit into the field " +
                                                   column.name + " (" + std::to_string(column.width) + " characters" +
                                                   (column.decimals > 0 ? " with " + std::to_string(column.decimals) +
                                                                              " decimals)" : ")"));
    return {std::move(converted), std::move(text)};
}

std::string columnText(const DbaseColumn& column, const com::Variant& value) {
    const int width = column.width;
    if (value.isNull()) return std::string(static_cast<std::size_t>(width), ' ');
    std::string text;
    switch (column.type) {
        case fieldType::SmallInteger:
        case fieldType::Integer: text = std::to_string(com::toLong(value)); break;
        case fieldType::Single:
        case fieldType::Double: {
            const double number = com::toDouble(value);
            if (!std::isfinite(number)) return {};
            text = fixedText(number, column.decimals);
            break;
        }
        case fieldType::Date:
            text = dateText(value.get<com::Date>().value);
            if (text.empty()) return {};
            return text;
        default:
            text = value.get<std::string>();
            if (text.size() > static_cast<std::size_t>(width) || text.find('\0') != std::string::npos) return {};
            return text + std::string(static_cast<std::size_t>(width) - text.size(), ' ');
    }
    if (text.size() > static_cast<std::size_t>(width)) return {};
    return rightAligned(text, width);
}

}  // namespace gishost::model
