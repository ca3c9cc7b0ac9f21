#pragma once

#include "register_record.h"

#include <cstdint>
#include <optional>
#include <string>

namespace morvane::register_storage {

// The columns of the records table, the same in every backend. Each record field has one
// column; a listing reads them in this order, after the id and before supersedes.
struct TextColumn {
    const char* name;
    std::string RegisterRecord::*field;
};
struct RealColumn {
    const char* name;
    std::optional<double> RegisterRecord::*field;
};

inline constexpr TextColumn kTextColumns[] = {
    {"recorded_at_utc", &RegisterRecord::recordedAtUtc},
    {"login_name", &RegisterRecord::loginName},
    {"host_name", &RegisterRecord::hostName},
    {"program_version", &RegisterRecord::programVersion},
    {"identifier", &RegisterRecord::identifier},
    {"file_name", &RegisterRecord::fileName},
    {"reference_preparation", &RegisterRecord::referencePreparation},
    {"working_preparation", &RegisterRecord::workingPreparation},
    {"reference_isi", &RegisterRecord::referenceISI},
    {"reference_se_isi", &RegisterRecord::referenceSEISI},
    {"data_set_text", &RegisterRecord::dataSetText},
    {"data_set_sha256", &RegisterRecord::dataSetSha256},
    {"run_json", &RegisterRecord::runJson},
    {"report_text", &RegisterRecord::reportText},
    {"verdict", &RegisterRecord::verdict},
    {"supersedes_reason", &RegisterRecord::supersedesReason},
};
inline constexpr RealColumn kRealColumns[] = {
    {"isi_working", &RegisterRecord::isiWorking},
    {"se_isi_working", &RegisterRecord::seIsiWorking},
    {"cv_isi_working", &RegisterRecord::cvIsiWorking},
    {"mnpt_working", &RegisterRecord::mnptWorking},
    {"mnpt_reference", &RegisterRecord::mnptReference},
};
inline constexpr const char* kSupersedesColumn = "supersedes";

inline constexpr const char* kRecordsTable = "lot_register_records";
inline constexpr const char* kMetaTable = "lot_register_meta";
// The meta table's keys, and the marker that tells a lot register from any other database.
inline constexpr const char* kMarkerKey = "application";
inline constexpr const char* kMarkerValue = "Morvane lot register";
inline constexpr const char* kSchemaVersionKey = "schema_version";

// "recorded_at_utc, login_name, ..., supersedes": every column but the id, in reading order.
std::string RecordColumnList();

// The text of a schema version read from the meta table, checked against this program's.
void CheckSchemaVersion(const std::string& versionText, const std::string& location);

// Doubles as the shortest text that reads back to the same value, and back.
std::string DoubleText(double value);
double DoubleFromText(const std::string& text);

} // namespace morvane::register_storage
