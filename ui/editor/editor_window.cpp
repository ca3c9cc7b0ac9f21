#include "editor_window.h"

#include "caption_fit.h"
#include "data_grid.h"
#include "grid_change.h"
#include "grid_conversion.h"
#include "grid_feedback.h"
#include "twips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QUndoStack>

#include <algorithm>
#include <tuple>

namespace morvane {

namespace {

// The client area the controls were designed for, in twips.
constexpr int kClientWidth = 6375;
constexpr int kClientHeight = 5805;
// Where the grid ends and the right-hand column of fields begins, in twips.
constexpr int kGridBottom = 720 + 4935;
constexpr int kRightColumnLeft = 3600;
// Pixels between the grid and its line of row counts, and below that line.
constexpr int kRowCountsGap = 3;

const char* const kDeleteRowQuestion =
    "The selected row will be erased.  Are you sure you want to proceed?";

template <typename Control> Control* makeControl(QWidget* parent, const char* name) {
    auto* control = new Control(parent);
    control->setObjectName(QLatin1String(name));
    return control;
}

QLabel* makeLabel(QWidget* parent, const char* name, const char* caption) {
    auto* label = makeControl<QLabel>(parent, name);
    label->setText(QLatin1String(caption));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLineEdit* makeField(QWidget* parent, const char* name, const char* text) {
    auto* field = makeControl<QLineEdit>(parent, name);
    field->setText(QLatin1String(text));
    return field;
}

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

EditorWindow::EditorWindow(CalibrationDataSet& data, MessageSink& messages, QWidget* parent)
    : QWidget(parent), mData(data), mMessages(messages), mUndoSteps(new QUndoStack(this)) {
    setObjectName(QStringLiteral("frmEditor"));
    // Relative paths (the critical t table, the scratch file of the report, the file
    // dialogs' first folder) are taken from the program's own folder.
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    createControls();
    arrangeControls();
    setDesignedTabOrder();
    connectControls();
    connectChangeSignals();
    Combotag->hide();
    Combotag->raise();
    CurrentCol = 1;
    CurrentRow = 1;
    RefreshPosition();
    markUnchanged();
    txtGrid->setFocus();
}

void EditorWindow::createControls() {
    txtGrid = makeField(this, "txtGrid", "");
    Grid1 = makeControl<DataGrid>(this, "Grid1");
    Label10 = makeLabel(this, "Label10", "Calibration identifier:");
    txtid = makeField(this, "txtid", "dataset1.txt");
    Label1 = makeLabel(this, "Label1", "Reference Preparation (y):");
    txtIRP = makeField(this, "txtIRP", "RP");
    Label2 = makeLabel(this, "Label2", "Working Preparation (x):");
    txtWRP = makeField(this, "txtWRP", "WP");
    Label3 = makeLabel(this, "Label3", "ISI:");
    txtISI = makeField(this, "txtISI", "1");
    Label4 = makeLabel(this, "Label4", "ISI Standard Error:");
    txtSEISI = makeField(this, "txtSEISI", "0");
    Label5 = makeLabel(this, "Label5", "Lower INR ");
    txtLowerINR = makeField(this, "txtLowerINR", "1.5");
    Label6 = makeLabel(this, "Label6", "Upper INR");
    txtUpperINR = makeField(this, "txtUpperINR", "4.5");
    Label7 = makeLabel(this, "Label7", "Limits About Calibration Line:");
    txtSDReg = makeField(this, "txtSDReg", "3.0");
    ComboCI = makeControl<QComboBox>(this, "ComboCI");
    ComboCI->addItems({QStringLiteral("95%"), QStringLiteral("90%"), QStringLiteral("99%")});
    Label8 = makeLabel(this, "Label8", "Confidence Intervals");
    Label9 = makeLabel(this, "Label9", "Tick box for Tomenson's corrected INR");
    Chkbox1 = makeControl<QCheckBox>(this, "Chkbox1");
    Command1 = makeControl<QPushButton>(this, "Command1");
    Command1->setText(QStringLiteral("Calibrate"));
    Command1->setToolTip(QStringLiteral("Calibrate (F5 or Ctrl+Return)"));
    Combotag = makeControl<QComboBox>(this, "Combotag");
    Combotag->addItems({QStringLiteral("Abnormal"), QStringLiteral("Normal")});
    cmdDefault = makeControl<QPushButton>(this, "cmdDefault");
    cmdDefault->setText(QStringLiteral("Default (used only for entering data in grid)"));
    cmdDefault->setDefault(true);
    cmdDefault->setFocusPolicy(Qt::NoFocus);
    // It lies below the client area and only receives the Enter key; it is never seen.
    cmdDefault->hide();
    lblRowCounts = makeLabel(this, "lblRowCounts", "0 normal, 0 abnormal, 0 incomplete rows");
}

void EditorWindow::arrangeControls() {
    // Fonts start again from the application's, so that a larger editor shows them unshrunk.
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        control->setFont(QFont());
    const QSize extra = (size() - designedClientSize()).expandedTo(QSize(0, 0));
    const bool larger = extra.width() > 0 || extra.height() > 0;
    int widening = 0;
    if (larger) {
        placeControls(0);
        widening = std::clamp(gridWidthForFont(font(), true) - Grid1->width(), 0, extra.width());
    }
    placeControls(widening);
    fitTexts(widening, extra.width());
    if (larger) {
        Grid1->resize(Grid1->width() + widening, Grid1->height() + extra.height());
        giveCaptionsTheirRoom();
    }
    fitGrid(larger);
    placeRowCounts();
}

// In a larger editor the confidence list and the Tomenson label take the room their texts need
// at the application's font, and the control to the right of each moves along.
void EditorWindow::giveCaptionsTheirRoom() {
    constexpr int kGap = 6;
    for (QWidget* control : {static_cast<QWidget*>(ComboCI), static_cast<QWidget*>(Label9)})
        control->setFont(QFont());
    ComboCI->resize(std::max(ComboCI->width(), ComboCI->minimumSizeHint().width()),
                    ComboCI->height());
    Label8->move(std::max(Label8->x(), ComboCI->geometry().right() + kGap), Label8->y());
    Label9->setWordWrap(false);
    Label9->adjustSize();
    Label9->resize(Label9->width(), std::max(Label9->height(), Chkbox1->height()));
    Chkbox1->move(std::max(Chkbox1->x(), Label9->geometry().right() + kGap), Chkbox1->y());
}

void EditorWindow::placeControls(int widening) {
    const struct {
        QWidget* control;
        int left, top, width, height;
    } designs[] = {
        {txtGrid, 240, 240, 1575, 285},      {Grid1, 120, 720, 3135, 4935},
        {Label10, 3600, 120, 1575, 375},     {txtid, 3600, 360, 2655, 285},
        {Label1, 3600, 1080, 1935, 255},     {txtIRP, 3600, 1320, 2535, 285},
        {Label2, 3600, 1680, 2535, 255},     {txtWRP, 3600, 1920, 2535, 285},
        {Label3, 3600, 2280, 1215, 255},     {txtISI, 3600, 2520, 1215, 285},
        {Label4, 4920, 2280, 1335, 255},     {txtSEISI, 4920, 2520, 1215, 285},
        {Label5, 3600, 2880, 1215, 255},     {txtLowerINR, 3600, 3120, 1215, 285},
        {Label6, 4920, 2880, 1215, 255},     {txtUpperINR, 4920, 3120, 1215, 285},
        {Label7, 3600, 3600, 2295, 255},     {txtSDReg, 3600, 3840, 1215, 285},
        {ComboCI, 3600, 4320, 735, 315},     {Label8, 4440, 4320, 1455, 255},
        {Label9, 3600, 4800, 1815, 375},     {Chkbox1, 5520, 4800, 375, 375},
        {Command1, 3600, 5280, 1215, 375},   {Combotag, 4920, 5280, 1335, 315},
        {cmdDefault, 2400, 6000, 1935, 495},
    };
    const int rightColumn = twipsToPixelsX(kRightColumnLeft, this);
    for (const auto& design : designs) {
        QRect place = twipsToPixels(design.left, design.top, design.width, design.height, this);
        if (place.left() >= rightColumn)
            place.translate(widening, 0);
        design.control->setGeometry(place);
    }
}

void EditorWindow::fitTexts(int widening, int extraWidth) {
    // A label may use the free room to its right up to the next control or the window's edge.
    const struct {
        QLabel* label;
        int rightLimit;
    } labels[] = {
        {Label10, kClientWidth}, {Label1, kClientWidth}, {Label2, kClientWidth},
        {Label3, 4920},          {Label4, kClientWidth}, {Label5, 4920},
        {Label6, kClientWidth},  {Label7, kClientWidth}, {Label8, kClientWidth},
        {Label9, 5520},
    };
    for (const auto& fit : labels) {
        const int shift = fit.rightLimit == kClientWidth ? extraWidth : widening;
        FitLabel(fit.label, twipsToPixelsX(fit.rightLimit, this) + shift);
    }
    for (QWidget* control : {static_cast<QWidget*>(ComboCI), static_cast<QWidget*>(Command1)})
        FitControlText(control);
}

void EditorWindow::fitGrid(bool roomy) {
    // The row numbers, the tag column (wide enough for the tag list over it) and the two PT
    // columns share the grid's width beside its scroll bar.
    const int room = Grid1->width();
    const QFont font = FittingFont(
        Grid1->font(), [&](const QFont& f) { return gridWidthForFont(f, roomy) <= room; });
    gridWidthForFont(font, roomy);
    // Every row is as high as the tag list, so that the list covers a tag cell exactly.
    Grid1->verticalHeader()->setMinimumSectionSize(Combotag->height());
    Grid1->verticalHeader()->setDefaultSectionSize(Combotag->height());
}

// Gives the grid and the tag list the font and the columns their widths for it (roomy: at least
// wide enough for a time such as "123.45"); returns the width the grid then needs, its frame and
// scroll bar included.
int EditorWindow::gridWidthForFont(const QFont& font, bool roomy) {
    Grid1->setFont(font);
    Combotag->setFont(font);
    Grid1->applyDesignedColumnWidths();
    if (roomy)
        Grid1->widenTimeColumnsFor(QStringLiteral("123.45"));
    Grid1->setColumnWidth(0, std::max(Grid1->columnWidth(0), Combotag->minimumSizeHint().width()));
    int width = Grid1->verticalHeader()->width() + 2 * Grid1->frameWidth() +
                Grid1->verticalScrollBar()->sizeHint().width();
    for (int col = 0; col < Grid1->columnCount(); ++col)
        width += Grid1->columnWidth(col);
    return width;
}

void EditorWindow::placeRowCounts() {
    const QRect grid = Grid1->geometry();
    // Below the grid and the Calibrate button, the line may use the editor's whole width.
    lblRowCounts->setGeometry(grid.left(), grid.bottom() + 1 + kRowCountsGap,
                              width() - 2 * grid.left(), lblRowCounts->fontMetrics().height());
}

void EditorWindow::showRowCounts() {
    lblRowCounts->setText(QString::fromStdString(GridRowCountsText(CountGridRows(Grid1->cells()))));
}

void EditorWindow::setDesignedTabOrder() {
    const QList<QWidget*> order = {txtIRP,      txtWRP,   txtISI,   txtSEISI, txtLowerINR,
                                   txtUpperINR, txtSDReg, Command1, Grid1,    ComboCI,
                                   txtGrid,     Combotag, Chkbox1,  txtid};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

void EditorWindow::connectControls() {
    connect(Grid1, &QTableWidget::cellClicked, this, [this] { gridClicked(); });
    connect(Grid1->verticalHeader(), &QHeaderView::sectionClicked, this, [this] { gridClicked(); });
    Grid1->horizontalHeader()->setSectionsClickable(false);
    connect(Grid1, &QTableWidget::currentCellChanged, this,
            [this](int row, int col) { txtGrid->setText(Grid1->text(row + 1, col + 1)); });
    connect(Grid1, &DataGrid::currentCellMovedByKeys, this, &EditorWindow::cellMovedByKeys);
    connect(Grid1, &DataGrid::textTyped, this, &EditorWindow::typedIntoGrid);
    connect(Grid1, &DataGrid::pasted, this, [this](const GridCells& before, int row, int col) {
        recordGridChange(before, row, col);
    });
    connect(Grid1, &DataGrid::pasteRefused, this, [this](const QString& reason) {
        mMessages.show(Message{"Paste Error", reason.toStdString(), MessageIcon::Critical,
                               MessageButtons::Ok});
    });
    connect(Grid1->verticalScrollBar(), &QScrollBar::valueChanged, Combotag, &QWidget::hide);
    connect(Grid1->horizontalScrollBar(), &QScrollBar::valueChanged, Combotag, &QWidget::hide);
    connect(Grid1->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column) {
        if (column == DataGrid::kTagCol - 1 && Combotag->isVisible())
            placeTagList();
    });
    connect(Combotag, &QComboBox::activated, this, &EditorWindow::tagChosen);
    connect(txtGrid, &QLineEdit::textChanged, cmdDefault, [this] { cmdDefault->setDefault(true); });
    txtGrid->installEventFilter(this);
    connect(cmdDefault, &QPushButton::clicked, this, &EditorWindow::enterPressed);
    connect(Command1, &QPushButton::clicked, this, &EditorWindow::calibrateRequested);
}

void EditorWindow::connectChangeSignals() {
    connect(Grid1, &DataGrid::cellTextChanged, this, &EditorWindow::contentsChanged);
    connect(Grid1, &DataGrid::cellTextChanged, this, &EditorWindow::showRowCounts);
    for (QLineEdit* field :
         {txtid, txtIRP, txtWRP, txtISI, txtSEISI, txtLowerINR, txtUpperINR, txtSDReg})
        connect(field, &QLineEdit::textChanged, this, &EditorWindow::contentsChanged);
    connect(ComboCI, &QComboBox::currentIndexChanged, this, &EditorWindow::contentsChanged);
    connect(Chkbox1, &QCheckBox::toggled, this, &EditorWindow::contentsChanged);
}

QSize EditorWindow::designedClientSize() const {
    const QSize designed = twipsToPixels(QSize(kClientWidth, kClientHeight), this);
    const int gridBottom = twipsToPixelsY(kGridBottom, this);
    const int countsBottom = gridBottom + kRowCountsGap + lblRowCounts->fontMetrics().height();
    return QSize(designed.width(), std::max(designed.height(), countsBottom + kRowCountsGap));
}

void EditorWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    arrangeControls();
    if (Combotag->isVisible())
        placeTagList();
}

void EditorWindow::RefreshPosition() {
    // Making the clicked cell current again would undo a selection the click extended.
    if (Grid1->currentGridRow() != CurrentRow || Grid1->currentGridCol() != CurrentCol)
        Grid1->setCurrentGridCell(CurrentRow, CurrentCol);
    if (CurrentCol != DataGrid::kTagCol)
        Grid1->setMarked(CurrentRow, CurrentCol, true);
}

void EditorWindow::WriteDataToGrid() {
    CurrentCol = 1;
    CurrentRow = 1;
    RefreshPosition();
    GridCells cells = Grid1->cells();
    morvane::WriteDataToGrid(mData, cells);
    Grid1->setCells(cells);
}

void EditorWindow::DeleteRow(int delrow) {
    changeGrid(delrow, DataGrid::kTagCol, [&] {
        GridCells cells = Grid1->cells();
        morvane::DeleteRow(cells, mData, delrow, mMessages);
        Grid1->setCells(cells);
    });
}

void EditorWindow::changeGrid(int row, int col, const std::function<void()>& change) {
    const GridCells before = Grid1->cells();
    change();
    recordGridChange(before, row, col);
}

void EditorWindow::recordGridChange(const GridCells& before, int row, int col) {
    GridCells after = Grid1->cells();
    if (after == before)
        return;
    mUndoSteps->push(new GridChange(before, std::move(after), row, col,
                                    [this](const GridCells& cells, int atRow, int atCol) {
                                        showUndoneCells(cells, atRow, atCol);
                                    }));
}

void EditorWindow::showUndoneCells(const GridCells& cells, int row, int col) {
    Combotag->hide();
    Grid1->setCells(cells);
    Grid1->setMarked(CurrentRow, CurrentCol, false);
    CurrentRow = row;
    CurrentCol = col;
    RefreshPosition();
    txtGrid->setText(Grid1->text(row, col));
}

void EditorWindow::deleteSelectedRow() {
    const QList<QTableWidgetSelectionRange> ranges = Grid1->selectedRanges();
    const bool entireRow = ranges.size() == 1 && ranges[0].topRow() == ranges[0].bottomRow() &&
                           Grid1->currentGridCol() == DataGrid::kTagCol &&
                           ranges[0].rightColumn() + 1 == DataGrid::kCols - 1;
    if (!entireRow) {
        mMessages.show(Message{"Delete Row Error", "An entire row must be selected",
                               MessageIcon::Critical, MessageButtons::Ok});
        return;
    }
    const Message question{"", kDeleteRowQuestion, MessageIcon::Question, MessageButtons::YesNo};
    if (mMessages.show(question) != MessageAnswer::Yes)
        return;
    Combotag->hide();
    DeleteRow(Grid1->currentGridRow());
}

GridCells EditorWindow::gridCells() const {
    return Grid1->cells();
}

void EditorWindow::setGridCells(const GridCells& cells) {
    Grid1->setCells(cells);
}

EditorFields EditorWindow::fields() const {
    EditorFields fields;
    fields.txtid = txtid->text().toStdString();
    fields.txtIRP = txtIRP->text().toStdString();
    fields.txtWRP = txtWRP->text().toStdString();
    fields.txtISI = txtISI->text().toStdString();
    fields.txtSEISI = txtSEISI->text().toStdString();
    fields.txtLowerINR = txtLowerINR->text().toStdString();
    fields.txtUpperINR = txtUpperINR->text().toStdString();
    fields.txtSDReg = txtSDReg->text().toStdString();
    fields.ComboCI = ComboCI->currentText().toStdString();
    fields.Chkbox1 = Chkbox1->isChecked();
    return fields;
}

void EditorWindow::setFields(const EditorFields& fields) {
    const struct {
        QLineEdit* field;
        const std::string& text;
    } texts[] = {{txtid, fields.txtid},
                 {txtIRP, fields.txtIRP},
                 {txtWRP, fields.txtWRP},
                 {txtISI, fields.txtISI},
                 {txtSEISI, fields.txtSEISI},
                 {txtLowerINR, fields.txtLowerINR},
                 {txtUpperINR, fields.txtUpperINR},
                 {txtSDReg, fields.txtSDReg}};
    for (const auto& text : texts) {
        if (text.field->text() != fromStd(text.text))
            text.field->setText(fromStd(text.text));
    }
    ComboCI->setCurrentText(fromStd(fields.ComboCI));
    Chkbox1->setChecked(fields.Chkbox1);
}

bool EditorWindow::isChanged() const {
    const EditorFields now = fields();
    const auto header = [](const EditorFields& f) {
        return std::tie(f.txtIRP, f.txtWRP, f.txtISI, f.txtSEISI);
    };
    return Grid1->cells() != mUnchangedGrid || header(now) != header(mUnchangedFields);
}

void EditorWindow::markUnchanged() {
    mUnchangedGrid = Grid1->cells();
    mUnchangedFields = fields();
    emit markedUnchanged();
}

void EditorWindow::focusEditBox() {
    txtGrid->setFocus(Qt::OtherFocusReason);
}

bool EditorWindow::isParameterField(const QWidget* widget) const {
    return widget != txtGrid && widget != Grid1 && widget != Combotag &&
           (qobject_cast<const QLineEdit*>(widget) || widget == ComboCI || widget == Chkbox1);
}

void EditorWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter presses the button that has the focus; in a parameter field it moves on to the
        // next field, so that no cell is written from there; elsewhere it enters the edit box's
        // text into the grid.
        if (focusWidget() == Command1)
            Command1->click();
        else if (isParameterField(focusWidget()))
            focusNextChild();
        else
            cmdDefault->click();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void EditorWindow::closeEvent(QCloseEvent* event) {
    // The editor stays open for the program's whole life; New and Open load it afresh.
    event->ignore();
}

} // namespace morvane
