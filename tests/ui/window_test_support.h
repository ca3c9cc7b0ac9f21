// Helpers shared by the window tests: fixture files, controls found by name, and the clicks and
// keys of a user.
#pragma once

#include "data_grid.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QTest>

namespace morvane::test {

inline QString fixture(const QString& name) {
    return QStringLiteral(MORVANE_TEST_DATA_DIR "/") + name;
}

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

template <typename T> T* child(const QObject* parent, const char* name) {
    T* found = parent->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no child named %s", name);
    return found;
}

inline void replaceText(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

// On the tick box itself, which is where a check box reacts whatever the width of its text.
inline void tick(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->height() / 2, box->height() / 2));
}

// Rows and columns are counted from 1, as the grid's own numbers show them.
inline void clickCell(DataGrid* grid, int row, int col, Qt::KeyboardModifiers keys = {}) {
    const QModelIndex index = grid->model()->index(row - 1, col - 1);
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, keys, grid->visualRect(index).center());
}

} // namespace morvane::test
