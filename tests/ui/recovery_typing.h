// What the recovery test's typist types into a fresh data editor, and how.
#pragma once

#include "recovery_copy.h"
#include "window_test_support.h"

namespace morvane::test {

// Texts that are no numbers, row 2 left empty between them; then the identifier.
inline const struct {
    int row, col;
    const char* text;
} kTypedCells[] = {{1, 2, "28,7"}, {3, 2, "Gerät \"½\""}, {1, 3, "abc"}};
inline const char* const kTypedIdentifier = "Lot 7, µ";

// Each text is typed as one key, letters beyond ASCII included.
inline void TypeIntoEditor(EditorWindow* editor) {
    const auto retype = [](QLineEdit* field, const char* text) {
        replaceText(field, QString());
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString::fromUtf8(text), {});
    };
    for (const auto& cell : kTypedCells) {
        clickCell(child<DataGrid>(editor, "Grid1"), cell.row, cell.col);
        retype(child<QLineEdit>(editor, "txtGrid"), cell.text);
        QTest::keyClick(child<QLineEdit>(editor, "txtGrid"), Qt::Key_Return);
    }
    retype(child<QLineEdit>(editor, "txtid"), kTypedIdentifier);
    tick(child<QCheckBox>(editor, "Chkbox1"));
}

// A fresh editor's grid and fields after the typing.
inline RecoveryContents Typed(GridCells grid, EditorFields fields) {
    for (const auto& cell : kTypedCells)
        grid.at(cell.row, cell.col) = cell.text;
    fields.txtid = kTypedIdentifier;
    fields.Chkbox1 = true;
    return {grid, fields};
}

} // namespace morvane::test
