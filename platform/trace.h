#pragma once
// Developer traces: one line each to standard error, only when the
// environment variable KESTROVA_TRACE is set to something other than "0".
// Their texts carry no behaviour; the user never sees them.

#include <string_view>

bool TraceEnabled();
void Trace(std::string_view text);
// printf-style formatting, for traces with numbers in them.
void TraceF(const char* format, ...) __attribute__((format(printf, 1, 2)));
