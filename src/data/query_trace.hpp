// The select trace of the report designer: when the designer's models folder
// holds "activeQuery.txt", every select a query cursor runs is appended to it,
// one line each.
#pragma once

#include <string_view>

namespace orvdb::data {

// The file as the suite names it when testing for it and when writing to it
// (one file under a case-insensitive lookup). Resolved like every suite path
// (separators and letter case), so on Linux it is looked for under the
// current folder.
inline constexpr std::string_view kQueryTraceCheckedFile =
    "C:\\Program Files (x86)\\Halvo\\2.0.1.x\\XMan\\Reports\\Models\\activeQuery.Txt";
inline constexpr std::string_view kQueryTraceFile =
    "C:\\Program Files (x86)\\Halvo\\2.0.1.x\\XMan\\Reports\\Models\\activeQuery.txt";

// Appends sql and CR LF when the trace file exists; raises, naming the file,
// when it exists and cannot be written.
void traceSelect(std::string_view sql);

}  // namespace orvdb::data
