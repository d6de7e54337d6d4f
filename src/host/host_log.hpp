// The log of the default host services: one line per event on stderr, so that
// a batch run keeps a record of messages, questions and handed-off errors.
#pragma once

#include <string_view>

namespace orvdb::host {

// Writes "orvdb: <category>: <text>" and a line break to stderr, whole lines
// only even when several threads log at once.
void logToStderr(std::string_view category, std::string_view text);

}  // namespace orvdb::host
