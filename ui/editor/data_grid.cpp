#include "data_grid.h"

#include "grid_clipboard.h"
#include "grid_feedback.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace morvane {

namespace {

constexpr int kDataRows = DataGrid::kRows - 1;
constexpr int kDataCols = DataGrid::kCols - 1;
constexpr int kDesignedSpaces[DataGrid::kCols] = {10, 20, 11, 11};

// Draws the text of the grid's corner cell (row 0, column 0) on the table's corner button.
class CornerText : public QObject {
public:
    CornerText(QAbstractButton* corner, const DataGrid* grid)
        : QObject(corner), mCorner(corner), mGrid(grid) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != mCorner || event->type() != QEvent::Paint)
            return false;
        QStyleOptionHeader option;
        option.initFrom(mCorner);
        option.rect = mCorner->rect();
        option.text = mGrid->text(0, 0);
        option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        option.position = QStyleOptionHeader::OnlyOneSection;
        QPainter painter(mCorner);
        mCorner->style()->drawControl(QStyle::CE_Header, &option, &painter, mCorner);
        return true;
    }

private:
    QAbstractButton* mCorner;
    const DataGrid* mGrid;
};

// Paints a marked cell in its grey also while it is selected: the selection's colour would
// otherwise hide where the next value goes in the usual rhythm of typing and Enter.
class MarkingDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem shown(option);
        if (index.data(Qt::BackgroundRole).value<QBrush>().style() != Qt::NoBrush)
            shown.state &= ~QStyle::State_Selected;
        QStyledItemDelegate::paint(painter, shown, index);
    }
};

} // namespace

DataGrid::DataGrid(QWidget* parent) : QTableWidget(kDataRows, kDataCols, parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new MarkingDelegate(this));
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setTabKeyNavigation(false);
    setWordWrap(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    for (int row = 1; row <= kDataRows; ++row) {
        setVerticalHeaderItem(row - 1, new QTableWidgetItem);
        for (int col = 1; col <= kDataCols; ++col)
            QTableWidget::setItem(row - 1, col - 1, new QTableWidgetItem);
    }
    for (int col = 1; col <= kDataCols; ++col)
        setHorizontalHeaderItem(col - 1, new QTableWidgetItem);
    if (auto* corner = findChild<QAbstractButton*>())
        corner->installEventFilter(new CornerText(corner, this));
    applyDesignedColumnWidths();
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &DataGrid::highlightOnlyRanges);
}

void DataGrid::highlightOnlyRanges() {
    // A single selected cell is the current one and is not highlighted, so that the marking of
    // the cell being edited shows; a selection of several cells is highlighted as usual.
    QPalette colours = palette();
    const bool single = selectionModel()->selectedIndexes().size() <= 1;
    const QPalette standard = QApplication::palette(this);
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        colours.setBrush(group, QPalette::Highlight,
                         single ? QBrush(Qt::transparent)
                                : standard.brush(group, QPalette::Highlight));
        colours.setBrush(group, QPalette::HighlightedText,
                         single ? standard.brush(group, QPalette::Text)
                                : standard.brush(group, QPalette::HighlightedText));
    }
    setPalette(colours);
}

QTableWidgetItem* DataGrid::dataItem(int row, int col) const {
    if (row == 0 && col >= 1 && col < kCols)
        return horizontalHeaderItem(col - 1);
    if (col == 0 && row >= 1 && row < kRows)
        return verticalHeaderItem(row - 1);
    return item(row - 1, col - 1);
}

QString DataGrid::text(int row, int col) const {
    if (row == 0 && col == 0)
        return mCornerText;
    const QTableWidgetItem* cell = dataItem(row, col);
    return cell ? cell->text() : QString();
}

void DataGrid::setText(int row, int col, const QString& text) {
    if (row == 0 && col == 0) {
        mCornerText = text;
        if (auto* corner = findChild<QAbstractButton*>())
            corner->update();
        return;
    }
    QTableWidgetItem* cell = dataItem(row, col);
    if (!cell || cell->text() == text)
        return;
    cell->setText(text);
    if (row >= 1 && col > kTagCol)
        showTimeProblem(cell);
    emit cellTextChanged();
}

void DataGrid::showTimeProblem(QTableWidgetItem* cell) {
    const std::string text = cell->text().toStdString();
    const PTTextProblem problem = JudgePTText(text);
    const bool wrong = problem != PTTextProblem::None;
    cell->setForeground(wrong ? QBrush(Qt::red) : QBrush());
    cell->setToolTip(wrong ? QString::fromStdString(PTTextProblemText(text, problem)) : QString());
}

GridCells DataGrid::cells() const {
    GridCells grid;
    for (int row = 0; row < kRows; ++row) {
        for (int col = 0; col < kCols; ++col)
            grid.at(row, col) = text(row, col).toStdString();
    }
    return grid;
}

void DataGrid::setCells(const GridCells& grid) {
    for (int row = 0; row < kRows; ++row) {
        for (int col = 0; col < kCols; ++col) {
            const QString cell = QString::fromStdString(grid.at(row, col));
            if (text(row, col) != cell)
                setText(row, col, cell);
        }
    }
}

int DataGrid::currentGridRow() const {
    return currentIndex().isValid() ? currentRow() + 1 : 0;
}

int DataGrid::currentGridCol() const {
    return currentIndex().isValid() ? currentColumn() + 1 : 0;
}

void DataGrid::setCurrentGridCell(int row, int col) {
    setCurrentCell(row - 1, col - 1);
}

void DataGrid::setMarked(int row, int col, bool marked) {
    if (QTableWidgetItem* cell = item(row - 1, col - 1))
        cell->setBackground(marked ? palette().button() : QBrush());
}

QRect DataGrid::cellRect(int row, int col, const QWidget* in) const {
    const QRect inViewport = visualRect(model()->index(row - 1, col - 1));
    return QRect(viewport()->mapTo(in, inViewport.topLeft()), inViewport.size());
}

void DataGrid::applyDesignedColumnWidths() {
    const QFontMetrics metrics(font());
    const auto spaces = [&](int count) { return metrics.horizontalAdvance(QString(count, ' ')); };
    verticalHeader()->setFixedWidth(spaces(kDesignedSpaces[0]));
    for (int col = 1; col < kCols; ++col)
        setColumnWidth(col - 1, spaces(kDesignedSpaces[col]));
}

void DataGrid::widenTimeColumnsFor(const QString& text) {
    // The cell's text margins on both sides, as the style draws them.
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    const int needed = fontMetrics().horizontalAdvance(text) + margins + 2;
    for (int col = kTagCol + 1; col < kCols; ++col)
        setColumnWidth(col - 1, std::max(columnWidth(col - 1), needed));
}

void DataGrid::pasteText(const QString& text) {
    const int firstRow = std::max(currentGridRow(), 1);
    const int firstCol = std::max(currentGridCol(), 1);
    const QList<QStringList> rows = SplitPastedRows(text);
    if (const std::optional<QString> refusal = PasteRefusal(rows, firstRow, firstCol)) {
        emit pasteRefused(*refusal);
        return;
    }
    const GridCells before = cells();
    for (int i = 0; i < rows.size() && firstRow + i < kRows; ++i) {
        for (int j = 0; j < rows[i].size() && firstCol + j < kCols; ++j) {
            const int col = firstCol + j;
            const std::optional<QString> cell =
                col == kTagCol ? PastedTag(rows[i][j]) : std::optional(rows[i][j]);
            if (cell)
                setText(firstRow + i, col, *cell);
        }
    }
    emit pasted(before, firstRow, firstCol);
}

QString DataGrid::selectedText() const {
    QList<QStringList> rows;
    for (const QTableWidgetSelectionRange& range : selectedRanges()) {
        for (int row = range.topRow(); row <= range.bottomRow(); ++row) {
            QStringList cellsOfRow;
            for (int col = range.leftColumn(); col <= range.rightColumn(); ++col)
                cellsOfRow << text(row + 1, col + 1);
            rows << cellsOfRow;
        }
    }
    return JoinCopiedRows(rows);
}

void DataGrid::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        QApplication::clipboard()->setText(selectedText());
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        pasteText(QApplication::clipboard()->text());
        return;
    }
    const bool typing = !event->text().isEmpty() && event->text().at(0).isPrint() &&
                        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (typing) {
        emit textTyped(event->text());
        return;
    }
    const QModelIndex before = currentIndex();
    QTableWidget::keyPressEvent(event);
    if (currentIndex().isValid() && currentIndex() != before)
        emit currentCellMovedByKeys(currentGridRow(), currentGridCol());
}

} // namespace morvane
