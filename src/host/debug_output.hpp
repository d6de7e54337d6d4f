// The debugger output channel (the role of OutputDebugStringW): where the
// driver sends the texts of failing selects and similar diagnostics that are
// never shown to the user.
//
// Silent by default. The environment variable ORVDB_DEBUG chooses a sink at
// first use: "1" or "stderr" writes to stderr, any other non-empty value
// except "0" names a file that each text is appended to. A program may route
// the channel itself with setDebugSink (the CLI's -v sends it to stderr).
//
// debugTrace is the opt-in trace of failing action statements, which the
// driver otherwise drops without a word. It goes to the same sink but only
// while tracing is on: when ORVDB_DEBUG is set, or after setDebugTrace(true).
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace orvdb::host {

// Receives one text per call; must not throw.
using DebugSink = std::function<void(std::string_view text)>;

void debugOutput(std::string_view text);
void debugTrace(std::string_view text);

// An empty sink silences the channel.
void setDebugSink(DebugSink sink);
void setDebugTrace(bool enabled);
bool debugTraceEnabled();

// Chooses sink and tracing from ORVDB_DEBUG as described above (done
// automatically at first use).
void configureDebugFromEnvironment();

// The sink a setting names, as ORVDB_DEBUG reads: "" or "0" none, "1" or
// "stderr" stderr, anything else a file.
DebugSink debugSinkFor(std::string_view setting);
// "orvdb: debug: <text>" lines on stderr.
DebugSink stderrDebugSink();
// Appends each text as one line to the file; write errors are ignored.
DebugSink fileDebugSink(std::string path);

}  // namespace orvdb::host
