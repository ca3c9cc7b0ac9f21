#include "run_record.h"

#include "data_file.h"
#include "lot_register.h"
#include "sha256.h"
#include "text_encoding.h"
#include "version.h"

#include <cstdlib>
#include <ctime>
#include <unistd.h>

namespace morvane {

namespace {

std::string utcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[sizeof "2026-12-07T10:57:04Z"];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

// The login name from the environment a login sets; looking it up in the user database would
// need the system's name services, which a statically linked morvane-cli cannot load.
std::string loginName() {
    for (const char* variable : {"LOGNAME", "USER"})
        if (const char* name = std::getenv(variable); name != nullptr && *name != '\0')
            return name;
    return "uid " + std::to_string(geteuid());
}

std::string hostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}

std::string verdictOf(const CalibrationChecks& checks) {
    if (!checks.MeetsCriteria)
        return kVerdictNotJudged;
    return *checks.MeetsCriteria ? kVerdictMeets : kVerdictDoesNotMeet;
}

// The data file of the run's grid and header fields: its bytes for the digest, its text (in
// UTF-8, as stored) for the record.
void keepDataSet(const CalibrationSession& session, const GridCells& grid, RegisterRecord& record) {
    CalibrationDataSet data = session.calibration.data;
    RecordingMessageSink sink;
    const auto bytes = DataFileBytes(grid, session.fields, data, sink);
    if (!bytes)
        throw RegisterError("The data set cannot be recorded: " + sink.messages.back().text);
    record.dataSetText = Windows1252ToUtf8(*bytes);
    record.dataSetSha256 = Sha256Hex(*bytes);
    record.referencePreparation = data.ReferencePreparationName.text();
    record.workingPreparation = data.WorkingPreparationName.text();
}

void keepResults(const CalibrationSession& session, RegisterRecord& record) {
    const CalibrationResults& results = session.calibration.results;
    record.isiWorking = results.ISIWorking.number();
    record.seIsiWorking = results.SEISIWorking.number();
    record.cvIsiWorking = session.lastRun()->shown.results.CVISIWorking.number();
    record.mnptWorking = results.MNPTWorkingUsed.number();
    record.mnptReference = results.MNPTReferenceUsed.number();
    if (session.lastRun()->outcome == RunOutcome::FitFailed) {
        record.isiWorking = record.seIsiWorking = record.cvIsiWorking = std::nullopt;
        record.mnptWorking = record.mnptReference = std::nullopt;
    }
    record.verdict = verdictOf(session.checks());
}

} // namespace

RecordingContext RecordingContextNow() {
    return {utcNow(), loginName(), hostName()};
}

RegisterRecord RecordOfLastRun(const CalibrationSession& session, const GridCells& grid,
                               const std::vector<Message>& messages,
                               const RecordingContext& context) {
    RegisterRecord record;
    record.recordedAtUtc = context.recordedAtUtc;
    record.loginName = context.loginName;
    record.hostName = context.hostName;
    record.programVersion = kProgramVersion;
    record.identifier = session.fields.txtid;
    record.fileName = session.currentFileName;
    record.referenceISI = session.fields.txtISI;
    record.referenceSEISI = session.fields.txtSEISI;
    keepDataSet(session, grid, record);
    record.runJson = session.resultsJson(messages);
    record.reportText = session.lastRun()->reportText;
    keepResults(session, record);
    return record;
}

bool ReadDataSetOfRecord(const RegisterRecord& record, CalibrationDataSet& data,
                         MessageSink& sink) {
    const auto bytes = Utf8ToWindows1252(record.dataSetText);
    if (!bytes) {
        sink.show(DataErrorMessage(kCantOpenFileText));
        return false;
    }
    return ReadDataFileBytes(*bytes, data, sink) == FileReading::Read;
}

} // namespace morvane
