#include "gishost/app/DbaseRows.h"

#include <shapefil.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

#include "forms/Windows1252.h"

namespace gishost::app {
namespace {

thread_local std::string* shapelibFailure = nullptr;

void recordFailure(const char* message) {
    if (shapelibFailure != nullptr && shapelibFailure->empty())
        *shapelibFailure = message != nullptr ? message : "unknown failure";
}

struct DbfCloser {
    void operator()(DBFHandle handle) const { DBFClose(handle); }
};

QString decoded(const char* text) {
    QString result;
    for (const char* c = text; *c != '\0'; ++c)
        result.append(QChar(forms::fromWindows1252(static_cast<unsigned char>(*c))));
    return result.trimmed();
}

}  // namespace

DbaseRows readDbaseRows(const std::string& path) {
    std::string failure;
    shapelibFailure = &failure;
    struct Restore {
        ~Restore() { shapelibFailure = nullptr; }
    } restore;
    SAHooks hooks;
    SASetupDefaultHooks(&hooks);
    hooks.Error = recordFailure;
    const std::unique_ptr<DBFInfo, DbfCloser> table(DBFOpenLL(path.c_str(), "rb", &hooks));
    if (!table) throw DbaseRowsError(path + " is not a readable dBASE table" + (failure.empty() ? "" : ": " + failure));

    DbaseRows rows;
    const int fieldCount = DBFGetFieldCount(table.get());
    for (int k = 0; k < fieldCount; ++k) {
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        const DBFFieldType type = DBFGetFieldInfo(table.get(), k, name, nullptr, nullptr);
        rows.fieldNames.append(decoded(name));
        rows.numeric.push_back(type == FTInteger || type == FTDouble);
    }
    // The header's record count is believed only as far as the file's length bears it out.
    struct stat status {};
    long long present = 0;
    if (::stat(path.c_str(), &status) == 0 && table->nRecordLength > 0 && status.st_size > table->nHeaderLength)
        present = (static_cast<long long>(status.st_size) - table->nHeaderLength) / table->nRecordLength;
    const long long records = std::min<long long>(DBFGetRecordCount(table.get()), present);
    for (int record = 0; record < records; ++record) {
        if (DBFIsRecordDeleted(table.get(), record)) continue;
        QStringList row;
        for (int k = 0; k < fieldCount; ++k) {
            const char* text =
                DBFIsAttributeNULL(table.get(), record, k) ? nullptr : DBFReadStringAttribute(table.get(), record, k);
            row.append(text != nullptr ? decoded(text) : QString());
        }
        rows.rows.push_back(std::move(row));
    }
    if (!failure.empty()) throw DbaseRowsError(path + " cannot be read: " + failure);
    return rows;
}

}  // namespace gishost::app
