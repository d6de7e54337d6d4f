#include "host/debug_output.hpp"

#include "host/host_log.hpp"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>

namespace orvdb::host {

namespace {

struct DebugChannel {
    std::mutex mutex;
    bool configured = false;
    bool trace = false;
    DebugSink sink;
};

DebugChannel& channel() {
    static DebugChannel instance;
    return instance;
}

void configureLocked(DebugChannel& c) {
    c.configured = true;
    const char* value = std::getenv("ORVDB_DEBUG");
    c.sink = debugSinkFor(value ? value : "");
    c.trace = static_cast<bool>(c.sink);
}

// The sink to use now, or an empty one when the text is not to be written.
DebugSink currentSink(bool isTrace) {
    DebugChannel& c = channel();
    std::lock_guard lock(c.mutex);
    if (!c.configured) {
        configureLocked(c);
    }
    if (isTrace && !c.trace) {
        return nullptr;
    }
    return c.sink;
}

void emit(std::string_view text, bool isTrace) {
    if (DebugSink sink = currentSink(isTrace)) {
        try {
            sink(text);
        } catch (...) {
            // The debug channel never disturbs the caller.
        }
    }
}

}  // namespace

void debugOutput(std::string_view text) {
    emit(text, false);
}

void debugTrace(std::string_view text) {
    emit(text, true);
}

void setDebugSink(DebugSink sink) {
    DebugChannel& c = channel();
    std::lock_guard lock(c.mutex);
    c.configured = true;
    c.sink = std::move(sink);
}

void setDebugTrace(bool enabled) {
    DebugChannel& c = channel();
    std::lock_guard lock(c.mutex);
    if (!c.configured) {
        configureLocked(c);
    }
    c.trace = enabled;
}

bool debugTraceEnabled() {
    DebugChannel& c = channel();
    std::lock_guard lock(c.mutex);
    if (!c.configured) {
        configureLocked(c);
    }
    return c.trace;
}

void configureDebugFromEnvironment() {
    DebugChannel& c = channel();
    std::lock_guard lock(c.mutex);
    configureLocked(c);
}

DebugSink debugSinkFor(std::string_view setting) {
    if (setting.empty() || setting == "0") {
        return nullptr;
    }
    if (setting == "1" || setting == "stderr") {
        return stderrDebugSink();
    }
    return fileDebugSink(std::string(setting));
}

DebugSink stderrDebugSink() {
    return [](std::string_view text) { logToStderr("debug", text); };
}

DebugSink fileDebugSink(std::string path) {
    auto mutex = std::make_shared<std::mutex>();
    return [path = std::move(path), mutex](std::string_view text) {
        std::lock_guard lock(*mutex);
        std::FILE* file = std::fopen(path.c_str(), "ab");
        if (!file) {
            return;
        }
        std::fwrite(text.data(), 1, text.size(), file);
        if (text.empty() || text.back() != '\n') {
            std::fputc('\n', file);
        }
        std::fclose(file);
    };
}

}  // namespace orvdb::host
