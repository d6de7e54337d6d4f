#include "cmd_upgrade_progress.hpp"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>

namespace orvdb::cli {

namespace {

// Columns of the terminal less one, so that a line never wraps (a wrapped
// line could not be redrawn with a carriage return).
size_t terminalColumns(std::FILE* out) {
    winsize size{};
    if (::ioctl(::fileno(out), TIOCGWINSZ, &size) == 0 && size.ws_col > 1) {
        return size.ws_col - 1;
    }
    return 79;
}

// Cut at a character boundary (a UTF-8 lead byte or ASCII counts as a column).
std::string fitted(const std::string& line, size_t columns) {
    size_t used = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80) {
            if (used == columns) {
                return line.substr(0, i);
            }
            ++used;
        }
    }
    return line;
}

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
        const std::string line = fitted(prefix() + " ...", terminalColumns(out_));
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
        std::fprintf(out_, "\r\033[K%s\n", fitted(text, terminalColumns(out_)).c_str());
    } else {
        std::fprintf(out_, "%s\n", text.c_str());
    }
    std::fflush(out_);
}

}  // namespace orvdb::cli
