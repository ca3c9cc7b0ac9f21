// The PostgreSQL register's own cases: a database shared with other tables, a newer schema,
// TRUNCATE, and connection strings whose password must not show.
#include "register_test_support.h"

#include <gtest/gtest.h>

namespace morvane::register_test {
namespace {

class PostgresRegisterTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PostgresBackend::available()) {
            GTEST_SKIP() << "no PostgreSQL test server (MORVANE_TEST_POSTGRES_URL)";
        }
        backend_ = std::make_unique<PostgresBackend>();
    }

    std::string openingError(const std::string& url, RegisterAccess access) {
        try {
            OpenLotRegister(url, access);
        } catch (const RegisterError& error) {
            return error.what();
        }
        return "";
    }

    // The server's URL with a password in its user part and the port given.
    static std::string WithPassword(const std::string& password, const std::string& port) {
        std::string url = PostgresServerUrl();
        url.insert(url.find('@'), ":" + password);
        return url.substr(0, url.rfind(':') + 1) + port + "/postgres";
    }

    std::unique_ptr<PostgresBackend> backend_;
};

TEST_F(PostgresRegisterTest, MakesItsTablesBesideThoseOfOtherPrograms) {
    ASSERT_EQ(backend_->executeRaw("CREATE TABLE samples (id INT); INSERT INTO samples VALUES (7)"),
              "");
    const auto lotRegister = OpenLotRegister(backend_->location(), RegisterAccess::ReadWrite);
    const std::int64_t id = lotRegister->record(SampleRecord(1));
    EXPECT_TRUE(lotRegister->find(id));
    EXPECT_EQ(backend_->executeRaw("DELETE FROM samples WHERE id = 7"), "");
}

TEST_F(PostgresRegisterTest, ADatabaseWithoutARegisterIsNotMadeOneForReading) {
    EXPECT_NE(openingError(backend_->location(), RegisterAccess::ReadOnly).find("no lot register"),
              std::string::npos);
    EXPECT_NE(backend_->executeRaw("SELECT * FROM lot_register_meta"), "");
}

TEST_F(PostgresRegisterTest, RefusesARegisterOfANewerSchema) {
    ASSERT_EQ(
        backend_->executeRaw("CREATE TABLE lot_register_meta (key TEXT PRIMARY KEY, value TEXT);"
                             "INSERT INTO lot_register_meta VALUES "
                             "('application', 'Morvane lot register'), ('schema_version', '2')"),
        "");
    for (const RegisterAccess access : {RegisterAccess::ReadWrite, RegisterAccess::ReadOnly}) {
        EXPECT_NE(openingError(backend_->location(), access)
                      .find("was made by a newer version of Morvane (register schema 2); "
                            "this program reads schema 1"),
                  std::string::npos);
    }
    EXPECT_NE(backend_->executeRaw("SELECT * FROM lot_register_records"), "");
}

TEST_F(PostgresRegisterTest, RefusesAMetaTableOfAnotherProgram) {
    ASSERT_EQ(backend_->executeRaw("CREATE TABLE lot_register_meta (key TEXT, value TEXT)"), "");
    EXPECT_NE(
        openingError(backend_->location(), RegisterAccess::ReadWrite).find("not a lot register"),
        std::string::npos);
}

TEST_F(PostgresRegisterTest, TheDatabaseRefusesToEmptyTheRegister) {
    OpenLotRegister(backend_->location(), RegisterAccess::ReadWrite)->record(SampleRecord(1));
    EXPECT_NE(backend_->executeRaw("TRUNCATE lot_register_records CASCADE").find("append-only"),
              std::string::npos);
    EXPECT_NE(backend_->executeRaw("TRUNCATE lot_register_meta"), "");
    EXPECT_EQ(OpenLotRegister(backend_->location(), RegisterAccess::ReadOnly)->list().size(), 1u);
}

TEST_F(PostgresRegisterTest, NoMessageShowsThePassword) {
    const std::string password = "Zq7-s3cret";
    const std::string message =
        openingError(WithPassword(password, "1"), RegisterAccess::ReadWrite);
    EXPECT_NE(message, "");
    EXPECT_EQ(message.find(password), std::string::npos) << message;
    EXPECT_NE(message.find(":***@"), std::string::npos) << message;
}

TEST_F(PostgresRegisterTest, TheLocationShownHidesThePassword) {
    const std::string server = PostgresServerUrl();
    const std::string port = server.substr(server.rfind(':') + 1);
    const auto lotRegister =
        OpenLotRegister(WithPassword("Zq7-s3cret", port), RegisterAccess::ReadWrite);
    EXPECT_EQ(lotRegister->location().find("Zq7-s3cret"), std::string::npos);
    EXPECT_NE(lotRegister->location().find(":***@"), std::string::npos);
}

} // namespace
} // namespace morvane::register_test
