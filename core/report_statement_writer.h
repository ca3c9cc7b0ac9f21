#pragma once

// Writing the report's statements: a collector of items, and Statement, which writes the items
// of one statement by the report's rules for numbers and patterns.

#include "number_format.h"
#include "report_arithmetic.h"
#include "report_statements.h"

#include <cmath>
#include <string>
#include <string_view>

namespace morvane {

// Collects the statements as items, for the text layout and the printed page alike.
class StatementCollector {
public:
    explicit StatementCollector(ReportStatements& statements) : mStatements(statements) {}

    void text(std::string_view text) { mItems.push_back(ReportItem::Text(std::string(text))); }
    void number(double value) { mItems.push_back(ReportItem::Number(value)); }
    void count(int n) { number(n); }
    void pattern(double value, int decimals) {
        std::string text;
        if (AppendPattern(text, value, decimals))
            mItems.push_back(ReportItem::Text(std::move(text)));
    }
    void zone() { mItems.push_back(ReportItem::Zone()); }
    void column(int column) { mItems.push_back(ReportItem::Column(column)); }
    void pageBreak() { mStatements.push_back({ReportItem::PageBreak()}); }
    void endStatement() {
        mStatements.push_back(std::move(mItems));
        mItems = {};
    }

private:
    ReportStatements& mStatements;
    ReportStatement mItems;
};

// Writes the items of one statement and ends it when it goes out of scope.
class Statement {
public:
    explicit Statement(StatementCollector& out) : mOut(out) {}
    ~Statement() { mOut.endStatement(); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& text(std::string_view text) {
        mOut.text(text);
        return *this;
    }
    // A count or plasma number, written by the print-list number rule.
    Statement& count(int n) {
        mOut.count(n);
        return *this;
    }
    Statement& plain(report::Number value) {
        if (value && std::isfinite(*value))
            mOut.number(*value);
        return *this;
    }
    Statement& plain(double value) { return plain(report::Number(value)); }
    Statement& plain(const Value& value) { return plain(value.number()); }
    Statement& pattern(report::Number value, report::Pattern pattern) {
        if (value)
            mOut.pattern(*value, pattern.decimals);
        return *this;
    }
    Statement& pattern(double value, report::Pattern pattern) {
        return this->pattern(report::Number(value), pattern);
    }
    Statement& pattern(const Value& value, report::Pattern pattern) {
        return this->pattern(value.number(), pattern);
    }
    // A value as the rounding left it: a text unchanged, a number by the number rule.
    Statement& held(const Value& value) {
        if (value.isText())
            text(value.text());
        else
            plain(value.number());
        return *this;
    }
    Statement& zone() {
        mOut.zone();
        return *this;
    }
    Statement& col(int column) {
        mOut.column(column);
        return *this;
    }

private:
    StatementCollector& mOut;
};

} // namespace morvane
