// The lot register in a PostgreSQL database: the same tables as in an SQLite file, an identity
// column for the ids, and statement triggers that refuse UPDATE, DELETE and TRUNCATE. The
// schema is made in one transaction under an advisory lock, so two programs opening a new
// register at once make it once. The connection string is used to connect and then dropped;
// what is shown of it, and every message, has its password replaced by "***".
#include "libpq_library.h"
#include "record_columns.h"
#include "register_backends.h"

#include <optional>
#include <utility>
#include <vector>

namespace morvane::register_storage {
namespace {

// The advisory lock that makes the schema: "Morv" and the lot register's number 1.
constexpr const char* kSchemaLock = "SELECT pg_advisory_xact_lock(1299149430, 1)";

using Parameters = std::vector<std::optional<std::string>>;

std::string Trimmed(std::string message) {
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) {
        message.pop_back();
    }
    return message;
}

void IgnoreNotice(void*, const char*) {}

class Result {
public:
    Result(const LibpqFunctions& pq, PGresult* result) : pq_(pq), result_(result) {}
    Result(const Result&) = delete;
    Result& operator=(const Result&) = delete;
    ~Result() { pq_.clear(result_); }

    bool succeeded() const {
        const ExecStatusType status = pq_.resultStatus(result_);
        return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
    }
    std::string errorMessage() const { return Trimmed(pq_.resultErrorMessage(result_)); }
    int rows() const { return pq_.ntuples(result_); }
    bool isNull(int row, int column) const { return pq_.getisnull(result_, row, column) != 0; }
    std::string text(int row, int column) const {
        return std::string(pq_.getvalue(result_, row, column),
                           static_cast<std::size_t>(pq_.getlength(result_, row, column)));
    }

private:
    const LibpqFunctions& pq_;
    PGresult* result_;
};

class Connection {
public:
    Connection(const LibpqFunctions& pq, const std::string& url, std::string location)
        : pq_(pq), location_(std::move(location)), connection_(pq.connectdb(url.c_str())) {
        if (pq_.status(connection_) != CONNECTION_OK) {
            const std::string why = WithoutPasswords(Trimmed(pq_.errorMessage(connection_)), url);
            pq_.finish(connection_);
            throw RegisterError("Cannot reach the register " + location_ + ": " + why);
        }
        pq_.setNoticeProcessor(connection_, IgnoreNotice, nullptr);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() { pq_.finish(connection_); }

    const std::string& location() const { return location_; }

    // Runs one statement with its text parameters (nothing for NULL); throws RegisterError
    // saying what could not be done.
    std::unique_ptr<Result> run(const std::string& doing, const std::string& sql,
                                const Parameters& parameters = {}) const {
        std::vector<const char*> values;
        for (const std::optional<std::string>& parameter : parameters) {
            values.push_back(parameter ? parameter->c_str() : nullptr);
        }
        auto result = std::make_unique<Result>(
            pq_, pq_.execParams(connection_, sql.c_str(), static_cast<int>(values.size()), nullptr,
                                values.data(), nullptr, nullptr, 0));
        if (!result->succeeded()) {
            throw RegisterError("Could not " + doing + " the register " + location_ + ": " +
                                result->errorMessage());
        }
        return result;
    }

    // Several statements in one text, without parameters.
    void runScript(const std::string& doing, const std::string& sql) const {
        const Result result(pq_, pq_.exec(connection_, sql.c_str()));
        if (!result.succeeded()) {
            throw RegisterError("Could not " + doing + " the register " + location_ + ": " +
                                result.errorMessage());
        }
    }

    void rollback() const { pq_.clear(pq_.exec(connection_, "ROLLBACK")); }

private:
    const LibpqFunctions& pq_;
    std::string location_;
    PGconn* connection_;
};

// Runs the work in a transaction, rolled back when it throws.
template <class Work> auto InTransaction(const Connection& connection, Work work) {
    connection.runScript("begin a transaction in", "BEGIN");
    try {
        auto result = work();
        connection.runScript("commit to", "COMMIT");
        return result;
    } catch (...) {
        connection.rollback();
        throw;
    }
}

[[noreturn]] void Refuse(const Connection& connection, const std::string& why) {
    throw RegisterError("The register " + connection.location() + " " + why);
}

// ---- the schema ----

std::string RecordsTableDefinition() {
    std::string sql = std::string("CREATE TABLE ") + kRecordsTable +
                      " (id BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY";
    for (const TextColumn& column : kTextColumns) {
        sql += std::string(", ") + column.name + " TEXT NOT NULL";
    }
    for (const RealColumn& column : kRealColumns) {
        sql += std::string(", ") + column.name + " DOUBLE PRECISION";
    }
    return sql + ", " + kSupersedesColumn + " BIGINT REFERENCES " + kRecordsTable + "(id));\n";
}

std::string RefusingTrigger(const char* table) {
    return std::string("CREATE TRIGGER ") + table + "_append_only BEFORE UPDATE OR DELETE OR " +
           "TRUNCATE ON " + table +
           " FOR EACH STATEMENT EXECUTE FUNCTION lot_register_refuse_change();\n";
}

std::string SchemaDefinition() {
    std::string sql = std::string("CREATE TABLE ") + kMetaTable +
                      " (key TEXT PRIMARY KEY, value TEXT NOT NULL);\n";
    sql += RecordsTableDefinition();
    sql += "CREATE INDEX lot_register_records_by_working_preparation ON " +
           std::string(kRecordsTable) + " (working_preparation, id);\n";
    sql += "CREATE FUNCTION lot_register_refuse_change() RETURNS trigger LANGUAGE plpgsql AS "
           "$$BEGIN RAISE EXCEPTION 'the lot register is append-only: % of % refused', TG_OP, "
           "TG_TABLE_NAME; END$$;\n";
    sql += RefusingTrigger(kRecordsTable) + RefusingTrigger(kMetaTable);
    sql += std::string("INSERT INTO ") + kMetaTable + " (key, value) VALUES ('" + kMarkerKey +
           "', '" + kMarkerValue + "'), ('" + kSchemaVersionKey + "', '" +
           std::to_string(kRegisterSchemaVersion) + "');\n";
    return sql;
}

bool HasTable(const Connection& connection, const char* table) {
    return !connection.run("read", "SELECT to_regclass($1) IS NULL", {table})
                ->text(0, 0)
                .starts_with('t');
}

std::optional<std::string> MetaValue(const Connection& connection, const char* key) {
    const auto result = connection.run(
        "read", std::string("SELECT value FROM ") + kMetaTable + " WHERE key = $1", {key});
    if (result->rows() == 0) {
        return std::nullopt;
    }
    return result->text(0, 0);
}

void CheckRegisterContent(const Connection& connection) {
    if (MetaValue(connection, kMarkerKey) != kMarkerValue) {
        Refuse(connection, std::string("has a table ") + kMetaTable +
                               " that is not a lot register's; it was left as it is.");
    }
    CheckSchemaVersion(MetaValue(connection, kSchemaVersionKey).value_or(""),
                       connection.location());
}

// A database without the register's tables gets them; one with them is checked.
void MakeOrCheckSchema(const Connection& connection) {
    InTransaction(connection, [&] {
        connection.run("lock", kSchemaLock);
        if (!HasTable(connection, kMetaTable)) {
            if (HasTable(connection, kRecordsTable)) {
                Refuse(connection, std::string("has a table ") + kRecordsTable +
                                       " but no lot register in it; it was left as it is.");
            }
            connection.runScript("make", SchemaDefinition());
        }
        CheckRegisterContent(connection);
        return true;
    });
}

void CheckSchema(const Connection& connection) {
    if (!HasTable(connection, kMetaTable)) {
        Refuse(connection, "holds no lot register.");
    }
    CheckRegisterContent(connection);
}

// ---- the register ----

class PostgresRegister final : public LotRegister {
public:
    PostgresRegister(std::unique_ptr<Connection> connection, bool readOnly)
        : connection_(std::move(connection)), readOnly_(readOnly) {}

    std::int64_t record(const RegisterRecord& record) override {
        if (readOnly_) {
            Refuse(*connection_, "cannot take the record: it was opened for reading only.");
        }
        return InTransaction(*connection_, [&] {
            refuseMissingSupersedes(record);
            return insert(record);
        });
    }

    std::vector<RegisterRecord> list(const std::string& workingPreparation) override {
        if (workingPreparation.empty()) {
            return Records(*connection_->run("list", selectFrom() + " ORDER BY id"));
        }
        return Records(
            *connection_->run("list", selectFrom() + " WHERE working_preparation = $1 ORDER BY id",
                              {workingPreparation}));
    }

    std::optional<RegisterRecord> find(std::int64_t id) override {
        const std::vector<RegisterRecord> found = Records(
            *connection_->run("read", selectFrom() + " WHERE id = $1", {std::to_string(id)}));
        if (found.empty()) {
            return std::nullopt;
        }
        return found.front();
    }

    std::string location() const override { return connection_->location(); }

private:
    static std::string selectFrom() {
        return "SELECT id, " + RecordColumnList() + " FROM " + kRecordsTable;
    }

    void refuseMissingSupersedes(const RegisterRecord& record) {
        if (record.supersedes && !find(*record.supersedes)) {
            Refuse(*connection_, "holds no record " + std::to_string(*record.supersedes) +
                                     " for the new record to supersede; nothing was recorded.");
        }
    }

    std::int64_t insert(const RegisterRecord& record) {
        Parameters parameters;
        std::string placeholders;
        for (const TextColumn& column : kTextColumns) {
            parameters.push_back(record.*column.field);
        }
        for (const RealColumn& column : kRealColumns) {
            const std::optional<double>& value = record.*column.field;
            parameters.push_back(value ? std::optional(DoubleText(*value)) : std::nullopt);
        }
        parameters.push_back(record.supersedes ? std::optional(std::to_string(*record.supersedes))
                                               : std::nullopt);
        for (std::size_t i = 1; i <= parameters.size(); ++i) {
            placeholders += (i == 1 ? "$" : ", $") + std::to_string(i);
        }
        const auto result = connection_->run("record into",
                                             std::string("INSERT INTO ") + kRecordsTable + " (" +
                                                 RecordColumnList() + ") VALUES (" + placeholders +
                                                 ") RETURNING id",
                                             parameters);
        return std::stoll(result->text(0, 0));
    }

    static RegisterRecord RecordAt(const Result& result, int row) {
        RegisterRecord record;
        record.id = std::stoll(result.text(row, 0));
        int column = 1;
        for (const TextColumn& text : kTextColumns) {
            record.*text.field = result.text(row, column++);
        }
        for (const RealColumn& real : kRealColumns) {
            if (!result.isNull(row, column)) {
                record.*real.field = DoubleFromText(result.text(row, column));
            }
            ++column;
        }
        if (!result.isNull(row, column)) {
            record.supersedes = std::stoll(result.text(row, column));
        }
        return record;
    }

    static std::vector<RegisterRecord> Records(const Result& result) {
        std::vector<RegisterRecord> records;
        for (int row = 0; row < result.rows(); ++row) {
            records.push_back(RecordAt(result, row));
        }
        return records;
    }

    std::unique_ptr<Connection> connection_;
    bool readOnly_;
};

} // namespace

std::unique_ptr<LotRegister> OpenPostgresRegister(const std::string& url, RegisterAccess access) {
    const std::string location = RedactedRegisterLocation(url);
    auto connection = std::make_unique<Connection>(Libpq(location), url, location);
    connection->runScript("set up the connection to", "SET client_encoding TO 'UTF8'");
    const bool readOnly = access == RegisterAccess::ReadOnly;
    if (readOnly) {
        connection->runScript("set up the connection to",
                              "SET default_transaction_read_only TO on");
        CheckSchema(*connection);
    } else {
        MakeOrCheckSchema(*connection);
    }
    return std::make_unique<PostgresRegister>(std::move(connection), readOnly);
}

} // namespace morvane::register_storage
