#include "register_test_support.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace morvane::register_test {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "morvane-register-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code error;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(path_, error);
}

RegisterRecord SampleRecord(int number, const std::string& workingPreparation) {
    const std::string n = std::to_string(number);
    RegisterRecord record;
    record.recordedAtUtc = "2026-12-07T10:57:0" + std::to_string(number % 10) + "Z";
    record.loginName = "jkowalska";
    record.hostName = "lab-pc-" + n;
    record.programVersion = "1.0.0";
    record.identifier = "ISI \"cal\" 'n" + n + "'";
    record.fileName = "/data/Zürich µ/set " + n + ".txt";
    record.referencePreparation = "RBT/16 – rabbit";
    record.workingPreparation = workingPreparation;
    record.referenceISI = "1.0" + n;
    record.referenceSEISI = "0.01";
    record.dataSetText = "line one\r\nline \"two\"\r\n\ttab; ünïcødé ✓ " + n + "\r\n";
    record.dataSetSha256 = std::string(63, 'a') + std::to_string(number % 10);
    record.runJson = "{\"isi\": 1.0" + n + ", \"note\": \"a\\nb\"}";
    record.reportText = "Report\r\nISI = 1.0" + n + "\r\n";
    record.isiWorking = 1.0 + number / 1000.0 + 1e-13;
    record.seIsiWorking = 0.0123456789012345;
    record.cvIsiWorking = 1.2345e-7;
    record.mnptWorking = 12.3 + number;
    record.mnptReference = -0.0;
    record.verdict = kVerdictMeets;
    return record;
}

std::string FileBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void WriteFileBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

ChildProcess::ChildProcess(const std::vector<std::string>& arguments) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        throw std::runtime_error("pipe failed");
    }
    pid_ = fork();
    if (pid_ == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        std::vector<char*> argv;
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    output_ = pipeEnds[0];
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        kill();
        wait();
    }
    if (output_ >= 0) {
        close(output_);
    }
}

bool ChildProcess::readLine(std::string& line) {
    for (;;) {
        const std::size_t end = buffered_.find('\n');
        if (end != std::string::npos) {
            line = buffered_.substr(0, end);
            buffered_.erase(0, end + 1);
            return true;
        }
        char chunk[4096];
        const ssize_t size = read(output_, chunk, sizeof chunk);
        if (size <= 0) {
            return false; // a last line without its newline was never wholly printed
        }
        buffered_.append(chunk, static_cast<std::size_t>(size));
    }
}

void ChildProcess::kill() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
    }
}

int ChildProcess::wait() {
    int status = 0;
    if (pid_ <= 0 || waitpid(pid_, &status, 0) != pid_) {
        return -1;
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::vector<std::int64_t> ReadPrintedIds(ChildProcess& writer) {
    std::vector<std::int64_t> ids;
    std::string line;
    while (writer.readLine(line)) {
        ids.push_back(std::stoll(line));
    }
    return ids;
}

std::string SqliteBackend::executeRaw(const std::string& sql) const {
    sqlite3* database = nullptr;
    std::string error;
    if (sqlite3_open_v2(location().c_str(), &database, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
        error = "cannot open";
    } else if (sqlite3_exec(database, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        error = sqlite3_errmsg(database);
    }
    sqlite3_close_v2(database);
    return error;
}

std::string PostgresServerUrl() {
    const char* url = std::getenv("MORVANE_TEST_POSTGRES_URL");
    return url == nullptr ? std::string() : std::string(url);
}

bool PostgresBackend::available() {
    return !PostgresServerUrl().empty();
}

std::string ExecutePostgres(const std::string& url, const std::string& sql) {
    PGconn* connection = PQconnectdb(url.c_str());
    std::string error;
    if (PQstatus(connection) != CONNECTION_OK) {
        error = PQerrorMessage(connection);
    } else {
        PGresult* result = PQexec(connection, sql.c_str());
        const ExecStatusType status = PQresultStatus(result);
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
            error = PQresultErrorMessage(result);
        }
        PQclear(result);
    }
    PQfinish(connection);
    return error;
}

PostgresBackend::PostgresBackend() {
    static std::atomic<int> counter{0};
    const std::string name =
        "morvane_test_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
    const std::string server = PostgresServerUrl();
    const std::string error = ExecutePostgres(server + "/postgres", "CREATE DATABASE " + name);
    if (!error.empty()) {
        throw std::runtime_error("cannot make a test database: " + error);
    }
    location_ = server + "/" + name;
}

std::string PostgresBackend::executeRaw(const std::string& sql) const {
    return ExecutePostgres(location_, sql);
}

} // namespace morvane::register_test
