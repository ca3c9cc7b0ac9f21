// The main window driven through its menus (by their access keys), the data editor's controls,
// scripted message boxes and scripted file dialogs: start-up, New, Open, Save Data As, the
// calibration run with its messages and menu states, the results window and its file, Delete
// Row, the plot commands, About, dropped and command-line files, and Exit.
#include "data_grid.h"
#include "editor_window.h"
#include "file_dialog.h"
#include "main_window.h"
#include "print_dialog.h"
#include "results_window.h"
#include "version.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace morvane;

namespace {

const QString kDataFilter = QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt");
const QString kApplicationTitle = QStringLiteral("TIRONEX 3.1");
const QString kNewQuestion =
    kApplicationTitle +
    QStringLiteral(": Data and results will be erased.  Are you sure you want to "
                   "proceed?");
const QString kDeleteQuestion =
    kApplicationTitle + QStringLiteral(": The selected row will be erased.  Are you sure you want "
                                       "to proceed?");
const QString kCloseResultsQuestion =
    kApplicationTitle + QStringLiteral(": Closing this window will erase results.  Are you sure "
                                       "you want to close the window?");

// The menu items whose enabling changes, and those enabled at start-up.
const QStringList kChangingItems = {"mnuFileItem3", "mnuFileItem5", "mnuDataEditor",
                                    "mnuResults",   "mnuGraph",     "mnuMakePlot",
                                    "mnuCopyPlot",  "mnuSavePlot",  "mnuPlotOptions"};
const QStringList kAlwaysEnabled = {"mnuFileItem0", "mnuFileItem1", "mnuFileItem2",
                                    "mnuFileItem7", "mnuDeleteRow", "mnuAbout"};
const QStringList kReportItems = {"mnuFileItem3", "mnuFileItem5", "mnuDataEditor", "mnuResults"};
const QStringList kPlotItems = {"mnuMakePlot", "mnuPlotOptions"};

QString fixture(const char* name) {
    return QStringLiteral(MORVANE_TEST_DATA_DIR "/") + QLatin1String(name);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Twips to pixels at a logical resolution: 1440 twips to the inch.
int twips(int value, int dotsPerInch) {
    return qRound(value * dotsPerInch / 1440.0);
}

Qt::Key accessKey(const QString& caption) {
    return Qt::Key(caption.at(caption.indexOf(QLatin1Char('&')) + 1).toUpper().unicode());
}

// The samples of ui_calibration.txt as the grid shows them: tag, y, x.
const QStringList kFixtureRows = {"Normal,12.4,13.1",   "Normal,12.9,13.8",   "Normal,11.8,12.6",
                                  "Normal,13.2,14.3",   "Normal,12.6,13.4",   "Abnormal,21.5,24",
                                  "Abnormal,25.3,28.9", "Abnormal,30.1,35.2", "Abnormal,34.8,41",
                                  "Abnormal,39.6,47.5", "Abnormal,44.2,53.8", "Abnormal,27.7,31.9",
                                  "Abnormal,46,56.1"};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    RecordingMessageSink mMessages;
    ScriptedFileDialogs mDialogs;
    std::unique_ptr<MainWindow> mWindow;
    std::unique_ptr<QTemporaryDir> mFolder;

    void start(const QString& tcrit = QStringLiteral(MORVANE_TCRIT_FILE)) {
        mWindow = std::make_unique<MainWindow>(mMessages, mDialogs, tcrit);
        mWindow->show();
        QApplication::setActiveWindow(mWindow.get());
        QVERIFY(QTest::qWaitForWindowActive(mWindow.get()));
    }

    EditorWindow* editor() const { return mWindow->editor(); }
    DataGrid* grid() const { return editor()->findChild<DataGrid*>(QStringLiteral("Grid1")); }
    QLineEdit* field(const QString& name) const { return editor()->findChild<QLineEdit*>(name); }
    QAction* item(const QString& name) const { return mWindow->findChild<QAction*>(name); }
    QString editorCaption() const { return editor()->windowTitle(); }

    // Opens the menu with its access key, then chooses the item with its own.
    void choose(const char* menuName, const char* itemName) {
        auto* menu = mWindow->findChild<QMenu*>(QLatin1String(menuName));
        QVERIFY(menu);
        if (QApplication::activeWindow() != mWindow.get()) {
            QApplication::setActiveWindow(mWindow.get());
            QVERIFY(QTest::qWaitForWindowActive(mWindow.get()));
        }
        QTest::keyClick(mWindow.get(), accessKey(menu->title()), Qt::AltModifier);
        QTRY_VERIFY(menu->isVisible());
        QTest::keyClick(menu, accessKey(item(QLatin1String(itemName))->text()));
        QTRY_VERIFY(!menu->isVisible());
    }
    void chooseAbout() { QTest::keyClick(mWindow.get(), Qt::Key_A, Qt::AltModifier); }

    void openFile(const QString& path) {
        mDialogs.answers = {path};
        choose("mnuFile", "mnuFileItem1");
    }
    void calibrate() {
        QTest::mouseClick(editor()->findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
    }
    void setField(const QString& name, const QString& text) {
        QLineEdit* edit = field(name);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    void clickCell(int row, int col) {
        const QModelIndex index = grid()->model()->index(row - 1, col - 1);
        grid()->scrollTo(index);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->visualRect(index).center());
    }
    void clickRowNumber(int row) {
        QHeaderView* header = grid()->verticalHeader();
        const QPoint centre(header->width() / 2, header->sectionViewportPosition(row - 1) +
                                                     header->sectionSize(row - 1) / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
    }
    void typeAndEnter(const QString& text) {
        auto* box = editor()->findChild<QLineEdit*>(QStringLiteral("txtGrid"));
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    void chooseTag(int row, Qt::Key key) {
        clickCell(row, 1);
        QTest::keyClick(editor()->findChild<QComboBox*>(QStringLiteral("Combotag")), key);
    }

    QString rowText(int row) const {
        return QStringList{grid()->text(row, 1), grid()->text(row, 2), grid()->text(row, 3)}.join(
            QLatin1Char(','));
    }
    QStringList takeMessages() {
        QStringList shown;
        for (const Message& message : mMessages.messages)
            shown << QString::fromStdString(message.shownTitle() + ": " + message.text);
        mMessages.messages.clear();
        return shown;
    }
    QStringList enabledItems() const {
        QStringList enabled;
        for (const QString& name : kChangingItems + kAlwaysEnabled) {
            if (item(name)->isEnabled())
                enabled << name;
        }
        enabled.sort();
        return enabled;
    }
    static QStringList sorted(QStringList names) {
        names.sort();
        return names;
    }
    QString resultsText() const {
        return mWindow->results() ? mWindow->results()->reportText() : QStringLiteral("<none>");
    }
    bool resultsShown() const {
        return mWindow->results() && mWindow->results()->parentWidget()->isVisible();
    }

private slots:
    void initTestCase() {
        // Reports print this moment: 2023-11-14 22:13:20 UTC.
        qputenv("SOURCE_DATE_EPOCH", "1700000000");
    }
    void init() {
        mMessages = RecordingMessageSink();
        mDialogs = ScriptedFileDialogs();
        mFolder = std::make_unique<QTemporaryDir>();
        start();
    }
    void cleanup() {
        mWindow.reset();
        mFolder.reset();
    }

    void startUpShowsAnEmptyEditor() {
        QCOMPARE(mWindow->windowTitle(), QStringLiteral("Morvane"));
        QVERIFY(!mWindow->windowIcon().isNull());
        QCOMPARE(editorCaption(), QStringLiteral("Data Editor: dataset1.txt"));
        QCOMPARE(mWindow->currentFileName(), QStringLiteral("dataset1.txt"));
        const QStringList texts = {field("txtid")->text(),       field("txtIRP")->text(),
                                   field("txtWRP")->text(),      field("txtISI")->text(),
                                   field("txtSEISI")->text(),    field("txtLowerINR")->text(),
                                   field("txtUpperINR")->text(), field("txtSDReg")->text()};
        QCOMPARE(texts, (QStringList{"dataset1.txt", "RP", "WP", "1", "0", "1.5", "4.5", "3"}));
        QCOMPARE(grid()->text(0, 0), QStringLiteral("No"));
        QCOMPARE(rowText(0), QStringLiteral("  Tag,     y,     x"));
        QCOMPARE(grid()->text(1, 0), QStringLiteral("1"));
        QCOMPARE(grid()->text(130, 0), QStringLiteral("130"));
        QCOMPARE(rowText(1), QStringLiteral(",,"));
        QCOMPARE(enabledItems(), sorted(kAlwaysEnabled));
        QCOMPARE(mWindow->results(), nullptr);
        QCOMPARE(mWindow->findChild<QMdiArea*>()->subWindowList().size(), 1);
        // The editor sits in the top-left corner at least as large as designed, all of it in
        // view, and it cannot be closed.
        QWidget* frame = editor()->parentWidget();
        QCOMPARE(frame->pos(), QPoint(0, 0));
        QVERIFY(frame->width() >= twips(6500, editor()->logicalDpiX()));
        QVERIFY(frame->height() >= twips(6100, editor()->logicalDpiY()));
        QVERIFY(mWindow->centralWidget()->rect().contains(frame->geometry()));
        QVERIFY(!frame->close());
        QVERIFY(editor()->isVisible());
        const PlotOptions& options = mWindow->plotOptions();
        QCOMPARE(options.PlotTitle, std::string("Plot of Log PT and Calibration Line(s)"));
        QCOMPARE(options.YAxisLabel, std::string("RP"));
        QCOMPARE(options.XAxisLabel, std::string("WP"));
        QCOMPARE(options.ShowAbnormalOnlyLine, 1);
        QCOMPARE(options.ShowLegend, 1);
        QVERIFY(mWindow->calibration().tcrit.loaded);
        QVERIFY(takeMessages().isEmpty());
    }

    void menusHaveTheirCaptions_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        const QList<QStringList> items = {
            {"mnuFile", "mnuFileItem0", "&New"},
            {"mnuFile", "mnuFileItem1", "&Open"},
            {"mnuFile", "mnuFileItem2", "Save &Data As..."},
            {"mnuFile", "mnuFileItem3", "&Print"},
            {"mnuFile", "mnuFileItem4", ""},
            {"mnuFile", "mnuFileItem5", "Save &Results As..."},
            {"mnuFile", "mnuFileItem6", ""},
            {"mnuFile", "mnuFileItem7", "E&xit"},
            {"mnuEdit", "mnuDeleteRow", "&Delete Row"},
            {"mnuView", "mnuDataEditor", "&Data Editor"},
            {"mnuView", "mnuResults", "&Results"},
            {"mnuView", "mnuGraph", "&Plot"},
            {"mnuPlot", "mnuMakePlot", "&Produce Plot"},
            {"mnuPlot", "mnuCopyPlot", "&Copy Plot"},
            {"mnuPlot", "mnuSavePlot", "&Save Plot"},
            {"mnuPlot", "mnuPlotOptions", "Plot &Options"},
        };
        for (const QStringList& row : items)
            QTest::newRow(qPrintable(row[1])) << row[0] << row[1] << row[2];
    }
    void menusHaveTheirCaptions() {
        QFETCH(QString, menu);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        auto* owner = mWindow->findChild<QMenu*>(menu);
        QVERIFY(owner);
        QAction* action = item(name);
        QVERIFY(owner->actions().contains(action));
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->isSeparator(), caption.isEmpty());
    }

    void menuBarHasItsMenusInOrder() {
        QStringList titles;
        for (QAction* action : mWindow->menuBar()->actions())
            titles << action->text();
        QCOMPARE(titles, (QStringList{"&File", "&Edit", "&View", "&Plot", "&About"}));
        QCOMPARE(mWindow->menuBar()->actions().last(), item("mnuAbout"));
    }

    void missingCriticalTTableIsReportedOnce() {
        mWindow.reset();
        start(mFolder->filePath(QStringLiteral("none/tcrit.txt")));
        QTRY_COMPARE(mMessages.messages.size(), std::size_t(1));
        const Message message = mMessages.messages.front();
        QCOMPARE(message.title, std::string("Critical t Table"));
        QCOMPARE(message.icon, MessageIcon::Critical);
        QVERIFY(QString::fromStdString(message.text).contains(QStringLiteral("none/tcrit.txt")));
        mMessages.messages.clear();
        openFile(fixture("ui_calibration.txt"));
        calibrate();
        QCOMPARE(mMessages.messages.size(), std::size_t(1));
        QCOMPARE(mMessages.messages.front().title, std::string("Critical t Table"));
        QCOMPARE(mWindow->results(), nullptr);
        QCOMPARE(enabledItems(), sorted(kAlwaysEnabled));
    }

    void openFillsTheEditorFromTheFile() {
        mDialogs.answers = {fixture("ui_calibration.txt")};
        choose("mnuFile", "mnuFileItem1");
        QCOMPARE(mDialogs.requests.size(), 1);
        const FileDialogRequest request = mDialogs.requests.front();
        QCOMPARE(request.kind, FileDialogKind::Open);
        QCOMPARE(request.title, QStringLiteral("Open Data File"));
        QCOMPARE(request.filter, kDataFilter);
        QCOMPARE(request.flags, 2);
        QCOMPARE(editorCaption(), QStringLiteral("Data Editor: ui_calibration.txt"));
        QCOMPARE(field("txtid")->text(), QStringLiteral("ui_calibration.txt"));
        QCOMPARE(field("txtIRP")->text(), QStringLiteral("RefPrep A"));
        QCOMPARE(field("txtWRP")->text(), QStringLiteral("WorkPrep B"));
        QCOMPARE(field("txtISI")->text(), QStringLiteral("1.1"));
        QCOMPARE(field("txtSEISI")->text(), QStringLiteral("0.02"));
        QCOMPARE(field("txtSDReg")->text(), QStringLiteral("3"));
        for (int row = 1; row <= kFixtureRows.size(); ++row)
            QCOMPARE(rowText(row), kFixtureRows[row - 1]);
        QCOMPARE(rowText(14), QStringLiteral(",,"));
        QCOMPARE(mWindow->plotOptions().YAxisLabel, std::string("RefPrep A"));
        QCOMPARE(mWindow->plotOptions().XAxisLabel, std::string("WorkPrep B"));
        QCOMPARE(mWindow->currentFileName(), fixture("ui_calibration.txt"));
        QVERIFY(takeMessages().isEmpty());
    }

    void cancelledOpenLeavesTheEditorAsItWas() {
        EditorWindow* before = editor();
        clickCell(1, 2);
        typeAndEnter(QStringLiteral("12.5"));
        mDialogs.answers = {std::nullopt};
        choose("mnuFile", "mnuFileItem1");
        QCOMPARE(mDialogs.requests.size(), 1);
        QCOMPARE(editor(), before);
        QCOMPARE(grid()->text(1, 2), QStringLiteral("12.5"));
        QCOMPARE(editorCaption(), QStringLiteral("Data Editor: dataset1.txt"));
    }

    void openOfAnUnreadableFileShowsItsMessage() {
        openFile(mFolder->filePath(QStringLiteral("missing.txt")));
        QCOMPARE(takeMessages(), QStringList{"Data Error: Can't open file"});
        QCOMPARE(editorCaption(), QStringLiteral("Data Editor: missing.txt"));
        QCOMPARE(rowText(1), QStringLiteral(",,"));
    }

    void saveDataAsWritesTheGridAndFields() {
        clickCell(1, 2);
        for (const char* y : {"25.3", "12.1", "30"})
            typeAndEnter(QLatin1String(y));
        clickCell(1, 3);
        for (const char* x : {"31.2", "13.4", "38.5"})
            typeAndEnter(QLatin1String(x));
        chooseTag(1, Qt::Key_Home);
        chooseTag(2, Qt::Key_End);
        chooseTag(3, Qt::Key_Home);
        setField(QStringLiteral("txtISI"), QStringLiteral("1.1"));
        setField(QStringLiteral("txtSEISI"), QString());
        const QString path = mFolder->filePath(QStringLiteral("saved.txt"));
        mDialogs.answers = {path};
        choose("mnuFile", "mnuFileItem2");
        const FileDialogRequest request = mDialogs.requests.front();
        QCOMPARE(request.kind, FileDialogKind::Save);
        QCOMPARE(request.title, QStringLiteral("Save Data As..."));
        QCOMPARE(request.filter, kDataFilter);
        QCOMPARE(request.fileName, QStringLiteral("dataset1.txt"));
        QCOMPARE(request.flags, 2);
        QCOMPARE(fileBytes(path), QByteArray("\"RP\"\r\n\"WP\"\r\n1.1\r\n\"SEISI\"\r\n"
                                             "0,25.3,31.2\r\n1,12.1,13.4\r\n0,30,38.5\r\n"));
        QCOMPARE(editorCaption(), QStringLiteral("Data Editor: saved.txt"));
        QCOMPARE(field("txtid")->text(), QStringLiteral("saved.txt"));
        QCOMPARE(mWindow->currentFileName(), path);
        QVERIFY(takeMessages().isEmpty());
    }

    void saveDataAsRefusesUnevenColumns() {
        openFile(fixture("ui_calibration.txt"));
        clickCell(13, 3);
        typeAndEnter(QString());
        const QString path = mFolder->filePath(QStringLiteral("kept.txt"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old contents\r\n");
        old.close();
        mDialogs.answers = {path};
        choose("mnuFile", "mnuFileItem2");
        QCOMPARE(takeMessages(),
                 QStringList{"Data Error: There are missing observations in one or more columns"});
        QCOMPARE(fileBytes(path), QByteArray("old contents\r\n"));
        // The editor takes the chosen name even though nothing was saved.
        QCOMPARE(editorCaption(), QStringLiteral("Data Editor: kept.txt"));
    }

    void cancelledSaveDataAsChangesNothing() {
        mDialogs.answers = {std::nullopt};
        choose("mnuFile", "mnuFileItem2");
        QCOMPARE(mDialogs.requests.size(), 1);
        QCOMPARE(editorCaption(), QStringLiteral("Data Editor: dataset1.txt"));
        QCOMPARE(mWindow->currentFileName(), QStringLiteral("dataset1.txt"));
    }

    void calibrationShowsTheReport() {
        openFile(fixture("ui_calibration.txt"));
        chooseAbout();
        calibrate();
        QVERIFY(takeMessages().isEmpty());
        QVERIFY(resultsShown());
        QWidget* frame = mWindow->results()->parentWidget();
        QCOMPARE(frame->geometry(),
                 QRect(0, 0, twips(5820, frame->logicalDpiX()), twips(5200, frame->logicalDpiY())));
        const QString path = fixture("ui_calibration.txt");
        const QStringList header = resultsText().split(QStringLiteral("\r\n")).mid(0, 11);
        const QStringList expected = {QString(14, ' ') + "MORVANE",
                                      QString(14, ' ') + QLatin1String(kVersionCaption),
                                      QString(58, '_'),
                                      "File Name: " + path,
                                      "Date: 2023-11-14" + QString(54, ' ') + "Time: 22:13:20",
                                      "",
                                      "Reference thromboplastin: RefPrep A",
                                      "Working thromboplastin: WorkPrep B",
                                      "",
                                      " 5  normal observations and",
                                      " 8  abnormal observations in original data-set"};
        QCOMPARE(header, expected);
        QVERIFY(resultsText().endsWith(QStringLiteral("\r\n")));
        // The scratch file of the current folder holds the same text.
        QCOMPARE(QString::fromUtf8(fileBytes(QDir::current().filePath("junk0000x"))),
                 resultsText());
        QCOMPARE(enabledItems(), sorted(kAlwaysEnabled + kReportItems + kPlotItems));
        QVERIFY(!mWindow->findChild<QWidget*>(QStringLiteral("frmAbout"))->isVisible());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void calibrationStopsAtDataErrors_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("cell"); // "row,col" typed over, empty for none
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("a y cell that is not a number") << "ui_calibration.txt"
                                                       << "2,2"
                                                       << "abc"
                                                       << "Data Error: Data type mis-match error";
        QTest::newRow("an x column one cell short")
            << "ui_calibration.txt"
            << "13,3"
            << ""
            << "Data Error: There are missing observations in one or more columns";
        QTest::newRow("two abnormal samples")
            << "ui_two_abnormals.txt"
            << ""
            << ""
            << "Data Error: There is either insufficient data to perform the calibration (at "
               "least 3 abnormal samples and 2 normals are required) or abnormal/normal data "
               "has been tagged incorrectly";
    }
    void calibrationStopsAtDataErrors() {
        QFETCH(QString, file);
        QFETCH(QString, cell);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        openFile(fixture(qPrintable(file)));
        if (!cell.isEmpty()) {
            clickCell(cell.section(',', 0, 0).toInt(), cell.section(',', 1).toInt());
            typeAndEnter(typed);
        }
        setField(QStringLiteral("txtid"), QStringLiteral("run5"));
        calibrate();
        QCOMPARE(takeMessages(), QStringList{message});
        QCOMPARE(mWindow->results(), nullptr);
        QCOMPARE(enabledItems(), sorted(kAlwaysEnabled));
        QCOMPARE(field("txtid")->text(), QStringLiteral("run5"));
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void invalidParametersAreReplaced_data() {
        QTest::addColumn<QStringList>("entered"); // lower, upper, SD limit, ISI, SE(ISI)
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("shown");
        const QString inr = QStringLiteral(
            "INR limits: Valid INR limits have not been entered. Vantel recommended limits will "
            "be used for this calibration (Lower INR=1.5; Upper INR=4.5).");
        const QString sd = QStringLiteral(
            "Calibration Line Limits: A valid calibration line limit not entered. Vantel "
            "recommended limit will be used for this calibration (Standard Deviation "
            "Limit=3.0).");
        const QString isi = QStringLiteral("ISI not entered: Valid ISI of reference reagent not "
                                           "entered. ISI=1 will be used for this calibration.");
        const QString se = QStringLiteral(
            "SE(ISI) not entered: Valid SE(ISI) of reference reagent not entered. SEISI=0 will "
            "be used for this calibration.");
        QTest::newRow("valid entries, bounds included")
            << QStringList{"0", "99", "2.5", "1.05", "0"} << QStringList()
            << QStringList{"0", "99", "2.5", "1.05", "0"};
        QTest::newRow("lower limit below zero")
            << QStringList{"-1", "4", "3", "1.1", "0.02"} << QStringList{inr}
            << QStringList{"1.5", "4", "3", "1.1", "0.02"};
        QTest::newRow("upper limit above 99")
            << QStringList{"1.5", "99.5", "3", "1.1", "0.02"} << QStringList{inr}
            << QStringList{"1.5", "4.5", "3", "1.1", "0.02"};
        QTest::newRow("lower above upper")
            << QStringList{"5", "4", "3", "1.1", "0.02"} << QStringList{inr}
            << QStringList{"1.5", "4", "3", "1.1", "0.02"};
        QTest::newRow("empty lower limit")
            << QStringList{"", "4.5", "3", "1.1", "0.02"} << QStringList{inr}
            << QStringList{"1.5", "4.5", "3", "1.1", "0.02"};
        QTest::newRow("SD limit of zero")
            << QStringList{"1.5", "4.5", "0", "1.1", "0.02"} << QStringList{sd}
            << QStringList{"1.5", "4.5", "3", "1.1", "0.02"};
        QTest::newRow("SD limit in letters")
            << QStringList{"1.5", "4.5", "abc", "1.1", "0.02"} << QStringList{sd}
            << QStringList{"1.5", "4.5", "3", "1.1", "0.02"};
        QTest::newRow("ISI of zero")
            << QStringList{"1.5", "4.5", "3", "0", "0.02"} << QStringList{isi}
            << QStringList{"1.5", "4.5", "3", "1", "0.02"};
        QTest::newRow("negative SE of ISI")
            << QStringList{"1.5", "4.5", "3", "1.1", "-0.1"} << QStringList{se}
            << QStringList{"1.5", "4.5", "3", "1.1", "0"};
        QTest::newRow("four invalid entries in order")
            << QStringList{"-1", "4.5", "-2", "x", "y"} << QStringList{inr, sd, isi, se}
            << QStringList{"1.5", "4.5", "3", "1", "0"};
    }
    void invalidParametersAreReplaced() {
        QFETCH(QStringList, entered);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, shown);
        const QStringList names = {"txtLowerINR", "txtUpperINR", "txtSDReg", "txtISI", "txtSEISI"};
        openFile(fixture("ui_calibration.txt"));
        for (int i = 0; i < names.size(); ++i)
            setField(names[i], entered[i]);
        calibrate();
        QCOMPARE(takeMessages(), messages);
        QStringList after;
        for (const QString& name : names)
            after << field(name)->text();
        QCOMPARE(after, shown);
        QVERIFY(resultsShown());
    }

    void identifierGetsItsExtension_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("identifier");
        QTest::newRow("without extension") << "run5"
                                           << "run5.txt";
        QTest::newRow("with extension") << "run5.txt"
                                        << "run5.txt";
        QTest::newRow("extension in capitals") << "run5.TXT"
                                               << "run5.TXT.txt";
    }
    void identifierGetsItsExtension() {
        QFETCH(QString, typed);
        QFETCH(QString, identifier);
        openFile(fixture("ui_calibration.txt"));
        setField(QStringLiteral("txtid"), typed);
        calibrate();
        QCOMPARE(field("txtid")->text(), identifier);
    }

    void failedFitEnablesOnlyTheReportCommands() {
        openFile(fixture("ui_calibration.txt"));
        setField(QStringLiteral("txtLowerINR"), QStringLiteral("10"));
        setField(QStringLiteral("txtUpperINR"), QStringLiteral("20"));
        calibrate();
        QCOMPARE(takeMessages(), QStringList{"Data Error: After exclusions, there is insufficient "
                                             "data to perform the calibration"});
        QVERIFY(resultsShown());
        QCOMPARE(enabledItems(), sorted(kAlwaysEnabled + kReportItems));
    }

    void failedFitKeepsThePlotCommandsOfAnEarlierRun() {
        openFile(fixture("ui_calibration.txt"));
        calibrate();
        setField(QStringLiteral("txtLowerINR"), QStringLiteral("10"));
        setField(QStringLiteral("txtUpperINR"), QStringLiteral("20"));
        calibrate();
        QCOMPARE(takeMessages().size(), 1);
        QCOMPARE(enabledItems(), sorted(kAlwaysEnabled + kReportItems + kPlotItems));
    }

    void plotCommandsFollowProducePlot() {
        openFile(fixture("ui_calibration.txt"));
        calibrate();
        choose("mnuPlot", "mnuMakePlot");
        auto* graph = mWindow->findChild<QWidget*>(QStringLiteral("frmGraph"));
        QVERIFY(graph && graph->isVisible());
        QCOMPARE(enabledItems(), sorted(kAlwaysEnabled + kReportItems + kPlotItems +
                                        QStringList{"mnuCopyPlot", "mnuSavePlot", "mnuGraph"}));
        choose("mnuPlot", "mnuCopyPlot");
        QVERIFY(!QApplication::clipboard()->image().isNull());
        const QString path = mFolder->filePath(QStringLiteral("plot.bmp"));
        mDialogs.answers = {path};
        choose("mnuPlot", "mnuSavePlot");
        const FileDialogRequest request = mDialogs.requests.last();
        QCOMPARE(request.title, QStringLiteral("Save Plot"));
        QCOMPARE(request.filter, QStringLiteral("Bitmaps (*.bmp)|*.bmp"));
        QCOMPARE(request.fileName, QStringLiteral("ui_calibration_plot"));
        QVERIFY(fileBytes(path).startsWith("BM"));
        QCOMPARE(mWindow->currentFileName(), path);
        // A new run takes the old plot away; the plot commands stay enabled.
        calibrate();
        QTRY_VERIFY(!mWindow->findChild<QWidget*>(QStringLiteral("frmGraph")));
        QVERIFY(item("mnuCopyPlot")->isEnabled());
        choose("mnuView", "mnuGraph");
        QVERIFY(mWindow->findChild<QWidget*>(QStringLiteral("frmGraph")));
    }

    void printPrintsTheCurrentReportToPdf() {
        openFile(fixture("ui_calibration.txt"));
        calibrate();
        choose("mnuFile", "mnuFileItem3");
        auto* dialog = mWindow->findChild<PrintDialog*>(QStringLiteral("frmPrint"));
        QVERIFY(dialog && dialog->isVisible());
        auto* chkPlot = dialog->findChild<QCheckBox*>(QStringLiteral("chkPlot"));
        QVERIFY2(!chkPlot->isEnabled(), "no plot has been produced");
        dialog->setPrinterName(QString());
        const QString pdf = mFolder->filePath(QStringLiteral("report.pdf"));
        mDialogs.answers = {pdf};
        QTest::mouseClick(dialog->findChild<QCheckBox*>(QStringLiteral("chkResults")),
                          Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdOKPrint")),
                          Qt::LeftButton);
        QVERIFY(fileBytes(pdf).startsWith("%PDF"));
        QTRY_VERIFY(!mWindow->findChild<PrintDialog*>(QStringLiteral("frmPrint")));
        // Once a plot exists, the dialog offers it.
        choose("mnuPlot", "mnuMakePlot");
        choose("mnuFile", "mnuFileItem3");
        dialog = mWindow->findChild<PrintDialog*>(QStringLiteral("frmPrint"));
        QVERIFY(dialog);
        QVERIFY(dialog->findChild<QCheckBox*>(QStringLiteral("chkPlot"))->isEnabled());
    }

    void plotOptionsOpenTheDialog() {
        openFile(fixture("ui_calibration.txt"));
        calibrate();
        choose("mnuPlot", "mnuPlotOptions");
        auto* dialog = mWindow->findChild<QWidget*>(QStringLiteral("frmPlotOptions"));
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("txtYLabel"))->text(),
                 QStringLiteral("RefPrep A"));
    }

    void savedResultsAreTheWindowTextInQuotes() {
        openFile(fixture("ui_calibration.txt"));
        calibrate();
        mWindow->results()
            ->findChild<QPlainTextEdit*>(QStringLiteral("txtResults"))
            ->setPlainText(QStringLiteral("first line\nsecond \"quoted\" line, 2 \u00b5l\n"));
        const QString path = mFolder->filePath(QStringLiteral("results.txt"));
        mDialogs.answers = {path};
        choose("mnuFile", "mnuFileItem5");
        const FileDialogRequest request = mDialogs.requests.last();
        QCOMPARE(request.kind, FileDialogKind::Save);
        QCOMPARE(request.title, QStringLiteral("Save Results As..."));
        QCOMPARE(request.filter, QStringLiteral("Text Files (*.txt)|*.txt"));
        QCOMPARE(request.flags, 2);
        QCOMPARE(fileBytes(path),
                 QByteArray("\"first line\r\nsecond \"quoted\" line, 2 \xc2\xb5l\r\n\"\r\n"));
        // The next report names the results file.
        QCOMPARE(mWindow->currentFileName(), path);
        calibrate();
        QVERIFY(resultsText().contains(QStringLiteral("\r\nFile Name: ") + path + "\r\n"));
    }

    void savedResultsOfTheWholeReport() {
        openFile(fixture("ui_calibration.txt"));
        calibrate();
        const QString path = mFolder->filePath(QStringLiteral("whole.txt"));
        mDialogs.answers = {path};
        choose("mnuFile", "mnuFileItem5");
        const QByteArray saved = fileBytes(path);
        QVERIFY(saved.startsWith("\"" + QByteArray(14, ' ') + "MORVANE\r\n"));
        QVERIFY(saved.endsWith("\r\n\"\r\n"));
        QCOMPARE(saved, "\"" + resultsText().toUtf8() + "\"\r\n");
    }

    void resultsNameIsProposedFromTheIdentifier_data() {
        QTest::addColumn<QString>("identifier");
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<QString>("identifierAfter");
        QTest::newRow("designed identifier") << "dataset1.txt"
                                             << "dataset1_results"
                                             << "dataset1.txt";
        QTest::newRow("no extension") << "run5"
                                      << "run5_results"
                                      << "run5.txt";
        QTest::newRow("capitals") << "RUN5.TXT"
                                  << "RUN5.TXT_results"
                                  << "RUN5.TXT.txt";
        QTest::newRow("extension inside") << "a.txt.b"
                                          << "a_results"
                                          << "a.txt.b";
    }
    void resultsNameIsProposedFromTheIdentifier() {
        QFETCH(QString, identifier);
        QFETCH(QString, proposed);
        QFETCH(QString, identifierAfter);
        openFile(fixture("ui_calibration.txt"));
        calibrate();
        setField(QStringLiteral("txtid"), identifier);
        mDialogs.answers = {std::nullopt};
        choose("mnuFile", "mnuFileItem5");
        QCOMPARE(mDialogs.requests.last().fileName, proposed);
        QCOMPARE(field("txtid")->text(), identifierAfter);
    }

    void closingTheResultsAsksFirst_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("No keeps the window") << int(MessageAnswer::No);
        QTest::newRow("Yes closes it") << int(MessageAnswer::Yes);
    }
    void closingTheResultsAsksFirst() {
        QFETCH(int, answer);
        openFile(fixture("ui_calibration.txt"));
        calibrate();
        const QString report = resultsText();
        mMessages.answers = {MessageAnswer(answer)};
        QVERIFY(mWindow->results()->parentWidget()->close() == (answer == int(MessageAnswer::Yes)));
        QCOMPARE(takeMessages(), QStringList{kCloseResultsQuestion});
        if (answer == int(MessageAnswer::No)) {
            QVERIFY(resultsShown());
            QCOMPARE(resultsText(), report);
            return;
        }
        QTRY_COMPARE(mWindow->results(), nullptr);
        // Saving now saves the empty text of a fresh window; View > Results shows one.
        const QString path = mFolder->filePath(QStringLiteral("empty.txt"));
        mDialogs.answers = {path};
        choose("mnuFile", "mnuFileItem5");
        QCOMPARE(fileBytes(path), QByteArray("\"\"\r\n"));
        choose("mnuView", "mnuResults");
        QVERIFY(resultsShown());
        QCOMPARE(resultsText(), QString());
    }

    void closingTheMainWindowAsksThroughTheResults() {
        openFile(fixture("ui_calibration.txt"));
        calibrate();
        mMessages.answers = {MessageAnswer::No};
        QVERIFY(!mWindow->close());
        QVERIFY(mWindow->isVisible());
        QCOMPARE(takeMessages(), QStringList{kCloseResultsQuestion});
        mMessages.answers = {MessageAnswer::Yes};
        QVERIFY(mWindow->close());
        QVERIFY(!mWindow->isVisible());
    }

    void newAnsweredNoChangesNothing() {
        openFile(fixture("ui_calibration.txt"));
        calibrate();
        EditorWindow* before = editor();
        const QStringList enabled = enabledItems();
        mMessages.answers = {MessageAnswer::No};
        choose("mnuFile", "mnuFileItem0");
        QCOMPARE(takeMessages(), QStringList{kNewQuestion});
        QCOMPARE(editor(), before);
        QCOMPARE(rowText(1), kFixtureRows[0]);
        QCOMPARE(enabledItems(), enabled);
        QVERIFY(resultsShown());
    }

    void newEmptiesTheEditorTheResultsAndTheMenus() {
        openFile(fixture("ui_calibration.txt"));
        setField(QStringLiteral("txtSDReg"), QStringLiteral("2"));
        calibrate();
        choose("mnuPlot", "mnuMakePlot");
        choose("mnuFile", "mnuFileItem0");
        QCOMPARE(takeMessages(), QStringList{kNewQuestion});
        QCOMPARE(editorCaption(), QStringLiteral("Data Editor: dataset1.txt"));
        QCOMPARE(mWindow->currentFileName(), QStringLiteral("dataset1.txt"));
        const QStringList texts = {field("txtid")->text(),       field("txtIRP")->text(),
                                   field("txtWRP")->text(),      field("txtISI")->text(),
                                   field("txtSEISI")->text(),    field("txtLowerINR")->text(),
                                   field("txtUpperINR")->text(), field("txtSDReg")->text()};
        QCOMPARE(texts, (QStringList{"dataset1.txt", "RP", "WP", "1", "0", "1.5", "4.5", "3"}));
        QCOMPARE(rowText(0), QStringLiteral("  Tag,     y,     x"));
        QCOMPARE(grid()->text(5, 0), QStringLiteral("5"));
        QCOMPARE(rowText(1), QStringLiteral(",,"));
        QVERIFY(!resultsShown());
        QCOMPARE(resultsText(), QString());
        QTRY_VERIFY(!mWindow->findChild<QWidget*>(QStringLiteral("frmGraph")));
        QCOMPARE(enabledItems(), sorted(kAlwaysEnabled));
        // Opening a file keeps the report commands that a run enabled; New takes them away.
        calibrate();
        QCOMPARE(takeMessages().size(), 1);
    }

    void openKeepsTheReportCommands() {
        openFile(fixture("ui_calibration.txt"));
        calibrate();
        openFile(fixture("ui_two_abnormals.txt"));
        QCOMPARE(enabledItems(), sorted(kAlwaysEnabled + kReportItems + kPlotItems));
        QVERIFY(resultsShown());
        QCOMPARE(mWindow->plotOptions().YAxisLabel, std::string("RP two"));
    }

    void deleteRowNeedsAnEntireRow() {
        openFile(fixture("ui_calibration.txt"));
        clickCell(4, 2);
        choose("mnuEdit", "mnuDeleteRow");
        QCOMPARE(takeMessages(), QStringList{"Delete Row Error: An entire row must be selected"});
        QCOMPARE(rowText(4), kFixtureRows[3]);
    }

    void deleteRowAsksThenMovesTheRowsUp_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("rows"); // rows 3, 4, 12, 13 afterwards
        QTest::newRow("Yes") << int(MessageAnswer::Yes)
                             << QStringList{kFixtureRows[2], kFixtureRows[4], kFixtureRows[12],
                                            ",,"};
        QTest::newRow("No") << int(MessageAnswer::No)
                            << QStringList{kFixtureRows[2], kFixtureRows[3], kFixtureRows[11],
                                           kFixtureRows[12]};
    }
    void deleteRowAsksThenMovesTheRowsUp() {
        QFETCH(int, answer);
        QFETCH(QStringList, rows);
        openFile(fixture("ui_calibration.txt"));
        clickRowNumber(4);
        mMessages.answers = {MessageAnswer(answer)};
        choose("mnuEdit", "mnuDeleteRow");
        QCOMPARE(takeMessages(), QStringList{kDeleteQuestion});
        QCOMPARE((QStringList{rowText(3), rowText(4), rowText(12), rowText(13)}), rows);
    }

    void deleteRowOfAnEmptyGrid() {
        clickRowNumber(1);
        choose("mnuEdit", "mnuDeleteRow");
        QCOMPARE(takeMessages(),
                 (QStringList{kDeleteQuestion, "Data Error: There is no data in the grid"}));
    }

    void aboutShowsAndOkHides() {
        chooseAbout();
        auto* about = mWindow->findChild<QWidget*>(QStringLiteral("frmAbout"));
        QVERIFY(about && about->isVisible());
        QCOMPARE(about->windowTitle(), QStringLiteral("About"));
        const QString version = about->findChild<QLabel*>(QStringLiteral("Label4"))->text();
        QVERIFY(version.startsWith(QStringLiteral("Version 3.1 (")) && version.endsWith(')'));
        QCOMPARE(version, QLatin1String(kVersionCaption));
        QVERIFY(about->findChild<QLabel*>(QStringLiteral("lblCredits"))
                    ->text()
                    .endsWith(QStringLiteral("The program calculates ISI for thromboplastins "
                                             "using the Vantel recommended calibration procedure "
                                             "of orthogonal regression.")));
        QCOMPARE(about->parentWidget()->pos(),
                 QPoint(twips(600, about->logicalDpiX()), twips(1000, about->logicalDpiY())));
        QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("cmdAboutOK")),
                          Qt::LeftButton);
        QVERIFY(!about->isVisible());
        chooseAbout();
        QCOMPARE(mWindow->findChild<QWidget*>(QStringLiteral("frmAbout")), about);
        QVERIFY(about->isVisible());
    }

    void viewBringsTheWindowsToTheFront() {
        openFile(fixture("ui_calibration.txt"));
        calibrate();
        auto* area = mWindow->findChild<QMdiArea*>();
        QCOMPARE(area->activeSubWindow()->widget(), static_cast<QWidget*>(mWindow->results()));
        choose("mnuView", "mnuDataEditor");
        QCOMPARE(area->activeSubWindow()->widget(), static_cast<QWidget*>(editor()));
        mWindow->results()->parentWidget()->showMinimized();
        choose("mnuView", "mnuResults");
        QCOMPARE(area->activeSubWindow()->widget(), static_cast<QWidget*>(mWindow->results()));
        QVERIFY(!mWindow->results()->parentWidget()->isMinimized());
    }

    void droppedDataFileOpens() {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(fixture("ui_calibration.txt"))});
        const QPoint centre = mWindow->rect().center();
        QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(mWindow.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(mWindow.get(), &drop);
        QCOMPARE(editorCaption(), QStringLiteral("Data Editor: ui_calibration.txt"));
        QCOMPARE(rowText(13), kFixtureRows[12]);
    }

    void programOpensTheFileGivenOnItsCommandLine() {
        // The screenshot mode opens the file, presses Calibrate and saves two pictures.
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("MORVANE_SCREENSHOTS"), mFolder->path());
        // Only the program's own messages reach the standard error.
        environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("*=false"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(MORVANE_PROGRAM), {fixture("ui_calibration.txt")});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(program.readAllStandardError(), QByteArray());
        for (const char* name : {"editor.png", "results.png"})
            QVERIFY(!QImage(mFolder->filePath(QLatin1String(name))).isNull());
    }

    // Exit ends the application's event loops, so it runs last.
    void exitEndsAtOnceWithoutAQuestion() {
        openFile(fixture("ui_calibration.txt"));
        calibrate();
        QEventLoop loop;
        QTimer::singleShot(0, this, [this] { choose("mnuFile", "mnuFileItem7"); });
        QCOMPARE(loop.exec(), 0);
        QVERIFY(takeMessages().isEmpty());
        QVERIFY(mWindow->results());
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
