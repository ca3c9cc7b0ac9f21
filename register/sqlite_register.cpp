// The lot register in an SQLite file: WAL journal, one IMMEDIATE transaction per record, and
// triggers that refuse any change to what is recorded. A file is checked before anything is
// written to it; one that is not a register, is damaged or holds another schema is refused and
// left byte for byte as it was.
#include "record_columns.h"
#include "register_backends.h"
#include "sqlite_library.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace morvane::register_storage {
namespace {

namespace fs = std::filesystem;

constexpr int kBusyTimeoutMilliseconds = 10000;
constexpr int kApplicationId = 0x4D6F7276; // "Morv" in the file header, for file(1) and friends
constexpr std::string_view kSqliteHeader{"SQLite format 3\0", 16};

// A failed SQLite call, with its result code; the register turns it into a RegisterError.
class SqliteFailure : public std::runtime_error {
public:
    SqliteFailure(int code, const std::string& message)
        : std::runtime_error(message), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

class Database {
public:
    Database(const std::string& name, int flags) {
        const int code = Sqlite().open_v2(name.c_str(), &handle_, flags, nullptr);
        if (code != SQLITE_OK) {
            const std::string message = handle_ ? Sqlite().errmsg(handle_) : Sqlite().errstr(code);
            Sqlite().close_v2(handle_);
            throw SqliteFailure(code, message);
        }
        Sqlite().extended_result_codes(handle_, 0);
        Sqlite().busy_timeout(handle_, kBusyTimeoutMilliseconds);
    }
    Database(Database&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Database& operator=(Database&&) = delete;
    ~Database() { Sqlite().close_v2(handle_); }

    sqlite3* handle() const { return handle_; }

    void check(int code) const {
        if (code != SQLITE_OK && code != SQLITE_ROW && code != SQLITE_DONE) {
            throw SqliteFailure(code, Sqlite().errmsg(handle_));
        }
    }
    void execute(const std::string& sql) const {
        check(Sqlite().exec(handle_, sql.c_str(), nullptr, nullptr, nullptr));
    }

private:
    sqlite3* handle_ = nullptr;
};

class Statement {
public:
    Statement(const Database& database, const std::string& sql) : database_(database) {
        database_.check(Sqlite().prepare_v2(database.handle(), sql.c_str(),
                                            static_cast<int>(sql.size()), &statement_, nullptr));
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() { Sqlite().finalize(statement_); }

    void bindText(int index, const std::string& text) {
        database_.check(Sqlite().bind_text64(statement_, index, text.data(), text.size(),
                                             SQLITE_TRANSIENT, SQLITE_UTF8));
    }
    void bindInteger(int index, std::int64_t value) {
        database_.check(Sqlite().bind_int64(statement_, index, value));
    }
    // SQLite keeps a NaN as NULL, so a NaN goes in as its text.
    void bindReal(int index, const std::optional<double>& value) {
        if (!value) {
            database_.check(Sqlite().bind_null(statement_, index));
        } else if (std::isnan(*value)) {
            bindText(index, DoubleText(*value));
        } else {
            database_.check(Sqlite().bind_double(statement_, index, *value));
        }
    }
    bool step() {
        const int code = Sqlite().step(statement_);
        database_.check(code);
        return code == SQLITE_ROW;
    }

    std::string text(int column) const {
        const auto* bytes = Sqlite().column_blob(statement_, column);
        const int size = Sqlite().column_bytes(statement_, column);
        return bytes ? std::string(static_cast<const char*>(bytes), size) : std::string();
    }
    std::int64_t integer(int column) const { return Sqlite().column_int64(statement_, column); }
    bool isNull(int column) const {
        return Sqlite().column_type(statement_, column) == SQLITE_NULL;
    }
    std::optional<double> real(int column) const {
        switch (Sqlite().column_type(statement_, column)) {
        case SQLITE_NULL:
            return std::nullopt;
        case SQLITE_TEXT:
            return DoubleFromText(text(column));
        default:
            return Sqlite().column_double(statement_, column);
        }
    }

private:
    const Database& database_;
    sqlite3_stmt* statement_ = nullptr;
};

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

[[noreturn]] void Refuse(const std::string& path, const std::string& why) {
    throw RegisterError("The register " + Quoted(path) + " " + why);
}

// ---- the schema ----

std::string RecordsTableDefinition() {
    std::string sql =
        std::string("CREATE TABLE ") + kRecordsTable + " (id INTEGER PRIMARY KEY AUTOINCREMENT";
    for (const TextColumn& column : kTextColumns) {
        sql += std::string(", ") + column.name + " TEXT NOT NULL";
    }
    for (const RealColumn& column : kRealColumns) {
        sql += std::string(", ") + column.name + " REAL";
    }
    return sql + ", " + kSupersedesColumn + " INTEGER REFERENCES " + kRecordsTable + "(id));\n";
}

std::string RefusingTrigger(const char* table, const char* change) {
    return std::string("CREATE TRIGGER ") + table + "_refuses_" + change + " BEFORE " + change +
           " ON " + table +
           " BEGIN SELECT RAISE(ABORT, 'the lot register is append-only: " + change + " of " +
           table + " refused'); END;\n";
}

std::string SchemaDefinition() {
    std::string sql = std::string("CREATE TABLE ") + kMetaTable +
                      " (key TEXT PRIMARY KEY NOT NULL, value TEXT NOT NULL);\n";
    sql += RecordsTableDefinition();
    sql += "CREATE INDEX lot_register_records_by_working_preparation ON " +
           std::string(kRecordsTable) + " (working_preparation, id);\n";
    for (const char* table : {kRecordsTable, kMetaTable}) {
        sql += RefusingTrigger(table, "UPDATE") + RefusingTrigger(table, "DELETE");
    }
    sql += std::string("INSERT INTO ") + kMetaTable + " (key, value) VALUES ('" + kMarkerKey +
           "', '" + kMarkerValue + "'), ('" + kSchemaVersionKey + "', '" +
           std::to_string(kRegisterSchemaVersion) + "');\n";
    return sql;
}

void WriteSchema(const std::string& path) {
    const Database database(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    database.execute("PRAGMA application_id = " + std::to_string(kApplicationId));
    database.execute("PRAGMA journal_mode = WAL");
    database.execute("BEGIN IMMEDIATE");
    database.execute(SchemaDefinition());
    database.execute("COMMIT");
}

std::string TemporaryNameBeside(const std::string& path) {
    std::random_device random;
    return path + ".new-" + std::to_string(getpid()) + "-" + std::to_string(random());
}

// The new register is made whole under a temporary name and then linked into place, so that
// no program ever sees a half-made register, and of two programs making it at once one wins
// and the other opens the winner's.
void CreateRegisterFile(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    std::error_code error;
    if (!parent.empty()) {
        fs::create_directories(parent, error);
    }
    if (error) {
        Refuse(path, "cannot be created: the folder " + Quoted(parent.string()) +
                         " cannot be made (" + error.message() + ").");
    }
    const std::string temporary = TemporaryNameBeside(path);
    try {
        WriteSchema(temporary);
    } catch (const SqliteFailure& failure) {
        fs::remove(temporary, error);
        Refuse(path, std::string("cannot be created: ") + failure.what() + ".");
    }
    const bool linked = link(temporary.c_str(), path.c_str()) == 0;
    const int linkError = errno;
    fs::remove(temporary, error);
    if (!linked && linkError != EEXIST) {
        Refuse(path, "cannot be created: " + std::generic_category().message(linkError) + ".");
    }
}

// ---- checking a file before use ----

void CheckFileHeader(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        Refuse(path, "cannot be opened for reading.");
    }
    std::string header(kSqliteHeader.size(), '\0');
    file.read(header.data(), static_cast<std::streamsize>(header.size()));
    if (file.gcount() == 0) {
        Refuse(path, "is an empty file, not a lot register; it was left as it is.");
    }
    if (header != kSqliteHeader) {
        Refuse(path, "is not a lot register (not an SQLite database); it was left as it is.");
    }
}

// The file name as an SQLite URI, for the query parameters only a URI can carry.
std::string FileUri(const std::string& path) {
    std::string uri = "file:";
    for (const char c : fs::absolute(path).string()) {
        if (c == '?' || c == '#' || c == '%') {
            constexpr char kHex[] = "0123456789ABCDEF";
            uri += {'%', kHex[(c >> 4) & 0xF], kHex[c & 0xF]};
        } else {
            uri += c;
        }
    }
    return uri;
}

bool CanReadSchema(const Database& database) {
    sqlite3_stmt* statement = nullptr;
    int code = Sqlite().prepare_v2(database.handle(), "SELECT count(*) FROM sqlite_master", -1,
                                   &statement, nullptr);
    if (code == SQLITE_OK) {
        code = Sqlite().step(statement);
    }
    Sqlite().finalize(statement);
    return code != SQLITE_CANTOPEN;
}

// A reading connection. A WAL register in a folder this user cannot write has no shared memory
// file to read through; with no write-ahead log beside it, all it holds is in the file itself,
// and it is read as unchanging.
Database OpenForReading(const std::string& path) {
    Database database(path, SQLITE_OPEN_READONLY);
    if (CanReadSchema(database) || fs::exists(path + "-wal")) {
        return database;
    }
    return Database(FileUri(path) + "?immutable=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
}

std::optional<std::string> MetaValue(const Database& database, const char* key) {
    Statement statement(database,
                        std::string("SELECT value FROM ") + kMetaTable + " WHERE key = ?");
    statement.bindText(1, key);
    if (!statement.step()) {
        return std::nullopt;
    }
    return statement.text(0);
}

bool HasMetaTable(const Database& database) {
    Statement statement(database, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                                  "name = ?");
    statement.bindText(1, kMetaTable);
    statement.step();
    return statement.integer(0) == 1;
}

void CheckIntegrity(const Database& database, const std::string& path) {
    Statement statement(database, "PRAGMA quick_check");
    std::string problems;
    while (statement.step()) {
        if (statement.text(0) != "ok") {
            problems += (problems.empty() ? "" : "; ") + statement.text(0);
        }
    }
    if (!problems.empty()) {
        Refuse(path, "is damaged (" + problems.substr(0, 300) +
                         "); it was left as it is. Restore it from a backup.");
    }
}

void CheckRegisterContent(const Database& database, const std::string& path) {
    if (!HasMetaTable(database) || MetaValue(database, kMarkerKey) != kMarkerValue) {
        Refuse(path, "is an SQLite database but not a lot register; it was left as it is.");
    }
    CheckSchemaVersion(MetaValue(database, kSchemaVersionKey).value_or(""), Quoted(path));
    CheckIntegrity(database, path);
}

[[noreturn]] void RefuseUnreadable(const std::string& path, const SqliteFailure& failure) {
    if (failure.code() == SQLITE_CORRUPT) {
        Refuse(path, std::string("is damaged (") + failure.what() +
                         "); it was left as it is. Restore it from a backup.");
    }
    if (failure.code() == SQLITE_NOTADB) {
        Refuse(path, "is not a lot register (not an SQLite database); it was left as it is.");
    }
    Refuse(path, std::string("cannot be read: ") + failure.what() + ".");
}

void CheckIsRegister(const std::string& path) {
    CheckFileHeader(path);
    try {
        const Database database = OpenForReading(path);
        CheckRegisterContent(database, path);
    } catch (const SqliteFailure& failure) {
        RefuseUnreadable(path, failure);
    }
}

// Read-only from the permission bits as well as from what this user may do: a superuser may
// write any file, but a register its owner made read-only is not recorded into.
bool FileIsWritable(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        return false;
    }
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && access(path.c_str(), W_OK) == 0;
}

// ---- the register ----

class SqliteRegister final : public LotRegister {
public:
    SqliteRegister(std::string path, Database database, std::string readOnlyReason)
        : path_(std::move(path)), database_(std::move(database)),
          readOnlyReason_(std::move(readOnlyReason)) {}

    std::int64_t record(const RegisterRecord& record) override {
        if (!readOnlyReason_.empty()) {
            Refuse(path_, "cannot take the record: " + readOnlyReason_ + ".");
        }
        return guarded("record into", [&] { return recordInTransaction(record); });
    }

    std::vector<RegisterRecord> list(const std::string& workingPreparation) override {
        return guarded("list", [&] { return selectRecords(workingPreparation); });
    }

    std::optional<RegisterRecord> find(std::int64_t id) override {
        return guarded("read", [&] { return selectRecord(id); });
    }

    std::string location() const override { return path_; }

private:
    template <class Action> auto guarded(const char* verb, Action action) -> decltype(action()) {
        try {
            return action();
        } catch (const SqliteFailure& failure) {
            throw RegisterError("Could not " + std::string(verb) + " the register " +
                                Quoted(path_) + ": " + failure.what() + ".");
        }
    }

    std::int64_t recordInTransaction(const RegisterRecord& record) {
        database_.execute("BEGIN IMMEDIATE");
        try {
            refuseMissingSupersedes(record);
            const std::int64_t id = insert(record);
            database_.execute("COMMIT");
            return id;
        } catch (...) {
            Sqlite().exec(database_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    }

    void refuseMissingSupersedes(const RegisterRecord& record) {
        if (record.supersedes && !selectRecord(*record.supersedes)) {
            Refuse(path_, "holds no record " + std::to_string(*record.supersedes) +
                              " for the new record to supersede; nothing was recorded.");
        }
    }

    std::int64_t insert(const RegisterRecord& record) {
        std::string placeholders = "?";
        for (std::size_t i = 1; i < std::size(kTextColumns) + std::size(kRealColumns) + 1; ++i) {
            placeholders += ", ?";
        }
        Statement statement(database_, std::string("INSERT INTO ") + kRecordsTable + " (" +
                                           RecordColumnList() + ") VALUES (" + placeholders + ")");
        int index = 1;
        for (const TextColumn& column : kTextColumns) {
            statement.bindText(index++, record.*column.field);
        }
        for (const RealColumn& column : kRealColumns) {
            statement.bindReal(index++, record.*column.field);
        }
        if (record.supersedes) {
            statement.bindInteger(index, *record.supersedes);
        }
        statement.step();
        return Sqlite().last_insert_rowid(database_.handle());
    }

    static RegisterRecord RecordAt(const Statement& statement) {
        RegisterRecord record;
        record.id = statement.integer(0);
        int index = 1;
        for (const TextColumn& column : kTextColumns) {
            record.*column.field = statement.text(index++);
        }
        for (const RealColumn& column : kRealColumns) {
            record.*column.field = statement.real(index++);
        }
        if (!statement.isNull(index)) {
            record.supersedes = statement.integer(index);
        }
        return record;
    }

    std::string selectFrom() const {
        return "SELECT id, " + RecordColumnList() + " FROM " + kRecordsTable;
    }

    std::vector<RegisterRecord> selectRecords(const std::string& workingPreparation) {
        const bool filtered = !workingPreparation.empty();
        Statement statement(database_, selectFrom() +
                                           (filtered ? " WHERE working_preparation = ?" : "") +
                                           " ORDER BY id");
        if (filtered) {
            statement.bindText(1, workingPreparation);
        }
        std::vector<RegisterRecord> records;
        while (statement.step()) {
            records.push_back(RecordAt(statement));
        }
        return records;
    }

    std::optional<RegisterRecord> selectRecord(std::int64_t id) {
        Statement statement(database_, selectFrom() + " WHERE id = ?");
        statement.bindInteger(1, id);
        if (!statement.step()) {
            return std::nullopt;
        }
        return RecordAt(statement);
    }

    std::string path_;
    Database database_;
    std::string readOnlyReason_;
};

std::string ReadOnlyReason(const std::string& path, RegisterAccess access) {
    if (access == RegisterAccess::ReadOnly) {
        return "it was opened for reading only";
    }
    if (!FileIsWritable(path)) {
        return "the file is read-only";
    }
    return {};
}

Database OpenForUse(const std::string& path, bool readOnly) {
    if (readOnly) {
        return OpenForReading(path);
    }
    Database database(path, SQLITE_OPEN_READWRITE);
    database.execute("PRAGMA foreign_keys = ON");
    database.execute("PRAGMA synchronous = FULL");
    return database;
}

} // namespace

std::unique_ptr<LotRegister> OpenSqliteRegister(const std::string& path, RegisterAccess access) {
    std::error_code error;
    if (fs::is_directory(path, error)) {
        Refuse(path, "is a folder, not a register file.");
    }
    if (!fs::exists(path, error)) {
        if (access == RegisterAccess::ReadOnly) {
            Refuse(path, "does not exist.");
        }
        CreateRegisterFile(path);
    }
    CheckIsRegister(path);
    std::string readOnlyReason = ReadOnlyReason(path, access);
    try {
        Database database = OpenForUse(path, !readOnlyReason.empty());
        return std::make_unique<SqliteRegister>(path, std::move(database),
                                                std::move(readOnlyReason));
    } catch (const SqliteFailure& failure) {
        RefuseUnreadable(path, failure);
    }
}

} // namespace morvane::register_storage
