// Progress of a long run (the merge) on two bars with a caption each: bar 0
// the upper one (stage or table), bar 1 the lower one (detail). Other
// indexes change nothing.
//
// Caption rules (the merge's progress window):
//   setTitle(0, T)    upper caption := T; later messages format "T %s"
//   setMessage(0, M)  upper caption := that format with M ("" before any title)
//   setTitle(1, T)    lower caption := T
//   setMessage(1, M)  nothing
// setMessage does not repaint; every other call does.
#pragma once

#include <array>
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace orvdb::host {

class ProgressReporter {
public:
    virtual ~ProgressReporter() = default;
    // A run begins: the window appears with empty bars and its initial captions.
    virtual void show() {}
    virtual void setMax(int bar, int maxValue) = 0;
    virtual void step(int bar) = 0;
    virtual void setPosition(int bar, int value) = 0;
    virtual void setMessage(int bar, std::string_view message) = 0;
    virtual void setTitle(int bar, std::string_view title) = 0;
    // The run is over: the window goes.
    virtual void finish() = 0;
};

struct ProgressBar {
    int max = 100;
    int position = 0;
    std::string caption;
};

// The state and caption rules every progress window shares; a window draws
// the state in repaint().
class ProgressWindow : public ProgressReporter {
public:
    void show() override;
    void setMax(int bar, int maxValue) final;
    void step(int bar) final;
    void setPosition(int bar, int value) final;
    void setMessage(int bar, std::string_view message) final;
    void setTitle(int bar, std::string_view title) final;
    void finish() override {}

    ProgressBar bar(int index) const;

protected:
    static bool valid(int bar) { return bar == 0 || bar == 1; }
    virtual void repaint() = 0;
    // Under the lock: what repaint draws.
    const std::array<ProgressBar, 2>& bars() const { return bars_; }

    mutable std::mutex mutex_;

private:
    void update(int bar, bool draw, void (*change)(ProgressBar&, int), int value);

    std::array<ProgressBar, 2> bars_ = {ProgressBar{100, 0, "stTablename"},
                                        ProgressBar{100, 0, "stFieldname"}};
    std::string tableFormat_;  // "" until the upper title is set
};

class SilentProgress : public ProgressWindow {
protected:
    void repaint() override {}
};

// "<caption> [#####.....] 3/7" for one bar.
std::string progressLine(const ProgressBar& bar, int barWidth);

// Two lines on a terminal, redrawn in place (cursor moved back up), cut to
// the terminal's width so that they never wrap. Counters alone redraw at
// most every 100 ms; captions, maxima and the drawn bar at once.
class TerminalProgress : public ProgressWindow {
public:
    explicit TerminalProgress(std::FILE* out = stderr, int barWidth = 20);
    void finish() override;
    // The two lines as they are drawn now.
    std::string text() const;

protected:
    void repaint() override;

private:
    std::FILE* out_;
    int barWidth_;
    bool drawn_ = false;
    std::string lastShape_;
    std::chrono::steady_clock::time_point lastDraw_{};
};

// For output that is not a terminal (a log): one plain line per change of
// the upper caption or maximum, or when the upper bar passes a tenth of its
// length; the detail bar shows its caption only.
class LineProgress : public ProgressWindow {
public:
    explicit LineProgress(std::FILE* out = stderr);
    void finish() override;

protected:
    void repaint() override;

private:
    std::FILE* out_;
    std::string lastShape_;
};

enum class ProgressKind {
    automatic,  // a window when there is a display, else the terminal
    gui,        // a GTK 3 window
    tty,        // the terminal (plain lines when it is not one)
    none,
};

// The GTK 3 window, or null with the reason in `why` (no GTK library, no
// display). GTK is loaded on first use, so the driver runs without it.
std::unique_ptr<ProgressWindow> makeGtkProgress(std::string& why);

// A reporter of the kind; `automatic` and `tty` decide when the run shows
// it. Throws std::runtime_error naming the reason when `gui` has no display.
std::shared_ptr<ProgressReporter> makeProgress(ProgressKind kind, std::FILE* out = stderr);

// The default: automatic.
std::shared_ptr<ProgressReporter> makeDefaultProgress();

}  // namespace orvdb::host
