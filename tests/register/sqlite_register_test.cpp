// The SQLite register's own cases: the files it refuses and leaves untouched, read-only files,
// and where a new register is made.
#include "register_test_support.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>

namespace morvane::register_test {
namespace {

namespace fs = std::filesystem;

class SqliteRegisterTest : public ::testing::Test {
protected:
    fs::path file(const std::string& name = "register.sqlite") const {
        return folder_.path() / name;
    }

    // A register holding a few records, closed again.
    fs::path registerWithRecords(int count = 40) const {
        const auto lotRegister = OpenLotRegister(file().string(), RegisterAccess::ReadWrite);
        for (int i = 0; i < count; ++i) {
            lotRegister->record(SampleRecord(i));
        }
        return file();
    }

    // Opening the file is refused with a message naming it and holding the words, and the file
    // keeps every byte it had.
    static void ExpectRefusedUnchanged(const fs::path& path, const std::string& words,
                                       RegisterAccess access = RegisterAccess::ReadWrite) {
        const std::string before = FileBytes(path);
        try {
            OpenLotRegister(path.string(), access);
            ADD_FAILURE() << "opened " << path;
        } catch (const RegisterError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(path.string()), std::string::npos) << message;
            EXPECT_NE(message.find(words), std::string::npos) << message;
        }
        EXPECT_EQ(FileBytes(path), before);
    }

    static void ExecuteSql(const fs::path& path, const std::string& sql) {
        sqlite3* database = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &database), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(database, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
            << sqlite3_errmsg(database);
        sqlite3_close(database);
    }

    ScratchFolder folder_;
};

TEST_F(SqliteRegisterTest, MakesAMissingRegisterWithItsFolders) {
    const fs::path path = folder_.path() / "lab" / "coagulation" / "register.sqlite";
    const auto lotRegister = OpenLotRegister(path.string(), RegisterAccess::ReadWrite);
    EXPECT_TRUE(fs::is_regular_file(path));
    EXPECT_EQ(lotRegister->location(), path.string());
    EXPECT_TRUE(lotRegister->list().empty());
    EXPECT_EQ(FileBytes(path).substr(0, 16), std::string("SQLite format 3\0", 16));
}

TEST_F(SqliteRegisterTest, ANewRegisterKeepsAWriteAheadLog) {
    const fs::path path = registerWithRecords(1);
    const std::string header = FileBytes(path);
    // Bytes 18 and 19 of the header are 2 in a WAL database, 1 with a rollback journal.
    EXPECT_EQ(header[18], 2);
    EXPECT_EQ(header[19], 2);
}

TEST_F(SqliteRegisterTest, AMissingRegisterIsNotMadeForReading) {
    EXPECT_THROW(OpenLotRegister(file().string(), RegisterAccess::ReadOnly), RegisterError);
    EXPECT_FALSE(fs::exists(file()));
}

TEST_F(SqliteRegisterTest, RefusesATextFile) {
    WriteFileBytes(file(), "Tag\tPT ref\tPT work\r\nN1\t12.1\t13.4\r\n");
    ExpectRefusedUnchanged(file(), "not a lot register");
}

TEST_F(SqliteRegisterTest, RefusesAnEmptyFile) {
    WriteFileBytes(file(), "");
    ExpectRefusedUnchanged(file(), "empty");
}

TEST_F(SqliteRegisterTest, RefusesADatabaseOfAnotherProgram) {
    ExecuteSql(file(), "CREATE TABLE samples (id INTEGER, value REAL);"
                       "INSERT INTO samples VALUES (1, 2.5);");
    ExpectRefusedUnchanged(file(), "not a lot register");
}

TEST_F(SqliteRegisterTest, RefusesADatabaseWithAMetaTableButNoMarker) {
    ExecuteSql(file(), "CREATE TABLE lot_register_meta (key TEXT, value TEXT);"
                       "INSERT INTO lot_register_meta VALUES ('schema_version', '1');");
    ExpectRefusedUnchanged(file(), "not a lot register");
}

TEST_F(SqliteRegisterTest, RefusesARegisterOverwrittenInTheMiddle) {
    const fs::path path = registerWithRecords();
    std::string bytes = FileBytes(path);
    ASSERT_GT(bytes.size(), 40000u);
    for (std::size_t i = bytes.size() / 2; i < bytes.size() / 2 + 3000; ++i) {
        bytes[i] = static_cast<char>(i * 7919 % 251);
    }
    WriteFileBytes(path, bytes);
    ExpectRefusedUnchanged(path, "damaged");
}

TEST_F(SqliteRegisterTest, RefusesARegisterCutShort) {
    const fs::path path = registerWithRecords();
    const std::string bytes = FileBytes(path);
    WriteFileBytes(path, bytes.substr(0, bytes.size() / 2 + 100));
    ExpectRefusedUnchanged(path, "damaged");
}

TEST_F(SqliteRegisterTest, RefusesARegisterOfANewerSchema) {
    ExecuteSql(file(), "CREATE TABLE lot_register_meta (key TEXT PRIMARY KEY, value TEXT);"
                       "INSERT INTO lot_register_meta VALUES "
                       "('application', 'Morvane lot register'), ('schema_version', '2');");
    ExpectRefusedUnchanged(file(), "was made by a newer version of Morvane (register schema 2); "
                                   "this program reads schema 1");
    ExpectRefusedUnchanged(file(), "newer version", RegisterAccess::ReadOnly);
}

TEST_F(SqliteRegisterTest, AReadOnlyFileIsListedButNotRecordedInto) {
    const fs::path path = registerWithRecords(3);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string before = FileBytes(path);
    const auto lotRegister = OpenLotRegister(path.string(), RegisterAccess::ReadWrite);
    EXPECT_EQ(lotRegister->list().size(), 3u);
    try {
        lotRegister->record(SampleRecord(9));
        ADD_FAILURE() << "recorded into a read-only file";
    } catch (const RegisterError& error) {
        EXPECT_NE(std::string(error.what()).find("read-only"), std::string::npos);
    }
    EXPECT_EQ(FileBytes(path), before);
}

TEST_F(SqliteRegisterTest, AFolderIsNotARegister) {
    fs::create_directory(file());
    EXPECT_THROW(OpenLotRegister(file().string(), RegisterAccess::ReadWrite), RegisterError);
}

} // namespace
} // namespace morvane::register_test
