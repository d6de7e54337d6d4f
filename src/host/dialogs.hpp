// The host's message dialog. Button sets and answers use the Windows message
// box codes, which the suite passes and tests.
#pragma once

#include <atomic>
#include <string_view>

namespace orvdb::host {

// Button sets (the low four bits of the flags).
constexpr int MB_OK = 0;
constexpr int MB_OKCANCEL = 1;
constexpr int MB_ABORTRETRYIGNORE = 2;
constexpr int MB_YESNOCANCEL = 3;
constexpr int MB_YESNO = 4;
constexpr int MB_RETRYCANCEL = 5;

// Answers.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows a question and returns the button pressed. `extra` is passed
    // through from the caller unchanged.
    virtual int messageBox(std::string_view text, std::string_view caption, int flags,
                           int extra) = 0;
};

enum class DialogAnswer { yes, no };

// Default: nobody to ask, so the configured answer is given and the question
// and the answer are logged on stderr. "yes" presses the accepting button
// (Yes, OK, Retry), "no" the refusing one (No, Cancel, Abort); OK-only boxes
// always get OK. The answer is no until set (a batch run stops rather than
// overwrite without consent; the CLI sets it with --yes / --no).
class AutoAnswerDialogs : public Dialogs {
public:
    explicit AutoAnswerDialogs(DialogAnswer answer = DialogAnswer::no) : answer_(answer) {}

    void setDefaultAnswer(DialogAnswer answer) { answer_ = answer; }
    DialogAnswer defaultAnswer() const { return answer_.load(); }

    int messageBox(std::string_view text, std::string_view caption, int flags, int extra) override;

private:
    std::atomic<DialogAnswer> answer_;
};

// Through the installed services.
int MessageBox(std::string_view text, std::string_view caption, int flags, int extra);

}  // namespace orvdb::host
