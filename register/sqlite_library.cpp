// Loading SQLite at run time, once, when the first SQLite register is opened.
#include "sqlite_library.h"

#include "lot_register.h"

#include <dlfcn.h>
#include <string>

namespace morvane::register_storage {
namespace {

constexpr const char* kSqliteName = "libsqlite3.so.0";

[[noreturn]] void refuseLoading(const std::string& why) {
    throw RegisterError(std::string("The register cannot be opened: the SQLite library ") +
                        kSqliteName + " " + why + " (on Debian it comes with the package " +
                        "libsqlite3-0).");
}

template <class Function> void resolve(void* library, const char* name, Function& function) {
    void* symbol = dlsym(library, name);
    if (symbol == nullptr)
        refuseLoading(std::string("has no function ") + name);
    function = reinterpret_cast<Function>(symbol);
}

SqliteFunctions load() {
    void* library = dlopen(kSqliteName, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* error = dlerror();
        refuseLoading(std::string("could not be loaded: ") + (error ? error : "?"));
    }
    SqliteFunctions f{};
    resolve(library, "sqlite3_open_v2", f.open_v2);
    resolve(library, "sqlite3_close_v2", f.close_v2);
    resolve(library, "sqlite3_errmsg", f.errmsg);
    resolve(library, "sqlite3_errstr", f.errstr);
    resolve(library, "sqlite3_extended_result_codes", f.extended_result_codes);
    resolve(library, "sqlite3_busy_timeout", f.busy_timeout);
    resolve(library, "sqlite3_exec", f.exec);
    resolve(library, "sqlite3_prepare_v2", f.prepare_v2);
    resolve(library, "sqlite3_finalize", f.finalize);
    resolve(library, "sqlite3_bind_text64", f.bind_text64);
    resolve(library, "sqlite3_bind_int64", f.bind_int64);
    resolve(library, "sqlite3_bind_null", f.bind_null);
    resolve(library, "sqlite3_bind_double", f.bind_double);
    resolve(library, "sqlite3_step", f.step);
    resolve(library, "sqlite3_column_blob", f.column_blob);
    resolve(library, "sqlite3_column_bytes", f.column_bytes);
    resolve(library, "sqlite3_column_int64", f.column_int64);
    resolve(library, "sqlite3_column_type", f.column_type);
    resolve(library, "sqlite3_column_double", f.column_double);
    resolve(library, "sqlite3_last_insert_rowid", f.last_insert_rowid);
    return f;
}

} // namespace

const SqliteFunctions& Sqlite() {
    // A failed load throws out of the initialisation, and the next register tries again.
    static const SqliteFunctions functions = load();
    return functions;
}

} // namespace morvane::register_storage
