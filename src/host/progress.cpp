#include "host/progress.hpp"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace orvdb::host {

void ProgressWindow::show() {
    {
        std::lock_guard lock(mutex_);
        bars_ = {ProgressBar{100, 0, "stTablename"}, ProgressBar{100, 0, "stFieldname"}};
        tableFormat_.clear();
    }
    repaint();
}

void ProgressWindow::update(int bar, bool draw, void (*change)(ProgressBar&, int), int value) {
    {
        std::lock_guard lock(mutex_);
        if (valid(bar)) {
            change(bars_[bar], value);
        }
    }
    if (draw) {
        repaint();
    }
}

void ProgressWindow::setMax(int bar, int maxValue) {
    update(
        bar, true,
        [](ProgressBar& b, int v) {
            b.max = std::max(v, 0);
            b.position = std::min(b.position, b.max);
        },
        maxValue);
}

void ProgressWindow::step(int bar) {
    update(
        bar, true, [](ProgressBar& b, int) { b.position = std::min(b.position + 1, b.max); }, 0);
}

void ProgressWindow::setPosition(int bar, int value) {
    update(
        bar, true, [](ProgressBar& b, int v) { b.position = std::clamp(v, 0, b.max); }, value);
}

void ProgressWindow::setMessage(int bar, std::string_view message) {
    if (bar != 0) {
        return;
    }
    std::lock_guard lock(mutex_);
    std::string caption = tableFormat_;
    if (size_t at = caption.find("%s"); at != std::string::npos) {
        caption.replace(at, 2, message);
    }
    bars_[0].caption = caption;
}

void ProgressWindow::setTitle(int bar, std::string_view title) {
    {
        std::lock_guard lock(mutex_);
        if (bar == 0) {
            tableFormat_ = std::string(title) + " %s";
        }
        if (valid(bar)) {
            bars_[bar].caption = title;
        }
    }
    repaint();
}

ProgressBar ProgressWindow::bar(int index) const {
    std::lock_guard lock(mutex_);
    return valid(index) ? bars_[index] : ProgressBar{};
}

std::string progressLine(const ProgressBar& bar, int barWidth) {
    int filled = bar.max > 0
                     ? static_cast<int>(static_cast<long long>(bar.position) * barWidth / bar.max)
                     : 0;
    // A position past the maximum (or below 0) fills all (or none) of the bar.
    filled = std::clamp(filled, 0, std::max(barWidth, 0));
    // Built by appending: chains of operator+ on temporaries trip false
    // -Wrestrict warnings of GCC 12 at -O3.
    std::string text = bar.caption;
    if (!text.empty()) {
        text += ' ';
    }
    text += '[';
    text.append(static_cast<size_t>(filled), '#');
    text.append(static_cast<size_t>(std::max(barWidth, 0) - filled), '.');
    text += "] ";
    text += std::to_string(bar.position);
    text += '/';
    text += std::to_string(bar.max);
    return text;
}

namespace {

// Captions, maxima and the number of filled cells: what a redraw must show
// at once.
std::string shapeOf(const std::array<ProgressBar, 2>& bars, int cells) {
    std::string shape;
    for (const ProgressBar& bar : bars) {
        int filled = bar.max > 0
                         ? static_cast<int>(static_cast<long long>(bar.position) * cells / bar.max)
                         : 0;
        shape +=
            bar.caption + '\n' + std::to_string(bar.max) + '\n' + std::to_string(filled) + '\n';
    }
    return shape;
}

size_t terminalWidth(std::FILE* out) {
    winsize size{};
    if (out && ::ioctl(::fileno(out), TIOCGWINSZ, &size) == 0 && size.ws_col > 1) {
        return size.ws_col - 1;
    }
    return 79;
}

// Cut at a character boundary so that the line fits the columns (one byte
// of UTF-8 lead or ASCII counts as a column).
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

}  // namespace

TerminalProgress::TerminalProgress(std::FILE* out, int barWidth)
    : out_(out), barWidth_(std::max(barWidth, 1)) {}

std::string TerminalProgress::text() const {
    std::lock_guard lock(mutex_);
    return progressLine(bars()[0], barWidth_) + "\n" + progressLine(bars()[1], barWidth_);
}

void TerminalProgress::repaint() {
    std::lock_guard lock(mutex_);
    if (!out_) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    std::string shape = shapeOf(bars(), barWidth_);
    if (drawn_ && shape == lastShape_ && now - lastDraw_ < std::chrono::milliseconds(100)) {
        return;
    }
    const size_t width = terminalWidth(out_);
    std::string text = drawn_ ? "\r\033[1A" : "";
    text += "\033[K" + fitted(progressLine(bars()[0], barWidth_), width) + "\n\033[K" +
            fitted(progressLine(bars()[1], barWidth_), width);
    std::fwrite(text.data(), 1, text.size(), out_);
    std::fflush(out_);
    drawn_ = true;
    lastShape_ = std::move(shape);
    lastDraw_ = now;
}

void TerminalProgress::finish() {
    // The final state, whatever the throttle held back.
    {
        std::lock_guard lock(mutex_);
        lastShape_.clear();
    }
    repaint();
    std::lock_guard lock(mutex_);
    if (drawn_ && out_) {
        std::fputc('\n', out_);
        std::fflush(out_);
    }
    drawn_ = false;
}

LineProgress::LineProgress(std::FILE* out) : out_(out) {}

void LineProgress::repaint() {
    std::lock_guard lock(mutex_);
    // A log gets a line per stage or table: the detail bar's counters would
    // add a line for every field or row.
    const ProgressBar& upper = bars()[0];
    const ProgressBar& detail = bars()[1];
    std::string shape = shapeOf({upper, ProgressBar{0, 0, detail.caption}}, 10);
    if (!out_ || shape == lastShape_) {
        return;
    }
    lastShape_ = std::move(shape);
    std::string line = "progress: " + progressLine(upper, 10);
    if (!detail.caption.empty()) {
        line += " | " + detail.caption;
    }
    line += "\n";
    std::fwrite(line.data(), 1, line.size(), out_);
    std::fflush(out_);
}

void LineProgress::finish() {
    std::lock_guard lock(mutex_);
    lastShape_.clear();
}

namespace {

// Decides what to show when the run begins: a GTK window when there is a
// display (automatic only), else the terminal, or plain lines when the
// output is not a terminal.
class ChosenProgress : public ProgressReporter {
public:
    ChosenProgress(ProgressKind kind, std::FILE* out) : kind_(kind), out_(out) {}

    void show() override {
        window_.reset();
        if (kind_ == ProgressKind::automatic) {
            std::string why;
            window_ = makeGtkProgress(why);
        }
        if (!window_ && out_ && ::isatty(::fileno(out_))) {
            window_ = std::make_unique<TerminalProgress>(out_);
        } else if (!window_) {
            window_ = std::make_unique<LineProgress>(out_);
        }
        window_->show();
    }
    void setMax(int bar, int maxValue) override {
        with([&](auto& w) { w.setMax(bar, maxValue); });
    }
    void step(int bar) override {
        with([&](auto& w) { w.step(bar); });
    }
    void setPosition(int bar, int value) override {
        with([&](auto& w) { w.setPosition(bar, value); });
    }
    void setMessage(int bar, std::string_view message) override {
        with([&](auto& w) { w.setMessage(bar, message); });
    }
    void setTitle(int bar, std::string_view title) override {
        with([&](auto& w) { w.setTitle(bar, title); });
    }
    void finish() override {
        if (window_) {
            window_->finish();
            window_.reset();
        }
    }

private:
    template <class Call>
    void with(Call&& call) {
        if (window_) {
            call(*window_);
        }
    }

    ProgressKind kind_;
    std::FILE* out_;
    std::unique_ptr<ProgressWindow> window_;
};

// A GTK window from the start, for --progress gui.
class GuiProgress : public ProgressReporter {
public:
    explicit GuiProgress(std::unique_ptr<ProgressWindow> window) : window_(std::move(window)) {}
    void show() override { window_->show(); }
    void setMax(int bar, int maxValue) override { window_->setMax(bar, maxValue); }
    void step(int bar) override { window_->step(bar); }
    void setPosition(int bar, int value) override { window_->setPosition(bar, value); }
    void setMessage(int bar, std::string_view message) override {
        window_->setMessage(bar, message);
    }
    void setTitle(int bar, std::string_view title) override { window_->setTitle(bar, title); }
    void finish() override { window_->finish(); }

private:
    std::unique_ptr<ProgressWindow> window_;
};

}  // namespace

std::shared_ptr<ProgressReporter> makeProgress(ProgressKind kind, std::FILE* out) {
    switch (kind) {
        case ProgressKind::none:
            return std::make_shared<SilentProgress>();
        case ProgressKind::gui: {
            std::string why;
            std::unique_ptr<ProgressWindow> window = makeGtkProgress(why);
            if (!window) {
                throw std::runtime_error("no GTK progress window: " + why);
            }
            return std::make_shared<GuiProgress>(std::move(window));
        }
        case ProgressKind::tty:
        case ProgressKind::automatic:
            break;
    }
    return std::make_shared<ChosenProgress>(kind, out);
}

std::shared_ptr<ProgressReporter> makeDefaultProgress() {
    return makeProgress(ProgressKind::automatic);
}

}  // namespace orvdb::host
