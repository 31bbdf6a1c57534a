#include "platform/trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

bool TraceEnabled()
{
    static const bool enabled = [] {
        const char* value = std::getenv("KESTROVA_TRACE");
        return value != nullptr && *value != '\0' && std::string_view(value) != "0";
    }();
    return enabled;
}

void Trace(std::string_view text)
{
    if (!TraceEnabled())
        return;
    std::string line(text);
    line += '\n';
    // One write per line, so lines of different threads never interleave.
    ssize_t ignored = ::write(STDERR_FILENO, line.data(), line.size());
    (void)ignored;
}

void TraceF(const char* format, ...)
{
    if (!TraceEnabled())
        return;
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    Trace(buffer);
}
