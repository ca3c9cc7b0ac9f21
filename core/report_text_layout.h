#pragma once

#include "report_statements.h"

#include <string>

namespace morvane {

// Lays the statements out as text by the print-list rules, every line ending in CR LF. Page
// breaks write nothing; a UTF-8 character takes one column whatever its byte length.
std::string RenderReportText(const ReportStatements& statements);

} // namespace morvane
