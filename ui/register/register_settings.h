#pragma once

#include <QString>

#include <string>

namespace morvane {

// The user's choices about the lot register, kept in the program's settings file
// ($XDG_CONFIG_HOME/Morvane/Morvane.conf): where the register is (empty: the default file in
// the application data folder) and whether each successful run is recorded without asking.
struct RegisterSettings {
    QString location;
    bool recordEveryRun = false;
};

RegisterSettings LoadRegisterSettings();
void SaveRegisterSettings(const RegisterSettings& settings);

// The path or connection string the register is opened with.
std::string RegisterLocationOf(const RegisterSettings& settings);

} // namespace morvane
