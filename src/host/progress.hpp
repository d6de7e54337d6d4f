// Progress of a long run (the merge) on two bars: 0 the upper bar and caption
// (stage or table), 1 the lower ones (detail). Other indexes change nothing.
#pragma once

#include <array>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace orvdb::host {

class ProgressReporter {
public:
    virtual ~ProgressReporter() = default;
    virtual void setMax(int bar, int maxValue) = 0;
    virtual void step(int bar) = 0;
    virtual void setPosition(int bar, int value) = 0;
    // Bar 0: the caption becomes the title set last followed by a blank and
    // the message, or nothing before any title. Bar 1: no effect.
    virtual void setMessage(int bar, std::string_view message) = 0;
    virtual void setTitle(int bar, std::string_view title) = 0;
    // The run is over.
    virtual void finish() = 0;
};

class SilentProgress : public ProgressReporter {
public:
    void setMax(int, int) override {}
    void step(int) override {}
    void setPosition(int, int) override {}
    void setMessage(int, std::string_view) override {}
    void setTitle(int, std::string_view) override {}
    void finish() override {}
};

// Redraws one terminal line on each change:
//   "<caption 0> [#####.....]  3/7 | <caption 1> [##........]  12/60"
class TerminalProgress : public ProgressReporter {
public:
    explicit TerminalProgress(std::FILE* out = stderr, int barWidth = 20);

    void setMax(int bar, int maxValue) override;
    void step(int bar) override;
    void setPosition(int bar, int value) override;
    void setMessage(int bar, std::string_view message) override;
    void setTitle(int bar, std::string_view title) override;
    void finish() override;

    // The line as it is drawn now.
    std::string line() const;

private:
    struct Bar {
        std::string caption;
        std::string title;
        bool titled = false;
        int max = 100;
        int position = 0;
    };
    static bool valid(int bar) { return bar == 0 || bar == 1; }
    std::string lineLocked() const;
    void redrawLocked();

    mutable std::mutex mutex_;
    std::FILE* out_;
    int barWidth_;
    std::array<Bar, 2> bars_;
    bool drawn_ = false;
};

// The default: a terminal bar when stderr is a terminal, silence otherwise.
std::shared_ptr<ProgressReporter> makeDefaultProgress();

}  // namespace orvdb::host
