// Every window as a user meets it, written out as text and compared with
// tests/data/window_design.txt: each menu item (caption, shortcut, ticked, enabled) and each named
// control (kind, place and size, caption or text, state, font, a table's headings and column
// widths). A designed caption, size, default or enabling rule changed by mistake shows here, in
// the line of the control it changed; a deliberate change of design rewrites the file when the
// test runs with MORVANE_WRITE_FIXTURES=1.
#include "print_dialog.h"
#include "register_settings.h"
#include "window_test_support.h"

#include <QAbstractButton>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTableWidget>

using namespace morvane;
using namespace morvane::test;

namespace {

QString quoted(const QString& text) {
    return '"' + QString(text).replace('\n', "\\n") + '"';
}

QString menuItems(const QMenuBar* bar) {
    QStringList lines;
    for (const QAction* top : bar->actions()) {
        lines << "menu " + quoted(top->text()) + (top->isEnabled() ? "" : " disabled");
        for (const QAction* item : top->menu() ? top->menu()->actions() : QList<QAction*>()) {
            QString line = item->isSeparator() ? "  ----" : "  " + quoted(item->text());
            for (const QKeySequence& keys : item->shortcuts())
                line += ' ' + keys.toString();
            line += item->isCheckable() ? (item->isChecked() ? " ticked" : " unticked") : "";
            lines << line + (item->isEnabled() ? "" : " disabled") +
                         (item->isVisible() ? "" : " hidden");
        }
    }
    return lines.join('\n');
}

// How a table's heading answers a click and the current cell.
QString headingBehaviour(const char* side, const QHeaderView* heading) {
    const QString behaviour = QString(heading->sectionsClickable() ? " clickable" : "") +
                              (heading->highlightSections() ? " highlighted" : "");
    return behaviour.isEmpty() ? QString() : ' ' + QString(side) + behaviour;
}

QString tableDesign(const QTableWidget* table) {
    QStringList headings, widths;
    for (int col = 0; col < table->columnCount(); ++col) {
        const QTableWidgetItem* heading = table->horizontalHeaderItem(col);
        headings << quoted(heading ? heading->text() : QString());
        widths << QString::number(table->columnWidth(col));
    }
    QStringList marked; // cells drawn on a background of their own
    for (int row = 0; row < table->rowCount(); ++row)
        for (int col = 0; col < table->columnCount(); ++col)
            if (table->item(row, col) && table->item(row, col)->background() != QBrush())
                marked << QStringLiteral("%1,%2").arg(row + 1).arg(col + 1);
    const int rowHeight = table->rowCount() ? table->rowHeight(0) : 0;
    return QStringLiteral(" rows %1 (%2 high) columns %3 widths %4 header %5 x %6 aligned %7 %8")
               .arg(table->rowCount())
               .arg(rowHeight)
               .arg(headings.join(' '), widths.join(' '))
               .arg(table->verticalHeader()->isVisible() ? table->verticalHeader()->width() : 0)
               .arg(table->horizontalHeader()->isVisible() ? table->horizontalHeader()->height()
                                                           : 0)
               .arg(QString::number(table->horizontalHeader()->defaultAlignment(), 16),
                    QString::number(table->verticalHeader()->defaultAlignment(), 16)) +
           headingBehaviour("top", table->horizontalHeader()) +
           headingBehaviour("side", table->verticalHeader()) +
           (marked.isEmpty() ? "" : " marked " + marked.join(' ')) +
           QStringLiteral(" current %1,%2")
               .arg(table->currentRow() + 1)
               .arg(table->currentColumn() + 1);
}

// What a user sees of one control beyond its place: its text, its state and its table.
QString contents(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return ' ' + quoted(label->text()) + (label->wordWrap() ? " wrapped" : "") +
               (label->alignment() == (Qt::AlignLeft | Qt::AlignVCenter)
                    ? ""
                    : " aligned " + QString::number(label->alignment(), 16));
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        const auto* push = qobject_cast<const QPushButton*>(widget);
        return ' ' + quoted(button->text()) +
               (button->isCheckable() ? (button->isChecked() ? " ticked" : " unticked") : "") +
               (push && push->isDefault() ? " default" : "");
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
        return ' ' + quoted(edit->text()) + (edit->isReadOnly() ? " read-only" : "");
    if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << quoted(combo->itemText(i));
        return " items " + items.join(' ') + " at " + QString::number(combo->currentIndex());
    }
    if (const auto* table = qobject_cast<const QTableWidget*>(widget))
        return tableDesign(table);
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(widget))
        return QStringLiteral(" %1 lines").arg(text->blockCount()) +
               (text->isReadOnly() ? " read-only" : "");
    return {};
}

QString controlLine(const QWidget* widget, const QString& indent) {
    const QRect place = widget->geometry();
    QString line = indent + widget->metaObject()->className() + ' ' + widget->objectName() +
                   QStringLiteral(" %1,%2 %3x%4")
                       .arg(place.x())
                       .arg(place.y())
                       .arg(place.width())
                       .arg(place.height());
    if (qobject_cast<const QMdiSubWindow*>(widget->parentWidget()))
        line += " title " + quoted(widget->windowTitle());
    if (widget->font() != QApplication::font())
        line += QStringLiteral(" font %1%2")
                    .arg(widget->font().pointSizeF())
                    .arg(widget->font().bold() ? " bold" : "");
    line += contents(widget);
    if (!widget->toolTip().isEmpty())
        line += " tip " + quoted(widget->toolTip());
    return line + (widget->isVisibleTo(widget->window()) ? "" : " hidden") +
           (widget->isEnabled() ? "" : " disabled");
}

// The named controls under a widget, each indented under the named control that holds it; the
// style's own parts (named qt_...) are left out.
void describeControls(const QWidget* parent, const QString& indent, QStringList& lines) {
    for (const QObject* object : parent->children()) {
        const auto* widget = qobject_cast<const QWidget*>(object);
        if (!widget || widget->objectName().startsWith("qt_"))
            continue;
        const bool named = !widget->objectName().isEmpty();
        if (named)
            lines << controlLine(widget, indent);
        describeControls(widget, named ? indent + "  " : indent, lines);
    }
}

} // namespace

class WindowDesignTest : public QObject, MainWindowDriver {
    Q_OBJECT

    QTemporaryDir mHome;
    QStringList mStates;

    // The desktop's windows and the dialogs above it, in the order they were first opened.
    void describe(const QString& state) {
        // The layouts of windows just shown settle, however busy the machine is.
        for (int round = 0; round < 5; ++round) {
            QCoreApplication::sendPostedEvents();
            QTest::qWait(10);
        }
        QStringList lines{"== " + state,
                          "main window " + mWindow->objectName() + ' ' +
                              quoted(mWindow->windowTitle()) +
                              (mWindow->acceptDrops() ? " takes dropped files" : ""),
                          menuItems(mWindow->menuBar())};
        for (const QWidget* window : mWindow->findChildren<QWidget*>()) {
            if (!qobject_cast<const QMdiSubWindow*>(window) &&
                !qobject_cast<const QDialog*>(window))
                continue;
            const QRect frame = window->geometry();
            lines << QStringLiteral("window %1,%2 %3x%4 frame %6%5")
                         .arg(frame.x())
                         .arg(frame.y())
                         .arg(frame.width())
                         .arg(frame.height())
                         .arg(window->isVisible() ? "" : " hidden")
                         .arg(QString::number(window->windowFlags(), 16));
            if (window->isWindow())
                lines.last() += " dialog " + quoted(window->windowTitle());
            describeControls(window, "  ", lines);
        }
        mStates << lines.join('\n').replace(mHome.path(), "HOME");
    }

private slots:
    void initTestCase() {
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"})
            qputenv(name, QFile::encodeName(mHome.filePath(name)));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           mHome.filePath("XDG_CONFIG_HOME"));
        SaveRegisterSettings({mHome.filePath("register.sqlite"), false});
    }

    // At start, with the editor maximised and widened; with a run, a time typed after it, its plot
    // and every window it opens; after File > New; and the lot register's windows with one run
    // recorded.
    void everyWindowLooksAsDesigned() {
        restart();
        describe("at start");
        mWindow->editor()->parentWidget()->showMaximized();
        describe("the editor maximised");
        mWindow->editor()->parentWidget()->showNormal();
        mWindow->editor()->parentWidget()->resize(600, 425);
        describe("the editor widened");
        mWindow->editor()->parentWidget()->resize(433, 425);
        mWindow->resize(1280, 1000); // room for the results beside the plot
        open("ui_calibration.txt");
        enterIntoCell(mWindow->editor(), 14, 2, "20"); // and the cell stays marked
        for (const auto& [menu, item] : {std::pair("mnuPlot", "mnuMakePlot"),
                                         {"mnuPlot", "mnuPlotOptions"},
                                         {"mnuView", "mnuChecks"},
                                         {"mnuFile", "mnuFileItem3"}})
            choose(menu, item);
        child<PrintDialog>(mWindow.get(), "frmPrint")->setPrinterName(QString());
        QTest::keyClick(mWindow.get(), Qt::Key_A, Qt::AltModifier);
        describe("calibrated, plotted, with Plot Options, the checks, Print and About open");
        choose("mnuFile", "mnuFileItem0");
        describe("after File > New");
        open("ui_calibration.txt");
        choose("mnuFile", "mnuRecordInRegister");
        choose("mnuView", "mnuRegister");
        QTest::mouseClick(child<QPushButton>(mWindow.get(), "cmdTrendPlot"), Qt::LeftButton);
        choose("mnuFile", "mnuRegisterLocation");
        describe("a run recorded, the register, its trend and the register's location open");

        const QString shown = mStates.join("\n\n") + '\n';
        const QString expected = fixture("window_design.txt");
        if (qEnvironmentVariableIsSet("MORVANE_WRITE_FIXTURES")) {
            QFile file(expected);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(shown.toUtf8()) > 0);
        }
        // Line by line, so that a difference names the line of the control it is in.
        QCOMPARE(shown.split('\n'), QString::fromUtf8(fileBytes(expected)).split('\n'));
    }
};

QTEST_MAIN(WindowDesignTest)
#include "window_design_test.moc"
