#include "sysutils/FormatSettings.h"

#include <clocale>
#include <langinfo.h>
#include <locale.h>

namespace sysutils {

char decimalSeparatorFromEnvironment() {
    // A locale object of its own, so that the process locale stays untouched.
    locale_t locale = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) return '.';
    const char* radix = nl_langinfo_l(RADIXCHAR, locale);
    const char separator = (radix != nullptr && radix[0] != '\0' && radix[1] == '\0') ? radix[0] : '.';
    freelocale(locale);
    return separator;
}

FormatSettings& formatSettings() {
    static FormatSettings settings{decimalSeparatorFromEnvironment()};
    return settings;
}

ScopedDecimalSeparator::ScopedDecimalSeparator(char separator)
    : previous_(formatSettings().DecimalSeparator) {
    formatSettings().DecimalSeparator = separator;
}

ScopedDecimalSeparator::~ScopedDecimalSeparator() { formatSettings().DecimalSeparator = previous_; }

}  // namespace sysutils
