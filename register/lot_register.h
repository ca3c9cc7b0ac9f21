#pragma once

#include "register_record.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace morvane {

// The schema version this program writes; a register of another version is refused.
inline constexpr int kRegisterSchemaVersion = 1;

// Why a register could not be opened, read or written, in words for the user (the message
// never holds a password).
class RegisterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class RegisterAccess {
    ReadOnly,  // list and show; never writes, never creates
    ReadWrite, // also record; a missing SQLite file is created with the schema
};

// The register of calibration records: append-only. Records are never updated or deleted, by
// this program or (through the database's own triggers or rules) by anyone else.
class LotRegister {
public:
    virtual ~LotRegister() = default;

    // Appends the record in one transaction and returns the id it was given. The id and the
    // record's own id field are ignored on the way in. Throws RegisterError (read-only
    // register, a supersedes id that is not in the register, database failure).
    virtual std::int64_t record(const RegisterRecord& record) = 0;

    // Every record, oldest first; with a working preparation given, only that preparation's.
    virtual std::vector<RegisterRecord> list(const std::string& workingPreparation = {}) = 0;

    // The record with the id, or nothing.
    virtual std::optional<RegisterRecord> find(std::int64_t id) = 0;

    // The register's location as it may be shown: a path, or the connection string with any
    // password replaced by "***".
    virtual std::string location() const = 0;
};

// Opens the register at a file path (SQLite) or a "postgresql://" or "postgres://" connection
// string (PostgreSQL). Throws RegisterError when it is not a register, is damaged, holds
// another schema version, or cannot be reached.
std::unique_ptr<LotRegister> OpenLotRegister(const std::string& pathOrUrl, RegisterAccess access);

// The desktop's default register file: the user's application data folder
// ($XDG_DATA_HOME, else ~/.local/share, then "Morvane") and "register.sqlite" in it, the same
// folder the desktop program's QStandardPaths::AppDataLocation names.
std::string DefaultRegisterPath();

// Whether the location names a PostgreSQL register ("postgresql://" or "postgres://") rather
// than an SQLite file.
bool IsRegisterConnectionString(const std::string& location);

// The connection string or path with the password of a connection string replaced by "***".
std::string RedactedRegisterLocation(const std::string& pathOrUrl);

} // namespace morvane
