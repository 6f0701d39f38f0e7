#include "gishost/model/DbaseTable.h"

#include <shapefil.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>
#include <set>
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

// ---- Tables on their way to their names -------------------------------------------------

// The paths of the tables created and not yet given their names: a second table of the
// same name is refused as if the first stood there already.
std::mutex namesMutex;
std::set<std::string>& namesAwaited() {
    static std::set<std::string> names;
    return names;
}

bool awaitName(const std::string& path) {
    std::lock_guard lock(namesMutex);
    return namesAwaited().insert(path).second;
}

void stopAwaitingName(const std::string& path) {
    std::lock_guard lock(namesMutex);
    namesAwaited().erase(path);
}

// ---- The table -------------------------------------------------------------------------

// A table is built in a temporary file beside its name (hidden, ending in ".tmp", so that
// no reader takes it for a table) and takes its name with its first counted records:
// at the first Flush, or when the last reference to it goes, so that a table given up
// after an error still stands under its name with the rows counted so far. A process
// that dies before leaves only the temporary file.
struct TableFile {
    std::string path;
    std::string name;
    std::vector<DbaseColumn> columns;
    com::ComPtr<IFields> fields;
    mutable std::unique_ptr<sysutils::TemporaryFileBeside> building;  // until the table has its name

    TableFile() = default;
    TableFile(const TableFile&) = delete;
    TableFile& operator=(const TableFile&) = delete;
    ~TableFile() {
        if (!building) return;
        try {
            writeRecords({}, 0, /*counted=*/true);
        } catch (const com::Error&) {
            // a release cannot report; the temporary file goes with the table
        }
        stopAwaitingName(path);
    }

    // Removes the table's file, the temporary one while it has no name yet; rows written
    // afterwards fail, as the file is gone.
    void remove() const {
        if (building) {
            building->discard();
            building.reset();
            stopAwaitingName(path);
        } else if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
            throw writeFailed(std::strerror(errno));
        }
    }

    // Where the table's file is now.
    const std::string& location() const { return building ? building->path() : path; }

    // Gives the complete table its name, never over a file that appeared there meanwhile.
    void takeName() const {
        if (!building) return;
        if (!building->commitAsNewFile()) {
            if (building->systemError() == EEXIST)
                throw hostError(HostFailure::TableExists, "The table " + path + " exists already");
            throw writeFailed(building->error());
        }
        building.reset();
        stopAwaitingName(path);
    }

    com::Error writeFailed(const std::string& why) const {
        return hostError(HostFailure::Write, "The dBASE table " + path + " cannot be written: " + why);
    }

    // The length of one record: the deletion flag and every column.
    std::size_t recordLength() const {
        std::size_t length = 1;
        for (const DbaseColumn& column : columns) length += static_cast<std::size_t>(column.width);
        return length;
    }

    // Records written behind those the header counts, not yet counted (see writeRecords).
    mutable std::size_t uncounted = 0;

    // Writes `count` records, given as their bytes, in one write behind the records the
    // file holds. With `count` true they are counted in the header (with any written
    // before them) and the file is made durable; until then readers do not see them.
    void writeRecords(const std::string& records, std::size_t count, bool counted) const {
        if (count == 0 && (!counted || uncounted == 0)) {
            if (counted) takeName();
            return;
        }
        std::FILE* file = std::fopen(location().c_str(), "r+b");
        if (file == nullptr) throw writeFailed(std::strerror(errno));
        const auto fail = [&](const std::string& why) {
            std::fclose(file);
            return writeFailed(why);
        };
        unsigned char header[32];
        if (std::fread(header, 1, sizeof header, file) != sizeof header) throw fail("its header cannot be read");
        const std::uint64_t held = static_cast<std::uint64_t>(header[4]) | static_cast<std::uint64_t>(header[5]) << 8 |
                                   static_cast<std::uint64_t>(header[6]) << 16 |
                                   static_cast<std::uint64_t>(header[7]) << 24;
        const std::size_t headerLength = header[8] | static_cast<std::size_t>(header[9]) << 8;
        const std::size_t length = header[10] | static_cast<std::size_t>(header[11]) << 8;
        if (length != recordLength() || headerLength < 32 + 32 * columns.size())
            throw fail("the file no longer holds the table's fields");
        const std::uint64_t total = held + uncounted + count;
        if (total > 0xFFFFFFFFu) throw fail("it would hold more records than dBASE counts");
        const std::string endMark = counted ? "\x1A" : "";
        int error = 0;
        const std::size_t allowed = sysutils::writableBytes(records.size() + endMark.size(), error);
        if (std::fseek(file, static_cast<long>(headerLength + (held + uncounted) * length), SEEK_SET) != 0 ||
            allowed < records.size() + endMark.size() ||
            std::fwrite(records.data(), 1, records.size(), file) != records.size() ||
            std::fwrite(endMark.data(), 1, endMark.size(), file) != endMark.size())
            throw fail(std::strerror(error != 0 ? error : errno));
        if (!counted) {
            uncounted += count;
            if (std::fclose(file) != 0) throw writeFailed(std::strerror(errno));
            return;
        }
        std::time_t now = std::time(nullptr);
        std::tm today{};
        if (::localtime_r(&now, &today) != nullptr) {
            header[1] = static_cast<unsigned char>(today.tm_year % 256);
            header[2] = static_cast<unsigned char>(today.tm_mon + 1);
            header[3] = static_cast<unsigned char>(today.tm_mday);
        }
        for (int k = 0; k < 4; ++k) header[4 + k] = static_cast<unsigned char>(total >> (8 * k));
        if (std::fseek(file, 0, SEEK_SET) != 0 || std::fwrite(header, 1, sizeof header, file) != sizeof header)
            throw fail(std::strerror(errno));
        const bool durable = std::fflush(file) == 0 && !sysutils::syncFails(error) && ::fsync(::fileno(file)) == 0;
        if (std::fclose(file) != 0 || !durable) throw writeFailed(std::strerror(error != 0 ? error : errno));
        uncounted = 0;
        takeName();
    }
};

class RowBuffer final : public com::Object<IRowBuffer> {
public:
    explicit RowBuffer(std::shared_ptr<const TableFile> table) : table_(std::move(table)) {
        for (const DbaseColumn& column : table_->columns) cells_.push_back(columnCell(column, com::Null{}));
    }

    com::Variant Value(std::int32_t index) override { return cells_[position(index)].value; }
    void put_Value(std::int32_t index, const com::Variant& value) override {
        const std::size_t k = position(index);
        cells_[k] = columnCell(table_->columns[k], value);
    }
    // Appends the row as a record: not deleted, then every column's text.
    void appendRecord(std::string& records) const {
        records += ' ';
        for (const ColumnCell& cell : cells_) records += cell.text;
    }
    com::ComPtr<IFields> Fields() override { return table_->fields; }

private:
    std::size_t position(std::int32_t index) const {
        if (index < 0 || static_cast<std::size_t>(index) >= cells_.size())
            throw hostError(HostFailure::Argument,
                            "Table " + table_->name + " has no field at position " + std::to_string(index));
        return static_cast<std::size_t>(index);
    }

    std::shared_ptr<const TableFile> table_;
    std::vector<ColumnCell> cells_;
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
        // The rows kept take one block, taken at the first: grown a row at a time, the
        // string would double past the limit and hold the old block beside the new one.
        if (buffering_ && pending_.capacity() < bufferedRowsBytes)
            pending_.reserve(bufferedRowsBytes + table_->recordLength());
        if (const auto* own = dynamic_cast<const RowBuffer*>(buffer.get())) {
            own->appendRecord(pending_);
        } else {
            // A row buffer of another table: its values are converted to this table's columns.
            std::string record(1, ' ');
            for (std::size_t k = 0; k < table_->columns.size(); ++k)
                record += columnCell(table_->columns[k], buffer->Value(static_cast<std::int32_t>(k))).text;
            pending_ += record;
        }
        ++pendingCount_;
        const std::int32_t number = inserted_++;
        if (!buffering_) {
            Flush();
        } else if (pending_.size() >= bufferedRowsBytes) {
            // Many rows: written ahead, still counted only at Flush, so that memory stays small.
            table_->writeRecords(pending_, pendingCount_, /*counted=*/false);
            pending_.clear();
            pendingCount_ = 0;
        }
        return number;
    }

    void Flush() override {
        const std::string records = std::move(pending_);
        const std::size_t count = pendingCount_;
        pending_.clear();
        pendingCount_ = 0;
        table_->writeRecords(records, count, /*counted=*/true);
    }

private:
    std::shared_ptr<const TableFile> table_;
    bool buffering_;
    std::string pending_;  // the records kept until Flush
    std::size_t pendingCount_ = 0;
    std::int32_t inserted_ = 0;
};

class DbaseTable final : public com::Object<ITable, IDataset, ITableFile> {
public:
    explicit DbaseTable(std::shared_ptr<const TableFile> table) : table_(std::move(table)) {}

    com::ComPtr<IFields> Fields() override { return table_->fields; }
    std::int32_t FindField(const std::string& name) override { return findField(*table_->fields, name); }
    com::ComPtr<ICursor> Insert(bool useBuffering) override {
        return com::make<ICursor, InsertCursor>(table_, useBuffering);
    }
    com::ComPtr<IRowBuffer> CreateRowBuffer() override { return com::make<IRowBuffer, RowBuffer>(table_); }
    std::string Name() override { return table_->name; }
    void Delete() override { table_->remove(); }
    std::string FilePath() override { return table_->location(); }

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

// shapelib names the file it creates after the table (its name and ".dbf"); the table
// is written into its temporary file instead.
thread_local const char* creatingIn = nullptr;

SAFile openCreatedFile(const char*, const char* access) {
    return reinterpret_cast<SAFile>(std::fopen(creatingIn, access));
}

// Writes the empty table into `path` (a fresh temporary file).
bool writeEmptyTable(const std::string& path, const std::vector<DbaseColumn>& columns) {
    SAHooks hooks = fileHooks();
    hooks.FOpen = openCreatedFile;
    hooks.Remove = [](const char*) { return 0; };  // shapelib's leftover code page file: there is none
    creatingIn = path.c_str();
    fileFailed = false;
    DbfFile file(DBFCreateLL(path.c_str(), "LDID/87", &hooks));
    creatingIn = nullptr;
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
    if (::lstat(table->path.c_str(), &status) == 0 || !awaitName(table->path))
        throw hostError(HostFailure::TableExists, "The table " + table->path + " exists already");
    auto file = std::make_unique<sysutils::TemporaryFileBeside>(table->path, ".tmp");
    std::string failure;
    if (!file->created()) {
        failure = file->error();
    } else {
        file->closeDescriptor();
        if (!writeEmptyTable(file->path(), table->columns)) failure = "writing failed";
    }
    if (!failure.empty()) {
        stopAwaitingName(table->path);
        throw table->writeFailed(failure);
    }
    table->building = std::move(file);
    return com::make<ITable, DbaseTable>(std::move(table));
}

}  // namespace gishost::model
