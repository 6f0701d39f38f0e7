#include "gishost/model/DbaseTable.h"

#include <shapefil.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "com/Object.h"
#include "gishost/model/DbaseColumns.h"
#include "gishost/model/Fields.h"
#include "gishost/model/HostError.h"
#include "sysutils/SafeFile.h"

namespace gishost::model {
namespace {

// ---- shapelib's file access, with every failure noted ---------------------------------

thread_local bool fileFailed = false;

SAOffset hookWrite(void* buffer, SAOffset size, SAOffset count, SAFile file) {
    const std::size_t total = size * count;
    int error = 0;
    const std::size_t allowed = sysutils::writableBytes(total, error);
    const std::size_t written = allowed > 0 ? std::fwrite(buffer, 1, allowed, reinterpret_cast<FILE*>(file)) : 0;
    if (written < total) {
        fileFailed = true;
        return size == 0 ? 0 : written / size;
    }
    return count;
}

int hookFlush(SAFile file) {
    if (std::fflush(reinterpret_cast<FILE*>(file)) == 0) return 0;
    fileFailed = true;
    return -1;
}

int hookClose(SAFile file) {
    FILE* stream = reinterpret_cast<FILE*>(file);
    int error = 0;
    const bool flushed = std::fflush(stream) == 0 && !sysutils::syncFails(error) && ::fsync(::fileno(stream)) == 0;
    if (std::fclose(stream) != 0 || !flushed) {
        fileFailed = true;
        return -1;
    }
    return 0;
}

void hookError(const char*) { fileFailed = true; }

SAHooks fileHooks() {
    SAHooks hooks;
    SASetupDefaultHooks(&hooks);
    hooks.FWrite = hookWrite;
    hooks.FFlush = hookFlush;
    hooks.FClose = hookClose;
    hooks.Error = hookError;
    return hooks;
}

struct DbfCloser {
    void operator()(DBFInfo* handle) const { DBFClose(handle); }
};
using DbfFile = std::unique_ptr<DBFInfo, DbfCloser>;

// ---- The table -------------------------------------------------------------------------

struct TableFile {
    std::string path;
    std::string name;
    std::vector<DbaseColumn> columns;
    com::ComPtr<IFields> fields;

    com::Error writeFailed(const std::string& why) const {
        return hostError(HostFailure::Write, "The dBASE table " + path + " cannot be written: " + why);
    }

    // Appends rows of converted values, one value per column.
    void append(const std::vector<std::vector<com::Variant>>& rows) const {
        if (rows.empty()) return;
        SAHooks hooks = fileHooks();
        fileFailed = false;
        DbfFile file(DBFOpenLL(path.c_str(), "rb+", &hooks));
        if (!file) throw writeFailed(std::strerror(errno));
        if (DBFGetFieldCount(file.get()) != static_cast<int>(columns.size()))
            throw writeFailed("the file no longer holds the table's fields");
        for (const std::vector<com::Variant>& row : rows) {
            const int record = DBFGetRecordCount(file.get());
            for (std::size_t k = 0; k < columns.size(); ++k) {
                std::string text = columnText(columns[k], row[k]);
                if (!DBFWriteAttributeDirectly(file.get(), record, static_cast<int>(k), text.data()))
                    fileFailed = true;
            }
        }
        DBFClose(file.release());
        if (fileFailed) throw writeFailed("writing failed");
    }
};

class RowBuffer final : public com::Object<IRowBuffer> {
public:
    explicit RowBuffer(std::shared_ptr<const TableFile> table)
        : table_(std::move(table)), values_(table_->columns.size(), com::Null{}) {}

    com::Variant Value(std::int32_t index) override { return values_[position(index)]; }
    void put_Value(std::int32_t index, const com::Variant& value) override {
        const std::size_t k = position(index);
        values_[k] = columnValue(table_->columns[k], value);
    }
    com::ComPtr<IFields> Fields() override { return table_->fields; }

private:
    std::size_t position(std::int32_t index) const {
        if (index < 0 || static_cast<std::size_t>(index) >= values_.size())
            throw hostError(HostFailure::Argument,
                            "Table " + table_->name + " has no field at position " + std::to_string(index));
        return static_cast<std::size_t>(index);
    }

    std::shared_ptr<const TableFile> table_;
    std::vector<com::Variant> values_;
};

class InsertCursor final : public com::Object<ICursor> {
public:
    InsertCursor(std::shared_ptr<const TableFile> table, bool buffering) : table_(std::move(table)), buffering_(buffering) {}
    // Rows still kept are written when the cursor is let go, as far as the file takes them:
    // a release cannot report, so a caller that must know calls Flush.
    ~InsertCursor() override {
        try {
            Flush();
        } catch (const com::Error&) {
        }
    }

    com::ComPtr<IRow> NextRow() override {
        throw hostError(HostFailure::NotSupported, "An insert cursor of table " + table_->name + " reads no rows");
    }

    com::Variant InsertRow(const com::ComPtr<IRowBuffer>& buffer) override {
        if (!buffer) throw com::runtimeError(com::errors::ObjectNotSet);
        std::vector<com::Variant> row;
        for (std::size_t k = 0; k < table_->columns.size(); ++k)
            row.push_back(columnValue(table_->columns[k], buffer->Value(static_cast<std::int32_t>(k))));
        pending_.push_back(std::move(row));
        const std::int32_t number = inserted_++;
        if (!buffering_) Flush();
        return number;
    }

    void Flush() override {
        std::vector<std::vector<com::Variant>> rows = std::move(pending_);
        pending_.clear();
        table_->append(rows);
    }

private:
    std::shared_ptr<const TableFile> table_;
    bool buffering_;
    std::vector<std::vector<com::Variant>> pending_;
    std::int32_t inserted_ = 0;
};

class DbaseTable final : public com::Object<ITable, IDataset> {
public:
    explicit DbaseTable(std::shared_ptr<const TableFile> table) : table_(std::move(table)) {}

    com::ComPtr<IFields> Fields() override { return table_->fields; }
    std::int32_t FindField(const std::string& name) override { return findField(*table_->fields, name); }
    com::ComPtr<ICursor> Insert(bool useBuffering) override {
        return com::make<ICursor, InsertCursor>(table_, useBuffering);
    }
    com::ComPtr<IRowBuffer> CreateRowBuffer() override { return com::make<IRowBuffer, RowBuffer>(table_); }
    std::string Name() override { return table_->name; }

private:
    std::shared_ptr<const TableFile> table_;
};

// The columns of the fields given; names must be present, unique and at most 10 characters.
std::vector<DbaseColumn> columnsOf(const com::ComPtr<IFields>& fields, std::vector<FieldDefinition>& definitions) {
    if (!fields) throw com::runtimeError(com::errors::ObjectNotSet);
    std::vector<DbaseColumn> columns;
    for (std::int32_t k = 0; k < fields->FieldCount(); ++k) {
        const com::ComPtr<IField> field = fields->Field(k);
        if (!field)
            throw hostError(HostFailure::FieldDefinition, "The field set has no field at position " + std::to_string(k));
        FieldDefinition definition = definitionOf(*field);
        if (definition.name.empty() || definition.name.size() > XBASE_FLDNAME_LEN_WRITE ||
            definition.name.find('\0') != std::string::npos)
            throw hostError(HostFailure::FieldDefinition,
                            "The field name \"" + definition.name + "\" is not a dBASE field name of 1 to " +
                                std::to_string(XBASE_FLDNAME_LEN_WRITE) + " characters");
        for (const DbaseColumn& earlier : columns)
            if (::strcasecmp(earlier.name.c_str(), definition.name.c_str()) == 0)
                throw hostError(HostFailure::FieldDefinition, "The field name " + definition.name + " is used twice");
        columns.push_back(dbaseColumn(definition));
        definition.type = columns.back().type;
        definition.precision = columns.back().nativeType == 'N' ? columns.back().width : 0;
        definition.scale = columns.back().decimals;
        definition.length = columns.back().nativeType == 'C' ? columns.back().width : 0;
        definitions.push_back(definition);
    }
    if (columns.empty()) throw hostError(HostFailure::FieldDefinition, "A dBASE table needs at least one field");
    return columns;
}

// Writes the empty table into `path` (a fresh temporary file).
bool writeEmptyTable(const std::string& path, const std::vector<DbaseColumn>& columns) {
    SAHooks hooks = fileHooks();
    fileFailed = false;
    DbfFile file(DBFCreateLL(path.c_str(), "LDID/87", &hooks));
    if (!file) return false;
    std::time_t now = std::time(nullptr);
    std::tm today{};
    if (::localtime_r(&now, &today) != nullptr)
        DBFSetLastModifiedDate(file.get(), today.tm_year, today.tm_mon + 1, today.tm_mday);
    for (const DbaseColumn& column : columns)
        if (DBFAddNativeFieldType(file.get(), column.name.c_str(), column.nativeType, column.width, column.decimals) < 0)
            fileFailed = true;
    DBFClose(file.release());
    return !fileFailed;
}

}  // namespace

com::ComPtr<ITable> createDbaseTable(const std::string& folder, const std::string& name,
                                     const com::ComPtr<IFields>& fields) {
    if (name.empty() || name.find('/') != std::string::npos || name == "." || name == ".." ||
        name.find('\0') != std::string::npos)
        throw hostError(HostFailure::Argument, "\"" + name + "\" is not a table name");
    auto table = std::make_shared<TableFile>();
    table->name = name;
    table->path = folder + (folder.empty() || folder.back() == '/' ? "" : "/") + name + ".dbf";
    std::vector<FieldDefinition> definitions;
    table->columns = columnsOf(fields, definitions);
    table->fields = com::make<IFields, Fields>(definitions, "table " + name);

    struct stat status {};
    const auto exists = [&] { return ::lstat(table->path.c_str(), &status) == 0; };
    if (exists()) throw hostError(HostFailure::TableExists, "The table " + table->path + " exists already");
    sysutils::TemporaryFileBeside file(table->path, ".dbf");
    if (!file.created()) throw table->writeFailed(file.error());
    file.closeDescriptor();
    if (!writeEmptyTable(file.path(), table->columns)) throw table->writeFailed("writing failed");
    // A link, unlike a rename, never replaces a file that appeared meanwhile.
    if (::link(file.path().c_str(), table->path.c_str()) != 0) {
        if (errno == EEXIST) throw hostError(HostFailure::TableExists, "The table " + table->path + " exists already");
        throw table->writeFailed(std::strerror(errno));
    }
    return com::make<ITable, DbaseTable>(std::move(table));
}

}  // namespace gishost::model
