// Helpers shared by the window tests: fixture files, controls found by name, the clicks and keys
// of a user, and the main window driven through its menus.
#pragma once

#include "data_grid.h"
#include "editor_window.h"
#include "file_dialog.h"
#include "main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace morvane::test {

inline QString fixture(const QString& name) {
    return QStringLiteral(MORVANE_TEST_DATA_DIR "/") + name;
}

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Runs `inspect` on the modal window that opens next, while it is open (null when that window is
// not a Window).
template <typename Window> void whenShown(std::function<void(Window*)> inspect) {
    QTimer::singleShot(
        0, qApp, [inspect] { inspect(qobject_cast<Window*>(QApplication::activeModalWidget())); });
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

// Clicks the cell and enters the text as a user does: a tag from the tag list (Normal is its last
// item), a value typed on the grid, which passes it to the edit box, then Enter.
inline void enterIntoCell(QWidget* editor, int row, int col, const QString& text) {
    auto* grid = child<DataGrid>(editor, "Grid1");
    clickCell(grid, row, col);
    if (col == DataGrid::kTagCol)
        return QTest::keyClick(child<QComboBox>(editor, "Combotag"),
                               text == "Normal" ? Qt::Key_End : Qt::Key_Home);
    QTest::keyClicks(grid, text);
    QTest::keyClick(child<QLineEdit>(editor, "txtGrid"), Qt::Key_Return);
}

inline Qt::Key accessKey(const QString& caption) {
    return Qt::Key(caption.at(caption.indexOf('&') + 1).toUpper().unicode());
}

// The main window as a user drives it: menus by their access keys, files through scripted
// dialogs, messages recorded as "TITLE: TEXT".
class MainWindowDriver {
protected:
    RecordingMessageSink mMessages;
    ScriptedFileDialogs mDialogs;
    std::unique_ptr<MainWindow> mWindow;
    std::unique_ptr<QTemporaryDir> mFolder;

    void start(const QString& tcrit) {
        mWindow = std::make_unique<MainWindow>(mMessages, mDialogs, tcrit);
        mWindow->show();
        QApplication::setActiveWindow(mWindow.get());
        QVERIFY(QTest::qWaitForWindowActive(mWindow.get()));
    }
    void restart() {
        // Qt warns of a window misused (a null subwindow removed, say); the offscreen platform's
        // notes on what it cannot do are the only warnings expected.
        QTest::failOnWarning(QRegularExpression("^(?!This plugin does not support)"));
        mWindow.reset();
        qputenv("SOURCE_DATE_EPOCH", "86400"); // read by the command line only, never here
        mMessages = RecordingMessageSink();
        mDialogs = ScriptedFileDialogs();
        mFolder = std::make_unique<QTemporaryDir>();
        start(MORVANE_TCRIT_FILE);
    }
    QLineEdit* field(const char* name) const { return child<QLineEdit>(mWindow->editor(), name); }
    QString path(const char* name) const { return mFolder->filePath(name); }
    // Opens the menu with its access key, then chooses the item with its own.
    void choose(const char* menuName, const char* itemName) {
        auto* menu = child<QMenu>(mWindow.get(), menuName);
        QApplication::setActiveWindow(mWindow.get());
        QVERIFY(QTest::qWaitForWindowActive(mWindow.get()));
        QTest::keyClick(mWindow.get(), accessKey(menu->title()), Qt::AltModifier);
        QTRY_VERIFY(menu->isVisible());
        QTest::keyClick(menu, accessKey(child<QAction>(mWindow.get(), itemName)->text()));
        QTRY_VERIFY(!menu->isVisible());
    }
    // File > Open, then the fields ("name=text" into a field, "name" ticks a box) and Calibrate.
    void open(const QString& file, const QStringList& fields = {}) {
        mDialogs.answers = {fixture(file)};
        choose("mnuFile", "mnuFileItem1");
        for (const QString& entry : fields)
            if (entry.contains('='))
                replaceText(field(qPrintable(entry.section('=', 0, 0))), entry.section('=', 1));
            else
                tick(child<QCheckBox>(mWindow->editor(), qPrintable(entry)));
        QTest::mouseClick(child<QPushButton>(mWindow->editor(), "Command1"), Qt::LeftButton);
    }
    QStringList takeMessages() {
        QStringList shown;
        for (const Message& message : mMessages.messages)
            shown << QString::fromStdString(message.shownTitle() + ": " + message.text);
        mMessages.messages.clear();
        return shown;
    }
};

} // namespace morvane::test
