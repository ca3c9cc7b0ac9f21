// What every register keeps and refuses, in an SQLite file and in a PostgreSQL database alike,
// and each backend's own cases: the files an SQLite register refuses and leaves untouched, and a
// PostgreSQL register in a database shared with other tables and whose password must not show.
#include "register_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <set>

namespace morvane::register_test {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;

template <class Backend> using RegisterStorageTest = RegisterTest<Backend>;
struct BackendNames {
    template <class Backend> static std::string GetName(int) { return Backend::kName; }
};
using Backends = ::testing::Types<SqliteBackend, PostgresBackend>;
TYPED_TEST_SUITE(RegisterStorageTest, Backends, BackendNames);

RegisterRecord WithId(RegisterRecord record, std::int64_t id) {
    record.id = id;
    return record;
}

TYPED_TEST(RegisterStorageTest, KeepsEveryFieldAsRecorded) {
    RegisterRecord empty = SampleRecord(2);
    empty.isiWorking = empty.seIsiWorking = empty.cvIsiWorking = std::nullopt;
    empty.mnptWorking = empty.mnptReference = std::nullopt;
    empty.fileName.clear();
    empty.verdict = kVerdictNotJudged;
    RegisterRecord infinite = SampleRecord(3);
    infinite.mnptWorking = std::numeric_limits<double>::infinity();
    infinite.mnptReference = -std::numeric_limits<double>::infinity();
    for (const RegisterRecord& record : {SampleRecord(1), empty, infinite}) {
        const std::int64_t id = this->open()->record(record);
        EXPECT_EQ(this->open(RegisterAccess::ReadOnly)->find(id), WithId(record, id));
    }
    RegisterRecord notANumber = SampleRecord(4);
    notANumber.isiWorking = std::numeric_limits<double>::quiet_NaN();
    const auto found = this->open()->find(this->open()->record(notANumber));
    ASSERT_TRUE(found && found->isiWorking);
    EXPECT_TRUE(std::isnan(*found->isiWorking));
}

TYPED_TEST(RegisterStorageTest, ListsOldestFirstAndByWorkingPreparationAndRefusesAReader) {
    const auto lotRegister = this->open();
    std::vector<RegisterRecord> expected;
    for (int i = 0; i < 4; ++i) {
        const RegisterRecord record = SampleRecord(i, i % 2 == 0 ? "Even lot" : "Odd lot");
        expected.push_back(WithId(record, lotRegister->record(record)));
    }
    const auto reader = this->open(RegisterAccess::ReadOnly);
    EXPECT_NE(Refusal([&] { reader->record(SampleRecord(5)); }).find("reading only"),
              std::string::npos);
    EXPECT_EQ(reader->list(), expected);
    EXPECT_EQ(lotRegister->list("Odd lot"),
              (std::vector<RegisterRecord>{expected[1], expected[3]}));
    EXPECT_TRUE(lotRegister->list("No such lot").empty());
    EXPECT_FALSE(lotRegister->find(expected.back().id + 1));
    EXPECT_FALSE(lotRegister->find(0));
}

TYPED_TEST(RegisterStorageTest, TheDatabaseRefusesToChangeOrDeleteARecord) {
    const RegisterRecord record = SampleRecord(4);
    const std::int64_t id = this->open()->record(record);
    for (const char* sql :
         {"UPDATE lot_register_records SET identifier = 'forged'",
          "DELETE FROM lot_register_records", "UPDATE lot_register_meta SET value = '9'",
          "DELETE FROM lot_register_meta"})
        // The trigger's own words: not some other failure of the statement.
        EXPECT_NE(this->backend_->executeRaw(sql).find("append-only"), std::string::npos) << sql;
    EXPECT_EQ(this->open()->list(), std::vector<RegisterRecord>{WithId(record, id)});
}

TYPED_TEST(RegisterStorageTest, ACorrectionMustNameARecordInTheRegister) {
    const auto lotRegister = this->open();
    const std::int64_t first = lotRegister->record(SampleRecord(1));
    RegisterRecord correction = SampleRecord(2);
    correction.supersedes = first + 10;
    EXPECT_NE(Refusal([&] {
                  lotRegister->record(correction);
              }).find("holds no record " + std::to_string(first + 10)),
              std::string::npos);
    correction.supersedes = first;
    correction.supersedesReason = "wrong reference ISI typed";
    const std::int64_t second = lotRegister->record(correction);
    EXPECT_EQ(this->open()->list().back(), WithId(correction, second));
    EXPECT_EQ(lotRegister->list().size(), 2u);
}

TYPED_TEST(RegisterStorageTest, TwoProgramsRecordingAtOnceLoseNoRecord) {
    Writer first(this->backend_->location(), 200), second(this->backend_->location(), 200);
    std::vector<std::int64_t> ids = first.ids();
    for (const std::int64_t id : second.ids())
        ids.push_back(id);
    EXPECT_EQ(first.wait(), 0);
    EXPECT_EQ(second.wait(), 0);
    EXPECT_EQ(std::set<std::int64_t>(ids.begin(), ids.end()).size(), 400u);
    const auto lotRegister = this->open(RegisterAccess::ReadOnly);
    EXPECT_EQ(lotRegister->list().size(), 400u);
    for (const std::int64_t id : ids)
        EXPECT_TRUE(lotRegister->find(id)) << id;
}

TYPED_TEST(RegisterStorageTest, AProgramKilledWhileRecordingLeavesEveryRecordItReported) {
    Writer writer(this->backend_->location(), 100000);
    std::vector<std::int64_t> ids = writer.ids(30);
    writer.kill();
    for (const std::int64_t id : writer.ids()) // those printed before the signal landed
        ids.push_back(id);
    EXPECT_EQ(writer.wait(), 128 + SIGKILL);
    const auto lotRegister = this->open();
    for (const std::int64_t id : ids)
        EXPECT_TRUE(lotRegister->find(id)) << id;
    EXPECT_GT(lotRegister->record(SampleRecord(1)), ids.back());
}

// ---- SQLite ----

class SqliteRegisterTest : public RegisterTest<SqliteBackend> {
protected:
    // The bytes of a register holding a few records, or of a database the SQL made.
    std::string registerBytes(int count) const {
        for (int i = 0; i < count; ++i) // closed again each time, so the file holds it all
            open()->record(SampleRecord(i));
        return ReadBytes(path());
    }
    std::string databaseBytes(const std::string& sql) const {
        fs::remove(path());
        EXPECT_EQ(backend_->executeRaw(sql), "");
        return ReadBytes(path());
    }
    std::string path() const { return backend_->location(); }
};

TEST_F(SqliteRegisterTest, MakesAMissingRegisterWithItsFoldersKeepingAWriteAheadLog) {
    const std::string path = (backend_->folder.path / "lab/coagulation/register.sqlite").string();
    const auto lotRegister = OpenLotRegister(path, RegisterAccess::ReadWrite);
    EXPECT_EQ(lotRegister->location(), path);
    EXPECT_TRUE(lotRegister->list().empty());
    // Bytes 18 and 19 of the header are 2 in a WAL database, 1 with a rollback journal.
    EXPECT_EQ(ReadBytes(path).substr(0, 20).erase(16, 2), std::string("SQLite format 3\0\2\2", 18));
}

TEST_F(SqliteRegisterTest, NeitherAMissingRegisterNorAFolderIsOpened) {
    EXPECT_THROW(open(RegisterAccess::ReadOnly), RegisterError);
    EXPECT_FALSE(fs::exists(path()));
    fs::create_directory(path());
    EXPECT_NE(Refusal([&] { open(); }).find("is a folder"), std::string::npos);
}

// Opening is refused, for reading and for recording alike, with a message naming the file and
// saying why, and the file keeps every byte it had.
TEST_F(SqliteRegisterTest, RefusesWhatIsNotAWholeRegisterOfThisSchemaLeavingItAsItWas) {
    std::string overwritten = registerBytes(40);
    ASSERT_GT(overwritten.size(), 40000u);
    const std::string cutShort = overwritten.substr(0, overwritten.size() / 2 + 100);
    for (std::size_t i = overwritten.size() / 2; i < overwritten.size() / 2 + 3000; ++i)
        overwritten[i] = static_cast<char>(i * 7919 % 251);
    const std::string meta = "CREATE TABLE lot_register_meta (key TEXT PRIMARY KEY, value TEXT);"
                             "INSERT INTO lot_register_meta VALUES ";
    const std::string notOurs = " is an SQLite database but not a lot register";
    const std::pair<std::string, std::string> cases[] = {
        {"Tag\tPT ref\tPT work\r\nN1\t12.1\t13.4\r\n", " is not a lot register"},
        {"", " is an empty file"},
        {databaseBytes("CREATE TABLE samples (id INTEGER); INSERT INTO samples VALUES (1)"),
         notOurs},
        {databaseBytes(meta + "('schema_version', '1')"), notOurs},
        {overwritten, " is damaged"},
        {cutShort, " is damaged"},
        {databaseBytes(meta + "('application', 'Morvane lot register'), ('schema_version', '2')"),
         " was made by a newer version of Morvane (register schema 2); this program reads "
         "schema 1"},
    };
    for (const auto& [bytes, words] : cases)
        for (const RegisterAccess access : {RegisterAccess::ReadWrite, RegisterAccess::ReadOnly}) {
            backend_->folder.write("register.sqlite", bytes);
            EXPECT_NE(Refusal([&] { open(access); }).find('"' + path() + '"' + words),
                      std::string::npos)
                << words;
            EXPECT_TRUE(ReadBytes(path()) == bytes) << words;
        }
}

TEST_F(SqliteRegisterTest, AReadOnlyFileIsListedButNotRecordedInto) {
    const std::string bytes = registerBytes(3);
    fs::permissions(path(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const auto lotRegister = open();
    EXPECT_EQ(lotRegister->list().size(), 3u);
    EXPECT_NE(Refusal([&] { lotRegister->record(SampleRecord(9)); }).find("the file is read-only"),
              std::string::npos);
    EXPECT_TRUE(ReadBytes(path()) == bytes);
}

// ---- PostgreSQL ----

using PostgresRegisterTest = RegisterTest<PostgresBackend>;

TEST_F(PostgresRegisterTest, MakesItsTablesBesideThoseOfOtherPrograms) {
    ASSERT_EQ(backend_->executeRaw("CREATE TABLE samples (id INT); INSERT INTO samples VALUES (7)"),
              "");
    const auto lotRegister = open();
    EXPECT_TRUE(lotRegister->find(lotRegister->record(SampleRecord(1))));
    EXPECT_EQ(backend_->executeRaw("DELETE FROM samples WHERE id = 7"), "");
}

TEST_F(PostgresRegisterTest, ADatabaseWithoutARegisterIsNotMadeOneForReading) {
    EXPECT_NE(Refusal([&] { open(RegisterAccess::ReadOnly); }).find("no lot register"),
              std::string::npos);
    EXPECT_NE(backend_->executeRaw("SELECT * FROM lot_register_meta"), "");
}

TEST_F(PostgresRegisterTest, RefusesARegisterOfANewerSchemaOrAnotherProgram) {
    ASSERT_EQ(backend_->executeRaw("CREATE TABLE lot_register_meta (key TEXT, value TEXT)"), "");
    EXPECT_NE(Refusal([&] { open(); }).find("not a lot register"), std::string::npos);
    ASSERT_EQ(backend_->executeRaw("INSERT INTO lot_register_meta VALUES ('application', "
                                   "'Morvane lot register'), ('schema_version', '2')"),
              "");
    for (const RegisterAccess access : {RegisterAccess::ReadWrite, RegisterAccess::ReadOnly})
        EXPECT_NE(Refusal([&] { open(access); })
                      .find("was made by a newer version of Morvane (register schema 2); "
                            "this program reads schema 1"),
                  std::string::npos);
    EXPECT_NE(backend_->executeRaw("SELECT * FROM lot_register_records"), "");
}

TEST_F(PostgresRegisterTest, TheDatabaseRefusesToEmptyTheRegister) {
    open()->record(SampleRecord(1));
    for (const std::string table : {"lot_register_records", "lot_register_meta"})
        EXPECT_NE(backend_->executeRaw("TRUNCATE " + table + " CASCADE")
                      .find("append-only: TRUNCATE of " + table),
                  std::string::npos);
    EXPECT_EQ(open(RegisterAccess::ReadOnly)->list().size(), 1u);
}

// The password is hidden in the location shown and in every message, libpq's own among them: a
// malformed escape in a password is quoted back by libpq.
TEST_F(PostgresRegisterTest, NoMessageOrLocationShowsThePassword) {
    const std::string server = PostgresServerUrl(); // postgresql://user@host:port
    const std::size_t at = server.find('@'), port = server.rfind(':') + 1;
    const auto withPassword = [&](const std::string& password, const std::string& portText) {
        return server.substr(0, at) + ":" + password + server.substr(at, port - at) + portText +
               "/" + backend_->name;
    };
    for (const std::string& url :
         {withPassword("Zq7-s3cret", "1"), withPassword("Zq7-s3cret%zz", server.substr(port))}) {
        const std::string message =
            Refusal([&] { OpenLotRegister(url, RegisterAccess::ReadWrite); });
        EXPECT_NE(message.find(":***@"), std::string::npos) << message;
        EXPECT_EQ(message.find("Zq7-s3cret"), std::string::npos) << message;
    }
    const std::string shown =
        OpenLotRegister(withPassword("Zq7-s3cret", server.substr(port)), RegisterAccess::ReadWrite)
            ->location();
    EXPECT_EQ(shown, withPassword("***", server.substr(port)));
}

} // namespace
} // namespace morvane::register_test
