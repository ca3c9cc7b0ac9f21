// Loading libpq at run time, once, when the first PostgreSQL register is opened.
#include "libpq_library.h"

#include "lot_register.h"

#include <dlfcn.h>

namespace morvane::register_storage {
namespace {

constexpr const char* kLibpqName = "libpq.so.5";

[[noreturn]] void RefuseLoading(const std::string& location, const std::string& why) {
    throw RegisterError("Cannot reach the register " + location + ": the PostgreSQL client " +
                        "library " + kLibpqName + " " + why +
                        " (on Debian it comes with the package libpq5).");
}

template <class Function>
void Resolve(void* library, const char* name, Function& function, const std::string& location) {
    void* symbol = dlsym(library, name);
    if (symbol == nullptr) {
        RefuseLoading(location, std::string("has no function ") + name);
    }
    function = reinterpret_cast<Function>(symbol);
}

LibpqFunctions Load(const std::string& location) {
    void* library = dlopen(kLibpqName, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* error = dlerror();
        RefuseLoading(location, std::string("could not be loaded: ") + (error ? error : "?"));
    }
    LibpqFunctions f{};
    Resolve(library, "PQconnectdb", f.connectdb, location);
    Resolve(library, "PQstatus", f.status, location);
    Resolve(library, "PQerrorMessage", f.errorMessage, location);
    Resolve(library, "PQfinish", f.finish, location);
    Resolve(library, "PQsetNoticeProcessor", f.setNoticeProcessor, location);
    Resolve(library, "PQexec", f.exec, location);
    Resolve(library, "PQexecParams", f.execParams, location);
    Resolve(library, "PQresultStatus", f.resultStatus, location);
    Resolve(library, "PQresultErrorMessage", f.resultErrorMessage, location);
    Resolve(library, "PQntuples", f.ntuples, location);
    Resolve(library, "PQgetvalue", f.getvalue, location);
    Resolve(library, "PQgetlength", f.getlength, location);
    Resolve(library, "PQgetisnull", f.getisnull, location);
    Resolve(library, "PQclear", f.clear, location);
    return f;
}

} // namespace

const LibpqFunctions& Libpq(const std::string& location) {
    // A failed load throws out of the initialisation, and the next register tries again.
    static const LibpqFunctions functions = Load(location);
    return functions;
}

} // namespace morvane::register_storage
