#pragma once

#include "register_record.h"

#include <string>
#include <vector>

namespace morvane {

// The columns a listing shows for each record: id, date (UTC), working preparation,
// identifier, ISI ± SE, MNPT and the guideline verdict, as texts.
struct RegisterListingRow {
    std::string id;
    std::string date;
    std::string workingPreparation;
    std::string identifier;
    std::string isiWithSe; // "1.023 ± 0.012", or "" when the fit failed
    std::string mnpt;
    std::string verdict;
};
RegisterListingRow ListingRowOf(const RegisterRecord& record);

// `register list`: aligned text columns, CSV with a header line, or a JSON array of objects
// each with its "id".
std::string RegisterListText(const std::vector<RegisterRecord>& records);
std::string RegisterListCsv(const std::vector<RegisterRecord>& records);
std::string RegisterListJson(const std::vector<RegisterRecord>& records);

// `register export`: every field of each record as one JSON object per line.
std::string RegisterRecordJsonLine(const RegisterRecord& record);

} // namespace morvane
