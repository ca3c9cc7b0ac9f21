#pragma once

#include "lot_register.h"

#include <memory>
#include <string>

namespace morvane::register_storage {

std::unique_ptr<LotRegister> OpenSqliteRegister(const std::string& path, RegisterAccess access);
std::unique_ptr<LotRegister> OpenPostgresRegister(const std::string& url, RegisterAccess access);

// The message with every password the connection string holds (in the user part of the URL
// or as a password parameter, as written or decoded) replaced by "***".
std::string WithoutPasswords(std::string message, const std::string& url);

} // namespace morvane::register_storage
