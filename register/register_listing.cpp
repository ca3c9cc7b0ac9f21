#include "register_listing.h"

#include "json_text.h"
#include "number_format.h"
#include "utf8.h"

#include <algorithm>
#include <array>

namespace morvane {

namespace {

const char* const kCrLf = "\r\n";

std::string optionalJson(const std::optional<double>& number) {
    return number ? JsonNumber(*number) : "null";
}

std::string formatted(const std::optional<double>& number, const char* pattern) {
    return number ? FormatPattern(*number, pattern).value_or("") : "";
}

// "2026-12-07T10:57:04Z" as "2026-12-07 10:57 UTC"; another text as it stands.
std::string listedDate(const std::string& utc) {
    if (utc.size() != 20 || utc[10] != 'T' || utc[19] != 'Z')
        return utc;
    return utc.substr(0, 10) + " " + utc.substr(11, 5) + " UTC";
}

using ListingColumns = std::array<std::string, 7>;

ListingColumns columnsOf(const RegisterListingRow& row) {
    return {row.id,   row.date,   row.workingPreparation, row.identifier, row.isiWithSe,
            row.mnpt, row.verdict};
}

const ListingColumns kColumnTitles = {
    "Id", "Date", "Working preparation", "Identifier", "ISI ± SE", "MNPT", "Verdict"};

std::size_t shownWidth(const std::string& text) {
    return Utf8CharacterCount(text);
}

std::string joinedPadded(const ListingColumns& columns, const std::array<std::size_t, 7>& widths) {
    std::string line;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        line += columns[c];
        if (c + 1 < columns.size())
            line += std::string(widths[c] - shownWidth(columns[c]) + 2, ' ');
    }
    return line + kCrLf;
}

// A CSV field, quoted when it holds a comma, a quote or a line break (RFC 4180).
std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

std::string csvNumber(const std::optional<double>& number) {
    return number ? JsonNumber(*number) : "";
}

std::string supersedesJson(const RegisterRecord& record) {
    return record.supersedes ? std::to_string(*record.supersedes) : "null";
}

} // namespace

RegisterListingRow ListingRowOf(const RegisterRecord& record) {
    RegisterListingRow row;
    row.id = std::to_string(record.id);
    row.date = listedDate(record.recordedAtUtc);
    row.workingPreparation = record.workingPreparation;
    row.identifier = record.identifier;
    if (record.isiWorking)
        row.isiWithSe =
            formatted(record.isiWorking, "0.000") + " ± " + formatted(record.seIsiWorking, "0.000");
    row.mnpt = formatted(record.mnptWorking, "0.00");
    row.verdict = record.verdict;
    return row;
}

std::string RegisterListText(const std::vector<RegisterRecord>& records) {
    std::vector<ListingColumns> lines{kColumnTitles};
    for (const RegisterRecord& record : records)
        lines.push_back(columnsOf(ListingRowOf(record)));
    std::array<std::size_t, 7> widths{};
    for (const ListingColumns& line : lines)
        for (std::size_t c = 0; c < line.size(); ++c)
            widths[c] = std::max(widths[c], shownWidth(line[c]));
    std::string text;
    for (const ListingColumns& line : lines)
        text += joinedPadded(line, widths);
    return text;
}

std::string RegisterListCsv(const std::vector<RegisterRecord>& records) {
    std::string text = "id,recordedAtUtc,workingPreparation,identifier,isiWorking,seIsiWorking,"
                       "mnptWorking,verdict,supersedes";
    text += kCrLf;
    for (const RegisterRecord& r : records) {
        const std::string supersedes = r.supersedes ? std::to_string(*r.supersedes) : "";
        text += std::to_string(r.id) + "," + csvField(r.recordedAtUtc) + "," +
                csvField(r.workingPreparation) + "," + csvField(r.identifier) + "," +
                csvNumber(r.isiWorking) + "," + csvNumber(r.seIsiWorking) + "," +
                csvNumber(r.mnptWorking) + "," + csvField(r.verdict) + "," + supersedes + kCrLf;
    }
    return text;
}

std::string RegisterListJson(const std::vector<RegisterRecord>& records) {
    std::string text = "[";
    for (const RegisterRecord& r : records) {
        text += text.size() == 1 ? "\n" : ",\n";
        text += "  {\"id\": " + std::to_string(r.id) +
                ", \"recordedAtUtc\": " + JsonString(r.recordedAtUtc) +
                ", \"workingPreparation\": " + JsonString(r.workingPreparation) +
                ", \"identifier\": " + JsonString(r.identifier) +
                ", \"isiWorking\": " + optionalJson(r.isiWorking) +
                ", \"seIsiWorking\": " + optionalJson(r.seIsiWorking) +
                ", \"mnptWorking\": " + optionalJson(r.mnptWorking) +
                ", \"verdict\": " + JsonString(r.verdict) +
                ", \"supersedes\": " + supersedesJson(r) + "}";
    }
    return text + (records.empty() ? "]\n" : "\n]\n");
}

std::string RegisterRecordJsonLine(const RegisterRecord& r) {
    const std::pair<const char*, const std::string*> texts[] = {
        {"recordedAtUtc", &r.recordedAtUtc},
        {"loginName", &r.loginName},
        {"hostName", &r.hostName},
        {"programVersion", &r.programVersion},
        {"identifier", &r.identifier},
        {"fileName", &r.fileName},
        {"referencePreparation", &r.referencePreparation},
        {"workingPreparation", &r.workingPreparation},
        {"referenceISI", &r.referenceISI},
        {"referenceSEISI", &r.referenceSEISI},
        {"dataSetText", &r.dataSetText},
        {"dataSetSha256", &r.dataSetSha256},
        {"reportText", &r.reportText},
        {"verdict", &r.verdict},
        {"supersedesReason", &r.supersedesReason},
    };
    const std::pair<const char*, const std::optional<double>*> numbers[] = {
        {"isiWorking", &r.isiWorking},       {"seIsiWorking", &r.seIsiWorking},
        {"cvIsiWorking", &r.cvIsiWorking},   {"mnptWorking", &r.mnptWorking},
        {"mnptReference", &r.mnptReference},
    };
    std::string line = "{\"id\": " + std::to_string(r.id);
    for (const auto& [key, text] : texts)
        line += ", " + JsonString(key) + ": " + JsonString(*text);
    for (const auto& [key, number] : numbers)
        line += ", " + JsonString(key) + ": " + optionalJson(*number);
    line += ", \"supersedes\": " + supersedesJson(r);
    // The run's own JSON document is kept as it was written, on one line.
    std::string run = r.runJson.empty() ? "null" : r.runJson;
    std::erase(run, '\n');
    return line + ", \"run\": " + run + "}\n";
}

} // namespace morvane
