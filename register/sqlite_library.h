#pragma once

#include <sqlite3.h>

namespace morvane::register_storage {

// The SQLite functions the register calls, found in libsqlite3.so.0 when the first SQLite
// register is opened. Loaded at run time for the reason libpq is (libpq_library.h): linked into
// the static morvane-cli, SQLite's data alone costs every start of the program a dozen more
// page faults, calibrations that never open a register included. The header gives the types
// only.
struct SqliteFunctions {
    decltype(&sqlite3_open_v2) open_v2;
    decltype(&sqlite3_close_v2) close_v2;
    decltype(&sqlite3_errmsg) errmsg;
    decltype(&sqlite3_errstr) errstr;
    decltype(&sqlite3_extended_result_codes) extended_result_codes;
    decltype(&sqlite3_busy_timeout) busy_timeout;
    decltype(&sqlite3_exec) exec;
    decltype(&sqlite3_prepare_v2) prepare_v2;
    decltype(&sqlite3_finalize) finalize;
    decltype(&sqlite3_bind_text64) bind_text64;
    decltype(&sqlite3_bind_int64) bind_int64;
    decltype(&sqlite3_bind_null) bind_null;
    decltype(&sqlite3_bind_double) bind_double;
    decltype(&sqlite3_step) step;
    decltype(&sqlite3_column_blob) column_blob;
    decltype(&sqlite3_column_bytes) column_bytes;
    decltype(&sqlite3_column_int64) column_int64;
    decltype(&sqlite3_column_type) column_type;
    decltype(&sqlite3_column_double) column_double;
    decltype(&sqlite3_last_insert_rowid) last_insert_rowid;
};

// The loaded functions; throws RegisterError when libsqlite3.so.0 cannot be loaded or lacks
// one of them.
const SqliteFunctions& Sqlite();

} // namespace morvane::register_storage
