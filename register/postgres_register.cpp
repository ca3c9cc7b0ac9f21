// The lot register in a PostgreSQL database.
#include "register_backends.h"

namespace morvane::register_storage {

std::unique_ptr<LotRegister> OpenPostgresRegister(const std::string& url, RegisterAccess) {
    throw RegisterError("The register " + RedactedRegisterLocation(url) +
                        " is a PostgreSQL database, which this build cannot open yet.");
}

} // namespace morvane::register_storage
