#pragma once

// The report text laid out straight from the statements by the print-list rules.

#include "number_format.h"
#include "report_statements.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>

namespace morvane {

// The width of a print zone in columns: zones start at columns 1, 15, 29, ...
inline constexpr int kZoneWidth = 14;

// The columns a UTF-8 text takes: one for each byte that is not a continuation byte.
int ColumnsOf(std::string_view text);

// Lays the statements out as text straight away, by the print-list rules, and keeps the column
// count; continuation bytes of UTF-8 characters take no column. The text is written into room
// made ahead a kilobyte at a time, within the size reserved for it, and cut to its length when
// taken.
class TextLayout {
public:
    explicit TextLayout(std::size_t expectedSize) { mOut.reserve(expectedSize); }

    void text(std::string_view text) {
        std::copy(text.begin(), text.end(), room(text.size()));
        mEnd += text.size();
        mColumn += ColumnsOf(text);
    }
    void number(double value) { ascii(FormatPlainNumber(value)); }
    // A whole number by the same rule as number(), without the general form's detour.
    void count(int n) {
        char* const start = room(16);
        *start = n < 0 ? '-' : ' ';
        const unsigned magnitude = n < 0 ? 0u - static_cast<unsigned>(n) : static_cast<unsigned>(n);
        char* end = std::to_chars(start + 1, start + 15, magnitude).ptr;
        *end++ = ' ';
        advance(end - start);
    }
    void pattern(double value, int decimals) {
        char* const start = room(MaxPatternLength(decimals));
        if (const char* end = WritePattern(start, value, decimals))
            advance(end - start);
    }
    void zone() { padTo(((mColumn - 1) / kZoneWidth + 1) * kZoneWidth + 1); }
    void column(int column) {
        if (mColumn > column)
            endStatement();
        padTo(column);
    }
    void pageBreak() {}
    void endStatement() {
        char* out = room(2);
        out[0] = '\r';
        out[1] = '\n';
        mEnd += 2;
        mColumn = 1;
    }

    std::string take() && {
        mOut.resize(mEnd);
        return std::move(mOut);
    }

private:
    // Where the next `size` characters go.
    char* room(std::size_t size) {
        if (mOut.size() - mEnd < size)
            mOut.resize(mEnd + std::max<std::size_t>(size, 1024));
        return mOut.data() + mEnd;
    }
    void advance(std::ptrdiff_t written) {
        mEnd += static_cast<std::size_t>(written);
        mColumn += static_cast<int>(written);
    }
    void ascii(std::string_view text) {
        std::copy(text.begin(), text.end(), room(text.size()));
        advance(static_cast<std::ptrdiff_t>(text.size()));
    }
    void padTo(int column) {
        if (column > mColumn) {
            const auto count = static_cast<std::size_t>(column - mColumn);
            // Eight spaces at a time; those written beyond the padding are written over next.
            char* const out = room(count + 8);
            for (std::size_t k = 0; k < count; k += 8)
                std::memcpy(out + k, "        ", 8);
            advance(static_cast<std::ptrdiff_t>(count));
        }
    }

    std::string mOut;
    std::size_t mEnd = 0;
    int mColumn = 1;
};

// Lays one statement out, ending its line.
void RenderStatement(const ReportStatement& statement, TextLayout& layout);

} // namespace morvane
