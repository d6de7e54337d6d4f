#include "cmd_upgrade_progress.hpp"

#include <unistd.h>

#include <cstdio>

#include "host/progress.hpp"

namespace orvdb::cli {

namespace {

// A one-line message: the first line of a longer one.
std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

}  // namespace

UpgradeProgress::Mode UpgradeProgress::modeFor(const std::string& option, std::FILE* out) {
    if (option == "none" || !out) {
        return Mode::none;
    }
    return ::isatty(::fileno(out)) ? Mode::terminal : Mode::lines;
}

UpgradeProgress::UpgradeProgress(Mode mode, std::FILE* out, int total)
    : mode_(mode), out_(out), total_(total) {}

std::string UpgradeProgress::prefix() const {
    return "upgrade [" + std::to_string(index_) + "/" + std::to_string(total_) + "] " + label_;
}

void UpgradeProgress::begin(const std::string& label) {
    ++index_;
    label_ = label;
    started_ = std::chrono::steady_clock::now();
    if (mode_ == Mode::terminal) {
        const std::string line = host::fitted(prefix() + " ...", host::terminalWidth(out_));
        std::fprintf(out_, "\r\033[K%s", line.c_str());
        std::fflush(out_);
    }
}

void UpgradeProgress::succeeded(const std::string& before, const std::string& after) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    char elapsed[32];
    std::snprintf(elapsed, sizeof elapsed, "%.1f s", seconds);
    finish(prefix() + ": " + before + " -> " + after + " (" + elapsed + ")");
}

void UpgradeProgress::failed(const std::string& why) {
    finish(prefix() + ": FAILED: " + firstLine(why));
}

void UpgradeProgress::finish(const std::string& text) {
    if (mode_ == Mode::none) {
        return;
    }
    if (mode_ == Mode::terminal) {
        std::fprintf(out_, "\r\033[K%s\n", host::fitted(text, host::terminalWidth(out_)).c_str());
    } else {
        std::fprintf(out_, "%s\n", text.c_str());
    }
    std::fflush(out_);
}

}  // namespace orvdb::cli
