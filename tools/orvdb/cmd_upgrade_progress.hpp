// The progress of `orvdb upgrade --all`: one line per database. On a
// terminal the line shows the database while it is upgraded and is then
// redrawn in place with the outcome; elsewhere only the outcome is written.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace orvdb::cli {

class UpgradeProgress {
public:
    enum class Mode { terminal, lines, none };

    // "none" is silent; "auto" and "tty" redraw on a terminal and write
    // plain lines when `out` is not one.
    static Mode modeFor(const std::string& option, std::FILE* out);

    UpgradeProgress(Mode mode, std::FILE* out, int total);

    // "upgrade [2/5] provider Acme ..." while the database is upgraded.
    void begin(const std::string& label);
    // "upgrade [2/5] provider Acme: 0.35835 -> 0.36052 (41.2 s)".
    void succeeded(const std::string& before, const std::string& after);
    // "upgrade [2/5] provider Acme: FAILED: <why>".
    void failed(const std::string& why);

private:
    std::string prefix() const;
    void finish(const std::string& text);

    Mode mode_;
    std::FILE* out_;
    int total_;
    int index_ = 0;
    std::string label_;
    std::chrono::steady_clock::time_point started_{};
};

}  // namespace orvdb::cli
