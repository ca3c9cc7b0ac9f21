// A register of a test's own in either backend, sample records, and register_writer.
#pragma once

#include "lot_register.h"
#include "test_support.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <stdexcept>
#include <sys/wait.h>
#include <utility>

namespace morvane::register_test {

// A record with every field filled in, told apart from others by number.
inline RegisterRecord SampleRecord(int number, const std::string& workingPreparation = "WP lot 7") {
    const std::string n = std::to_string(number), digit = std::to_string(number % 10);
    return {.recordedAtUtc = "2026-12-07T10:57:0" + digit + "Z",
            .loginName = "jkowalska",
            .hostName = "lab-pc-" + n,
            .programVersion = "1.0.0",
            .identifier = "ISI \"cal\" 'n" + n + "'",
            .fileName = "/data/Zürich µ/set " + n + ".txt",
            .referencePreparation = "RBT/16 – rabbit",
            .workingPreparation = workingPreparation,
            .referenceISI = "1.0" + n,
            .referenceSEISI = "0.01",
            .dataSetText = "line one\r\nline \"two\"\r\n\ttab; ünïcødé ✓ " + n + "\r\n",
            .dataSetSha256 = std::string(63, 'a') + digit,
            .runJson = "{\"isi\": 1.0" + n + ", \"note\": \"a\\nb\"}",
            .reportText = "Report\r\nISI = 1.0" + n + "\r\n",
            .isiWorking = 1.0 + number / 1000.0 + 1e-13,
            .seIsiWorking = 0.0123456789012345,
            .cvIsiWorking = 1.2345e-7,
            .mnptWorking = 12.3 + number,
            .mnptReference = -0.0,
            .verdict = kVerdictMeets,
            .supersedes = std::nullopt,
            .supersedesReason = ""};
}

// The message of the RegisterError the action throws, or "" when it throws none.
template <class Action> std::string Refusal(Action action) {
    try {
        action();
    } catch (const RegisterError& error) {
        return error.what();
    }
    return "";
}

// register_writer recording `count` records, read through a pipe: it prints its process id, then
// each id it was given. A writer still running when dropped is killed.
class Writer {
public:
    Writer(const std::string& location, int count)
        : output_(popen(
              ("exec '" MORVANE_REGISTER_WRITER "' '" + location + "' " + std::to_string(count))
                  .c_str(),
              "r")),
          pid_(ids(1).at(0)) {}
    ~Writer() {
        kill();
        wait();
    }
    // The next ids printed, up to `most` of them.
    std::vector<std::int64_t> ids(std::size_t most = SIZE_MAX) {
        std::vector<std::int64_t> printed;
        for (char line[32]; printed.size() < most && std::fgets(line, sizeof line, output_);)
            printed.push_back(std::stoll(line));
        return printed;
    }
    void kill() const {
        if (output_)
            ::kill(static_cast<pid_t>(pid_), SIGKILL);
    }
    int wait() { // the exit status, or 128 + the signal that ended it
        const int status = output_ ? pclose(std::exchange(output_, nullptr)) : -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    std::FILE* output_;
    std::int64_t pid_;
};

// Runs SQL through the database's own client library; the error text, or "" when it ran.
inline std::string ExecuteSqlite(const std::string& path, const std::string& sql) {
    sqlite3* database = nullptr;
    std::string error;
    if (sqlite3_open(path.c_str(), &database) != SQLITE_OK ||
        sqlite3_exec(database, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        error = sqlite3_errmsg(database);
    sqlite3_close(database);
    return error;
}
inline std::string ExecutePostgres(const std::string& url, const std::string& sql) {
    PGconn* connection = PQconnectdb(url.c_str());
    PGresult* result = PQexec(connection, sql.c_str());
    const ExecStatusType status = PQresultStatus(result);
    const std::string error = status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK
                                  ? ""
                                  : std::string(PQerrorMessage(connection));
    PQclear(result);
    PQfinish(connection);
    return error;
}

// The test server's connection string without a database name ("postgresql://user@host:port").
inline std::string PostgresServerUrl() {
    const char* url = std::getenv("MORVANE_TEST_POSTGRES_URL");
    return url == nullptr ? "" : url;
}

// A register in an SQLite file of its own.
struct SqliteBackend {
    static constexpr const char* kName = "SQLite";
    static bool available() { return true; }
    std::string location() const { return (folder.path / "register.sqlite").string(); }
    std::string executeRaw(const std::string& sql) const { return ExecuteSqlite(location(), sql); }
    testing::TempFolder folder;
};

// A register in a database of its own on the test server (MORVANE_TEST_POSTGRES_URL).
struct PostgresBackend {
    static constexpr const char* kName = "PostgreSQL";
    static bool available() { return !PostgresServerUrl().empty(); }
    std::string location() const { return PostgresServerUrl() + "/" + name; }
    std::string executeRaw(const std::string& sql) const {
        return ExecutePostgres(location(), sql);
    }
    PostgresBackend() {
        if (const std::string error =
                ExecutePostgres(PostgresServerUrl() + "/postgres", "CREATE DATABASE " + name);
            !error.empty())
            throw std::runtime_error("cannot make a test database: " + error);
    }
    inline static std::atomic<int> made{0};
    std::string name = "morvane_test_" + std::to_string(getpid()) + "_" + std::to_string(++made);
};

// A test with a register of its own in the backend.
template <class Backend> class RegisterTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Backend::available())
            GTEST_SKIP() << "no PostgreSQL test server (MORVANE_TEST_POSTGRES_URL)";
        backend_ = std::make_unique<Backend>();
    }
    std::unique_ptr<LotRegister> open(RegisterAccess access = RegisterAccess::ReadWrite) const {
        return OpenLotRegister(backend_->location(), access);
    }
    std::unique_ptr<Backend> backend_;
};

} // namespace morvane::register_test
