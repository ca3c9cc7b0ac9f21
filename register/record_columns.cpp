// The columns every backend's records table has, and the texts of the values in them.
#include "record_columns.h"

#include "lot_register.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace morvane::register_storage {

std::string RecordColumnList() {
    std::string list;
    for (const TextColumn& column : kTextColumns) {
        list += std::string(column.name) + ", ";
    }
    for (const RealColumn& column : kRealColumns) {
        list += std::string(column.name) + ", ";
    }
    return list + kSupersedesColumn;
}

void CheckSchemaVersion(const std::string& versionText, const std::string& location) {
    int version = 0;
    const auto [end, error] =
        std::from_chars(versionText.data(), versionText.data() + versionText.size(), version);
    if (error != std::errc() || end != versionText.data() + versionText.size()) {
        throw RegisterError("The register " + location + " names no schema version (\"" +
                            versionText + "\"); it is damaged or not a Morvane register.");
    }
    const std::string versions = "(register schema " + std::to_string(version) +
                                 "); this program reads schema " +
                                 std::to_string(kRegisterSchemaVersion) + ".";
    if (version > kRegisterSchemaVersion) {
        throw RegisterError("The register " + location +
                            " was made by a newer version of Morvane " + versions);
    }
    if (version != kRegisterSchemaVersion) {
        throw RegisterError("The register " + location + " has an unknown layout " + versions);
    }
}

std::string DoubleText(double value) {
    char text[64];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return std::string(text, error == std::errc() ? end : text);
}

double DoubleFromText(const std::string& text) {
    double value = std::numeric_limits<double>::quiet_NaN();
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

} // namespace morvane::register_storage
