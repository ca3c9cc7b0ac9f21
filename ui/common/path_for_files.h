#pragma once

#include <QFile>
#include <QString>

#include <string>

namespace morvane {

// A path as the engine's file functions take it: bytes in the file system's own encoding.
inline std::string PathForFiles(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace morvane
