#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace morvane {

// The rows of a text copied from a spreadsheet or a text file: lines of fields separated by tabs,
// or by commas when the text holds no tab. Fields are trimmed; a last empty line is dropped.
QList<QStringList> SplitPastedRows(const QString& text);

// What a pasted field writes into the tag column: Abnormal or Normal in any letter case become
// the tag in its usual spelling, and so do 0 and 1 as data files write them; an empty field
// empties the cell, anything else leaves the cell as it was (nothing).
std::optional<QString> PastedTag(const QString& field);

// Why rows pasted with their first field at grid row firstRow, column firstCol are refused
// whole: the first field for the y or x column that is neither empty nor a number, named by its
// row and column. Nothing when every field can be written.
std::optional<QString> PasteRefusal(const QList<QStringList>& rows, int firstRow, int firstCol);

// Rows of cells as tab-separated lines, each ending in a line feed.
QString JoinCopiedRows(const QList<QStringList>& rows);

} // namespace morvane
