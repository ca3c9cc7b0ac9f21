#include "register_settings.h"

#include "lot_register.h"

#include <QSettings>

namespace morvane {

namespace {

const char* const kLocationKey = "Register/Location";
const char* const kRecordEveryRunKey = "Register/RecordEveryRun";

const char* const kOrganisation = "Morvane";
const char* const kProgram = "Morvane";

} // namespace

RegisterSettings LoadRegisterSettings() {
    const QSettings settings(kOrganisation, kProgram);
    return {settings.value(kLocationKey).toString().trimmed(),
            settings.value(kRecordEveryRunKey, false).toBool()};
}

void SaveRegisterSettings(const RegisterSettings& choices) {
    QSettings settings(kOrganisation, kProgram);
    settings.setValue(kLocationKey, choices.location.trimmed());
    settings.setValue(kRecordEveryRunKey, choices.recordEveryRun);
}

std::string RegisterLocationOf(const RegisterSettings& settings) {
    return settings.location.isEmpty() ? DefaultRegisterPath() : settings.location.toStdString();
}

} // namespace morvane
