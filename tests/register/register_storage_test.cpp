// What every register keeps and refuses, in an SQLite file and in a PostgreSQL database alike.
#include "register_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

namespace morvane::register_test {
namespace {

template <class Backend> class RegisterStorageTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Backend::available()) {
            GTEST_SKIP() << "no PostgreSQL test server (MORVANE_TEST_POSTGRES_URL)";
        }
        backend_ = std::make_unique<Backend>();
    }

    std::unique_ptr<LotRegister> open(RegisterAccess access = RegisterAccess::ReadWrite) {
        return OpenLotRegister(backend_->location(), access);
    }

    std::unique_ptr<ChildProcess> startWriter(int count) {
        return std::make_unique<ChildProcess>(std::vector<std::string>{
            MORVANE_REGISTER_WRITER, backend_->location(), std::to_string(count)});
    }

    std::unique_ptr<Backend> backend_;
};

struct BackendNames {
    template <class Backend> static std::string GetName(int) {
        return std::is_same_v<Backend, SqliteBackend> ? "SQLite" : "PostgreSQL";
    }
};
using Backends = ::testing::Types<SqliteBackend, PostgresBackend>;
TYPED_TEST_SUITE(RegisterStorageTest, Backends, BackendNames);

RegisterRecord WithId(RegisterRecord record, std::int64_t id) {
    record.id = id;
    return record;
}

TYPED_TEST(RegisterStorageTest, KeepsEveryFieldWithTheOptionalValuesPresent) {
    const RegisterRecord record = SampleRecord(1);
    const std::int64_t id = this->open()->record(record);
    EXPECT_EQ(this->open(RegisterAccess::ReadOnly)->find(id), WithId(record, id));
}

TYPED_TEST(RegisterStorageTest, KeepsEveryFieldWithTheOptionalValuesEmpty) {
    RegisterRecord record = SampleRecord(2);
    record.isiWorking = record.seIsiWorking = record.cvIsiWorking = std::nullopt;
    record.mnptWorking = record.mnptReference = std::nullopt;
    record.fileName.clear();
    record.verdict = kVerdictNotJudged;
    const std::int64_t id = this->open()->record(record);
    EXPECT_EQ(this->open()->find(id), WithId(record, id));
}

TYPED_TEST(RegisterStorageTest, KeepsValuesThatAreNotFinite) {
    RegisterRecord record = SampleRecord(3);
    record.isiWorking = std::numeric_limits<double>::quiet_NaN();
    record.mnptWorking = std::numeric_limits<double>::infinity();
    record.mnptReference = -std::numeric_limits<double>::infinity();
    const std::optional<RegisterRecord> found = this->open()->find(this->open()->record(record));
    ASSERT_TRUE(found && found->isiWorking && found->mnptWorking && found->mnptReference);
    EXPECT_TRUE(std::isnan(*found->isiWorking));
    EXPECT_EQ(found->mnptWorking, record.mnptWorking);
    EXPECT_EQ(found->mnptReference, record.mnptReference);
}

TYPED_TEST(RegisterStorageTest, ListsOldestFirstAndByWorkingPreparation) {
    const auto lotRegister = this->open();
    std::vector<RegisterRecord> expected;
    for (int i = 0; i < 4; ++i) {
        const RegisterRecord record = SampleRecord(i, i % 2 == 0 ? "Even lot" : "Odd lot");
        expected.push_back(WithId(record, lotRegister->record(record)));
    }
    EXPECT_EQ(this->open()->list(), expected);
    EXPECT_EQ(lotRegister->list("Odd lot"),
              (std::vector<RegisterRecord>{expected[1], expected[3]}));
    EXPECT_TRUE(lotRegister->list("No such lot").empty());
}

TYPED_TEST(RegisterStorageTest, FindsNothingForAnIdNotRecorded) {
    const auto lotRegister = this->open();
    const std::int64_t id = lotRegister->record(SampleRecord(1));
    EXPECT_FALSE(lotRegister->find(id + 1).has_value());
    EXPECT_FALSE(lotRegister->find(0).has_value());
}

TYPED_TEST(RegisterStorageTest, TheDatabaseRefusesToChangeOrDeleteARecord) {
    const RegisterRecord record = SampleRecord(4);
    const std::int64_t id = this->open()->record(record);
    const std::string table = "lot_register_records";
    for (const std::string& sql :
         {"UPDATE " + table + " SET identifier = 'forged'", "DELETE FROM " + table,
          std::string("UPDATE lot_register_meta SET value = '9'"),
          std::string("DELETE FROM lot_register_meta")}) {
        // The trigger's own words: not some other failure of the statement.
        EXPECT_NE(this->backend_->executeRaw(sql).find("append-only"), std::string::npos) << sql;
    }
    EXPECT_EQ(this->open()->list(), std::vector<RegisterRecord>{WithId(record, id)});
}

TYPED_TEST(RegisterStorageTest, ACorrectionNamesTheRecordItSupersedes) {
    const auto lotRegister = this->open();
    const std::int64_t first = lotRegister->record(SampleRecord(1));
    RegisterRecord correction = SampleRecord(2);
    correction.supersedes = first;
    correction.supersedesReason = "wrong reference ISI typed";
    const std::int64_t second = lotRegister->record(correction);
    EXPECT_EQ(lotRegister->find(second), WithId(correction, second));
}

TYPED_TEST(RegisterStorageTest, ACorrectionOfARecordNotInTheRegisterIsRefused) {
    const auto lotRegister = this->open();
    const std::int64_t first = lotRegister->record(SampleRecord(1));
    RegisterRecord correction = SampleRecord(2);
    correction.supersedes = first + 10;
    EXPECT_THROW(lotRegister->record(correction), RegisterError);
    EXPECT_EQ(lotRegister->list().size(), 1u);
    EXPECT_GT(lotRegister->record(SampleRecord(3)), first);
}

TYPED_TEST(RegisterStorageTest, ARegisterOpenedForReadingRefusesToRecord) {
    this->open()->record(SampleRecord(1));
    const auto lotRegister = this->open(RegisterAccess::ReadOnly);
    EXPECT_EQ(lotRegister->list().size(), 1u);
    try {
        lotRegister->record(SampleRecord(2));
        FAIL() << "recorded into a register opened for reading";
    } catch (const RegisterError& error) {
        EXPECT_NE(std::string(error.what()).find("reading only"), std::string::npos);
    }
    EXPECT_EQ(this->open()->list().size(), 1u);
}

TYPED_TEST(RegisterStorageTest, TwoProgramsRecordingAtOnceLoseNoRecord) {
    constexpr int kEach = 200;
    const auto first = this->startWriter(kEach);
    const auto second = this->startWriter(kEach);
    std::vector<std::int64_t> ids = ReadPrintedIds(*first);
    const std::vector<std::int64_t> secondIds = ReadPrintedIds(*second);
    ids.insert(ids.end(), secondIds.begin(), secondIds.end());
    EXPECT_EQ(first->wait(), 0);
    EXPECT_EQ(second->wait(), 0);
    EXPECT_EQ(std::set<std::int64_t>(ids.begin(), ids.end()).size(), 2u * kEach);
    const auto lotRegister = this->open(RegisterAccess::ReadOnly);
    EXPECT_EQ(lotRegister->list().size(), 2u * kEach);
    for (const std::int64_t id : ids) {
        EXPECT_TRUE(lotRegister->find(id)) << id;
    }
}

TYPED_TEST(RegisterStorageTest, AProgramKilledWhileRecordingLeavesEveryRecordItReported) {
    const auto writer = this->startWriter(100000);
    std::vector<std::int64_t> ids;
    std::string line;
    while (ids.size() < 30 && writer->readLine(line)) {
        ids.push_back(std::stoll(line));
    }
    writer->kill();
    const std::vector<std::int64_t> later = ReadPrintedIds(*writer);
    ids.insert(ids.end(), later.begin(), later.end());
    EXPECT_EQ(writer->wait(), 128 + 9);
    const auto lotRegister = this->open();
    for (const std::int64_t id : ids) {
        EXPECT_TRUE(lotRegister->find(id)) << id;
    }
    EXPECT_GE(lotRegister->list().size(), ids.size());
    EXPECT_GT(lotRegister->record(SampleRecord(1)), ids.back());
}

} // namespace
} // namespace morvane::register_test
