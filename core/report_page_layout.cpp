#include "report_page_layout.h"

#include "number_format.h"
#include "utf8.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace morvane {

namespace {

// A position this close below the start of a column counts as being in that column: the advance
// of a text in a printer font and its number of average character widths may differ by the
// rounding of the font's metrics, and a text that ends on a column must not be taken to stop
// short of it.
constexpr double kColumnTolerance = 0.05;

// The print column, counted from 1, in which position x (counted from 0) lies.
int columnAt(double x) {
    return static_cast<int>(std::floor(x + kColumnTolerance)) + 1;
}

// Collects the printed lines into pages of at most a page's number of lines.
class Paginator {
public:
    explicit Paginator(int linesPerPage) : mLinesPerPage(std::max(linesPerPage, 1)) {}

    void addLine(PrintLine line) {
        if (mPages.empty() || mBreakPending || pageIsFull())
            mPages.emplace_back();
        mBreakPending = false;
        mPages.back().push_back(std::move(line));
    }

    // The next line starts a new page; nothing happens before the first line.
    void breakPage() { mBreakPending = !mPages.empty(); }

    std::vector<PrintPage> take() {
        while (!mPages.empty() && isBlank(mPages.back()))
            mPages.pop_back();
        return std::move(mPages);
    }

private:
    bool pageIsFull() const { return static_cast<int>(mPages.back().size()) >= mLinesPerPage; }

    static bool isBlank(const PrintPage& page) {
        return std::all_of(page.begin(), page.end(),
                           [](const PrintLine& line) { return line.empty(); });
    }

    int mLinesPerPage;
    bool mBreakPending = false;
    std::vector<PrintPage> mPages;
};

// Builds one printed line at a time from the items of the statements.
class LineBuilder {
public:
    LineBuilder(const ColumnWidth& width, double pageColumns, Paginator& pages)
        : mWidth(width), mPageColumns(pageColumns), mPages(pages) {}

    // Places a text at the current position; what does not fit on the line continues on the
    // next one.
    void text(std::string_view text) {
        while (!text.empty()) {
            const double width = mWidth(text);
            if (mX + width <= mPageColumns + kColumnTolerance) {
                place(text, width);
                return;
            }
            std::size_t fit = fittingPrefix(text, mPageColumns - mX);
            if (fit == 0 && mX > 0.0) {
                continueOnNextLine();
                continue;
            }
            if (fit == 0)
                fit = Utf8FirstCharacterLength(text); // a page narrower than one character
            place(text.substr(0, fit), mWidth(text.substr(0, fit)));
            text.remove_prefix(fit);
            if (!text.empty())
                endLine();
        }
    }

    void zone() { mX = std::max(mX, static_cast<double>(NextZoneColumn(columnAt(mX)) - 1)); }

    // Moves to column (counted from 1), on a new line when the line is already beyond it.
    void tabTo(int column) {
        if (TabNeedsNewLine(columnAt(mX), column))
            endLine();
        mX = std::max(mX, static_cast<double>(column - 1));
    }

    void endLine() {
        mPages.addLine(std::move(mRuns));
        mRuns.clear();
        mX = 0.0;
    }

private:
    // Text placed right where the previous run ends joins that run.
    void place(std::string_view text, double width) {
        if (!mRuns.empty() && mRunEnd == mX)
            mRuns.back().text.append(text);
        else
            mRuns.push_back(PrintRun{mX, std::string(text)});
        mX += width;
        mRunEnd = mX;
    }

    void continueOnNextLine() {
        if (mRuns.empty())
            mX = 0.0;
        else
            endLine();
    }

    // The byte length of the longest whole-character beginning of text that fits in room.
    std::size_t fittingPrefix(std::string_view text, double room) const {
        std::vector<std::size_t> ends;
        for (std::size_t i = 1; i <= text.size(); ++i)
            if (i == text.size() || !IsUtf8ContinuationByte(text[i]))
                ends.push_back(i);
        const auto fits = [&](std::size_t end) {
            return mWidth(text.substr(0, end)) <= room + kColumnTolerance;
        };
        const auto firstTooWide = std::partition_point(ends.begin(), ends.end(), fits);
        return firstTooWide == ends.begin() ? 0 : *(firstTooWide - 1);
    }

    const ColumnWidth& mWidth;
    const double mPageColumns;
    Paginator& mPages;
    PrintLine mRuns;
    double mX = 0.0;
    double mRunEnd = -1.0;
};

void layOutStatement(const ReportStatement& statement, LineBuilder& line) {
    for (const ReportItem& item : statement) {
        switch (item.kind) {
        case ReportItem::Kind::Text:
            line.text(item.text);
            break;
        case ReportItem::Kind::Number:
            line.text(FormatPlainNumber(item.number));
            break;
        case ReportItem::Kind::Zone:
            line.zone();
            break;
        case ReportItem::Kind::Column:
            line.tabTo(item.column);
            break;
        case ReportItem::Kind::PageBreak:
            break;
        }
    }
    line.endLine();
}

} // namespace

double CharacterColumns(std::string_view text) {
    return static_cast<double>(Utf8CharacterCount(text));
}

std::vector<PrintPage> LayOutPrintedReport(const ReportStatements& statements,
                                           const ColumnWidth& width, PrintArea area) {
    Paginator pages(area.lines);
    LineBuilder line(width, area.columns, pages);
    for (const ReportStatement& statement : statements) {
        if (IsPageBreak(statement))
            pages.breakPage();
        else
            layOutStatement(statement, line);
    }
    return pages.take();
}

std::vector<PrintRun> SplitIntoWords(const PrintRun& run, const ColumnWidth& width) {
    std::vector<PrintRun> words;
    const std::string_view text = run.text;
    std::size_t start = text.find_first_not_of(' ');
    while (start != std::string_view::npos) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        words.push_back({run.column + width(text.substr(0, start)),
                         std::string(text.substr(start, end - start))});
        start = text.find_first_not_of(' ', end);
    }
    return words;
}

} // namespace morvane
