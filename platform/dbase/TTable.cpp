#include "dbase/TTable.h"

#include <locale.h>
#include <shapefil.h>
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <variant>

#include "sysutils/FloatConversion.h"
#include "sysutils/SafeFile.h"

namespace dbase {
namespace {

// The C locale, for every number that goes into or comes out of a dBASE file.
locale_t cLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// The first failure met while shapelib works on one table's file.
struct FileErrors {
    std::string target;
    std::string first;

    void record(const std::string& what, int error) {
        if (first.empty()) first = sysutils::saveErrorText(target, what, error);
    }
    void recordText(const std::string& text) {
        if (first.empty()) first = "Cannot save " + target + ": " + text;
    }
};

// The hooks have no context of their own: a shapelib call reaches the errors of the
// table it works for through the calling thread.
thread_local FileErrors* activeErrors = nullptr;

// Around every shapelib call: the C locale for the thread, so that numbers are written
// with a decimal point, and the table whose errors the hooks record.
class ShapelibCall {
public:
    explicit ShapelibCall(FileErrors& errors) : previousErrors_(activeErrors) {
        activeErrors = &errors;
        const locale_t c = cLocale();
        previousLocale_ = c != static_cast<locale_t>(nullptr) ? uselocale(c) : static_cast<locale_t>(nullptr);
    }
    ~ShapelibCall() {
        if (previousLocale_ != static_cast<locale_t>(nullptr)) uselocale(previousLocale_);
        activeErrors = previousErrors_;
    }
    ShapelibCall(const ShapelibCall&) = delete;
    ShapelibCall& operator=(const ShapelibCall&) = delete;

private:
    FileErrors* previousErrors_;
    locale_t previousLocale_;
};

// A file opened for shapelib: the stream and the errors of its table.
struct HookFile {
    FILE* stream;
    FileErrors* errors;
};

HookFile* hookFile(SAFile file) { return reinterpret_cast<HookFile*>(file); }

void record(const std::string& what, int error) {
    if (activeErrors != nullptr) activeErrors->record(what, error);
}

SAFile hookOpen(const char* filename, const char* access) {
    FILE* stream = std::fopen(filename, access);
    if (stream == nullptr) {
        record("cannot open the temporary table", errno);
        return nullptr;
    }
    return reinterpret_cast<SAFile>(new HookFile{stream, activeErrors});
}

SAOffset hookRead(void* buffer, SAOffset size, SAOffset count, SAFile file) {
    return std::fread(buffer, size, count, hookFile(file)->stream);
}

SAOffset hookWrite(void* buffer, SAOffset size, SAOffset count, SAFile file) {
    HookFile* open = hookFile(file);
    const std::size_t total = size * count;
    if (total == 0) return count;
    int error = 0;
    const std::size_t allowed = sysutils::writableBytes(total, error);
    const std::size_t written = allowed > 0 ? std::fwrite(buffer, 1, allowed, open->stream) : 0;
    if (written < allowed) error = errno;
    if (written < total) {
        if (open->errors != nullptr) open->errors->record("writing failed", error);
        return written / size;
    }
    return count;
}

SAOffset hookSeek(SAFile file, SAOffset offset, int whence) {
    if (fseeko(hookFile(file)->stream, static_cast<off_t>(offset), whence) == 0) return 0;
    record("writing failed", errno);
    return static_cast<SAOffset>(-1);
}

SAOffset hookTell(SAFile file) { return static_cast<SAOffset>(ftello(hookFile(file)->stream)); }

int hookFlush(SAFile file) {
    HookFile* open = hookFile(file);
    if (std::fflush(open->stream) == 0) return 0;
    if (open->errors != nullptr) open->errors->record("writing failed", errno);
    return -1;
}

// Flushes to disk before closing: a table is complete only once it is on disk.
int hookClose(SAFile file) {
    HookFile* open = hookFile(file);
    FileErrors* errors = open->errors;
    int result = 0;
    int error = 0;
    if (std::fflush(open->stream) != 0) {
        if (errors != nullptr) errors->record("writing failed", errno);
        result = -1;
    } else if (sysutils::syncFails(error)) {
        if (errors != nullptr) errors->record("writing to disk failed", error);
        result = -1;
    } else if (fsync(fileno(open->stream)) != 0) {
        if (errors != nullptr) errors->record("writing to disk failed", errno);
        result = -1;
    }
    if (std::fclose(open->stream) != 0) {
        if (errors != nullptr) errors->record("closing the table failed", errno);
        result = -1;
    }
    delete open;
    return result;
}

// shapelib removes the code-page file beside a new table; the temporary table never has
// one, and nothing else may be removed on its behalf.
int hookRemove(const char*) { return 0; }

void hookError(const char* message) {
    if (activeErrors != nullptr) activeErrors->recordText(message != nullptr ? message : "error");
}

double hookAtof(const char* text) { return strtod_l(text, nullptr, cLocale()); }

SAHooks fileHooks() {
    SAHooks hooks{};
    hooks.FOpen = hookOpen;
    hooks.FRead = hookRead;
    hooks.FWrite = hookWrite;
    hooks.FSeek = hookSeek;
    hooks.FTell = hookTell;
    hooks.FFlush = hookFlush;
    hooks.FClose = hookClose;
    hooks.Remove = hookRemove;
    hooks.Error = hookError;
    hooks.Atof = hookAtof;
    return hooks;
}

// The class library's text-to-integer conversion: optional leading blanks, an optional
// sign and decimal digits, within 32 bits.
std::int32_t textToInteger(const std::string& text) {
    std::size_t position = 0;
    while (position < text.size() && text[position] == ' ') ++position;
    const char* first = text.data() + position;
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') ++first;
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last)
        throw sysutils::EConvertError("'" + text + "' is not a valid integer value");
    return value;
}

// The text that a floating field stores for `value`, as its writer formats it, or
// nothing when the value has no such text within the field's width.
std::optional<std::string> floatFieldText(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    char buffer[400];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, floatFieldDecimals);
    if (error != std::errc() || end - buffer > floatFieldWidth) return std::nullopt;
    return std::string(buffer, end);
}

}  // namespace

struct TTable::Impl {
    using Value = std::variant<std::int32_t, double>;

    std::unique_ptr<sysutils::TemporaryFileBeside> file;
    DBFHandle handle = nullptr;
    std::vector<TFieldDef> fields;
    FileErrors errors;
    bool appending = false;
    std::vector<std::optional<Value>> record;

    bool active() const { return handle != nullptr; }

    // Closes shapelib's handle (which writes the header and the last record).
    void closeHandle() {
        if (handle == nullptr) return;
        ShapelibCall call(errors);
        DBFClose(handle);
        handle = nullptr;
    }

    void drop() {
        closeHandle();
        if (file) file->discard();
        file.reset();
        appending = false;
        record.clear();
    }

    [[noreturn]] void failAndDrop(std::string message) {  // a copy: drop() frees what it may refer to
        drop();
        throw EDatabaseError(message);
    }

    void requireActive() const {
        if (!active()) throw EDatabaseError("Cannot perform this operation on a closed dataset");
    }

    std::size_t fieldIndex(const std::string& name) const {
        for (std::size_t k = 0; k < fields.size(); ++k)
            if (fields[k].Name == name) return k;
        throw EDatabaseError("Field '" + name + "' not found");
    }

    void set(const std::string& name, Value value) {
        requireActive();
        if (!appending) throw EDatabaseError("Dataset not in edit or insert mode");
        const std::size_t k = fieldIndex(name);
        if (fields[k].DataType == TFieldType::ftFloat) {
            const double number =
                std::holds_alternative<double>(value) ? std::get<double>(value) : std::get<std::int32_t>(value);
            if (!floatFieldText(number))
                throw EDatabaseError("The value " + sysutils::FloatToStr(number) + " does not fit into the field " +
                                     name + " (" + std::to_string(floatFieldWidth) + " characters with " +
                                     std::to_string(floatFieldDecimals) + " decimals)");
            record[k] = number;
        } else {
            if (std::holds_alternative<double>(value))
                throw EDatabaseError("The field " + name + " holds integers only");
            record[k] = value;
        }
    }
};

TTable::TTable() : impl_(std::make_unique<Impl>()) {}

TTable::~TTable() { impl_->drop(); }

bool TTable::Active() const { return impl_->active(); }

void TTable::CreateTable(const std::string& fileName, const std::vector<TFieldDef>& fields) {
    Impl& t = *impl_;
    if (t.active()) throw EDatabaseError("Cannot perform this operation on an open dataset");
    for (std::size_t k = 0; k < fields.size(); ++k) {
        const std::string& name = fields[k].Name;
        if (name.empty() || name.size() > XBASE_FLDNAME_LEN_WRITE)
            throw EDatabaseError("Invalid field name '" + name + "'");
        for (std::size_t earlier = 0; earlier < k; ++earlier)
            if (fields[earlier].Name == name) throw EDatabaseError("Duplicate field name '" + name + "'");
    }
    t.errors = FileErrors{fileName, {}};
    t.fields = fields;
    t.file = std::make_unique<sysutils::TemporaryFileBeside>(fileName, ".dbf");
    if (!t.file->created()) t.failAndDrop(t.file->error());
    t.file->closeDescriptor();

    SAHooks hooks = fileHooks();
    {
        ShapelibCall call(t.errors);
        t.handle = DBFCreateLL(t.file->path().c_str(), "LDID/87", &hooks);
    }
    if (t.handle == nullptr)
        t.failAndDrop(t.errors.first.empty() ? "Cannot save " + fileName + ": cannot create the table"
                                             : t.errors.first);

    ShapelibCall call(t.errors);
    std::time_t now = std::time(nullptr);
    std::tm today{};
    if (localtime_r(&now, &today) != nullptr)
        DBFSetLastModifiedDate(t.handle, today.tm_year, today.tm_mon + 1, today.tm_mday);
    for (const TFieldDef& field : fields) {
        const bool integer = field.DataType == TFieldType::ftInteger;
        const int added = DBFAddField(t.handle, field.Name.c_str(), integer ? FTInteger : FTDouble,
                                      integer ? integerFieldWidth : floatFieldWidth, integer ? 0 : floatFieldDecimals);
        if (added < 0) t.failAndDrop("Cannot save " + fileName + ": cannot add the field " + field.Name);
    }
}

void TTable::Append() {
    Impl& t = *impl_;
    t.requireActive();
    if (t.appending) Post();
    t.record.assign(t.fields.size(), std::nullopt);
    t.appending = true;
}

void TTable::SetFieldAsInteger(const std::string& name, std::int32_t value) { impl_->set(name, value); }

void TTable::SetFieldAsFloat(const std::string& name, double value) { impl_->set(name, value); }

void TTable::SetFieldAsString(const std::string& name, const std::string& text) {
    Impl& t = *impl_;
    t.requireActive();
    const std::size_t k = t.fieldIndex(name);
    if (t.fields[k].DataType == TFieldType::ftInteger) {
        t.set(name, textToInteger(text));
    } else {
        t.set(name, sysutils::StrToFloat(text));
    }
}

void TTable::Post() {
    Impl& t = *impl_;
    t.requireActive();
    if (!t.appending) throw EDatabaseError("Dataset not in edit or insert mode");
    bool written = true;
    {
        ShapelibCall call(t.errors);
        const int row = DBFGetRecordCount(t.handle);
        for (std::size_t k = 0; k < t.fields.size(); ++k) {
            const int field = static_cast<int>(k);
            const std::optional<Impl::Value>& value = t.record[k];
            int ok = 0;
            if (!value) {
                ok = DBFWriteNULLAttribute(t.handle, row, field);
            } else if (std::holds_alternative<std::int32_t>(*value)) {
                ok = DBFWriteIntegerAttribute(t.handle, row, field, std::get<std::int32_t>(*value));
            } else {
                ok = DBFWriteDoubleAttribute(t.handle, row, field, std::get<double>(*value));
            }
            written = written && ok != 0;
        }
    }
    t.appending = false;
    t.record.clear();
    if (!written || !t.errors.first.empty())
        t.failAndDrop(t.errors.first.empty() ? "Cannot save " + t.errors.target + ": cannot write a record"
                                             : t.errors.first);
}

void TTable::Close() {
    Impl& t = *impl_;
    if (!t.active()) return;
    t.appending = false;
    t.record.clear();
    t.closeHandle();
    if (!t.errors.first.empty()) t.failAndDrop(t.errors.first);
    if (!t.file->commit()) t.failAndDrop(t.file->error());
    t.file.reset();
}

void TTable::Cancel() { impl_->drop(); }

}  // namespace dbase
