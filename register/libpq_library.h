#pragma once

#include <libpq-fe.h>

#include <string>

namespace morvane::register_storage {

// The libpq functions the PostgreSQL register calls, found in libpq.so.5 when the first such
// register is opened. The library is loaded at run time, not linked: morvane-cli is one static
// executable, libpq cannot be linked statically (its Kerberos and LDAP libraries have no
// static form), and linking it as a shared library would make every start of the program pay
// for mapping it and its dependencies. The header gives the types only.
struct LibpqFunctions {
    decltype(&PQconnectdb) connectdb;
    decltype(&PQstatus) status;
    decltype(&PQerrorMessage) errorMessage;
    decltype(&PQfinish) finish;
    decltype(&PQsetNoticeProcessor) setNoticeProcessor;
    decltype(&PQexec) exec;
    decltype(&PQexecParams) execParams;
    decltype(&PQresultStatus) resultStatus;
    decltype(&PQresultErrorMessage) resultErrorMessage;
    decltype(&PQntuples) ntuples;
    decltype(&PQgetvalue) getvalue;
    decltype(&PQgetlength) getlength;
    decltype(&PQgetisnull) getisnull;
    decltype(&PQclear) clear;
};

// The loaded functions; throws RegisterError naming the location when libpq.so.5
// cannot be loaded or lacks one of them.
const LibpqFunctions& Libpq(const std::string& location);

} // namespace morvane::register_storage
