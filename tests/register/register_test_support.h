#pragma once

#include "lot_register.h"

#include <filesystem>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace morvane::register_test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A record with every field filled in, told apart from others by number.
RegisterRecord SampleRecord(int number, const std::string& workingPreparation = "WP lot 7");

std::string FileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

// A program run with its standard output read line by line through a pipe.
class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The next whole line, or false at the end of the output.
    bool readLine(std::string& line);
    void kill();
    int wait(); // the exit status, or 128 + the signal that ended it

private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::string buffered_;
};

// The ids register_writer printed, one a line.
std::vector<std::int64_t> ReadPrintedIds(ChildProcess& writer);

// A register in an SQLite file of its own.
class SqliteBackend {
public:
    static bool available() { return true; }
    std::string location() const { return (folder_.path() / "register.sqlite").string(); }
    // Runs SQL on the register's file through SQLite itself; the error text, or "" when it ran.
    std::string executeRaw(const std::string& sql) const;

private:
    ScratchFolder folder_;
};

// A register in a database of its own on the test server (MORVANE_TEST_POSTGRES_URL).
class PostgresBackend {
public:
    PostgresBackend();
    static bool available();
    std::string location() const { return location_; }
    std::string executeRaw(const std::string& sql) const;

private:
    std::string location_;
};

// The test server's connection string without a database name ("postgresql://user@host:port").
std::string PostgresServerUrl();
// Runs SQL on a database through libpq itself; the error text, or "" when it ran.
std::string ExecutePostgres(const std::string& url, const std::string& sql);

} // namespace morvane::register_test
