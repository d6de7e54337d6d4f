#include "host/progress.hpp"

#include <unistd.h>

#include <algorithm>

namespace orvdb::host {

TerminalProgress::TerminalProgress(std::FILE* out, int barWidth)
    : out_(out), barWidth_(std::max(barWidth, 1)) {}

void TerminalProgress::setMax(int bar, int maxValue) {
    std::lock_guard lock(mutex_);
    if (valid(bar)) {
        bars_[bar].max = std::max(maxValue, 0);
        bars_[bar].position = std::min(bars_[bar].position, bars_[bar].max);
    }
    redrawLocked();
}

void TerminalProgress::step(int bar) {
    std::lock_guard lock(mutex_);
    if (valid(bar)) {
        bars_[bar].position = std::min(bars_[bar].position + 1, bars_[bar].max);
    }
    redrawLocked();
}

void TerminalProgress::setPosition(int bar, int value) {
    std::lock_guard lock(mutex_);
    if (valid(bar)) {
        bars_[bar].position = std::clamp(value, 0, bars_[bar].max);
    }
    redrawLocked();
}

void TerminalProgress::setMessage(int bar, std::string_view message) {
    std::lock_guard lock(mutex_);
    if (bar != 0) {
        return;
    }
    Bar& upper = bars_[0];
    upper.caption = upper.titled ? upper.title + " " + std::string(message) : std::string();
    redrawLocked();
}

void TerminalProgress::setTitle(int bar, std::string_view title) {
    std::lock_guard lock(mutex_);
    if (valid(bar)) {
        bars_[bar].title = title;
        bars_[bar].titled = true;
        bars_[bar].caption = title;
    }
    redrawLocked();
}

void TerminalProgress::finish() {
    std::lock_guard lock(mutex_);
    if (drawn_ && out_) {
        std::fputc('\n', out_);
        std::fflush(out_);
    }
    drawn_ = false;
}

std::string TerminalProgress::line() const {
    std::lock_guard lock(mutex_);
    return lineLocked();
}

std::string TerminalProgress::lineLocked() const {
    std::string text;
    for (size_t i = 0; i < bars_.size(); ++i) {
        const Bar& bar = bars_[i];
        if (i > 0) {
            text += " | ";
        }
        if (!bar.caption.empty()) {
            text += bar.caption + " ";
        }
        int filled =
            bar.max > 0
                ? static_cast<int>(static_cast<long long>(bar.position) * barWidth_ / bar.max)
                : 0;
        text += "[" + std::string(filled, '#') + std::string(barWidth_ - filled, '.') + "] ";
        text += std::to_string(bar.position) + "/" + std::to_string(bar.max);
    }
    return text;
}

void TerminalProgress::redrawLocked() {
    if (!out_) {
        return;
    }
    std::string text = "\r\033[K" + lineLocked();
    std::fwrite(text.data(), 1, text.size(), out_);
    std::fflush(out_);
    drawn_ = true;
}

std::shared_ptr<ProgressReporter> makeDefaultProgress() {
    if (::isatty(STDERR_FILENO)) {
        return std::make_shared<TerminalProgress>(stderr);
    }
    return std::make_shared<SilentProgress>();
}

}  // namespace orvdb::host
