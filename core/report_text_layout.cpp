#include "report_text_layout.h"

#include "number_format.h"
#include "utf8.h"

namespace morvane {

namespace {

// Writes the lines of the report text and keeps the column, counted from 1, of the next
// character.
class TextLayout {
public:
    void text(std::string_view text) {
        mOut.append(text);
        mColumn += static_cast<int>(Utf8CharacterCount(text));
    }
    void zone() { padTo(NextZoneColumn(mColumn)); }
    void tabTo(int column) {
        if (TabNeedsNewLine(mColumn, column))
            endLine();
        padTo(column);
    }
    void endLine() {
        mOut += "\r\n";
        mColumn = 1;
    }
    void statement(const ReportStatement& statement) {
        for (const ReportItem& item : statement)
            this->item(item);
        endLine();
    }

    std::string take() && { return std::move(mOut); }

private:
    void item(const ReportItem& item) {
        switch (item.kind) {
        case ReportItem::Kind::Text:
            return text(item.text);
        case ReportItem::Kind::Number:
            return text(FormatPlainNumber(item.number));
        case ReportItem::Kind::Zone:
            return zone();
        case ReportItem::Kind::Column:
            return tabTo(item.column);
        case ReportItem::Kind::PageBreak:
            return;
        }
    }
    void padTo(int column) {
        if (column > mColumn)
            text(std::string(static_cast<std::size_t>(column - mColumn), ' '));
    }

    std::string mOut;
    int mColumn = 1;
};

} // namespace

std::string RenderReportText(const ReportStatements& statements) {
    TextLayout layout;
    for (const ReportStatement& statement : statements)
        if (!IsPageBreak(statement))
            layout.statement(statement);
    return std::move(layout).take();
}

} // namespace morvane
