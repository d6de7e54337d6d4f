#include "host/dialogs.hpp"

#include "host/host_log.hpp"
#include "host/host_services.hpp"

#include <string>

namespace orvdb::host {

namespace {

int answerFor(int buttons, bool accept) {
    switch (buttons) {
        case MB_OKCANCEL:
            return accept ? IDOK : IDCANCEL;
        case MB_ABORTRETRYIGNORE:
            return accept ? IDRETRY : IDABORT;
        case MB_YESNOCANCEL:
        case MB_YESNO:
            return accept ? IDYES : IDNO;
        case MB_RETRYCANCEL:
            return accept ? IDRETRY : IDCANCEL;
        default:
            return IDOK;
    }
}

const char* answerName(int answer) {
    switch (answer) {
        case IDOK:
            return "OK";
        case IDCANCEL:
            return "Cancel";
        case IDABORT:
            return "Abort";
        case IDRETRY:
            return "Retry";
        case IDIGNORE:
            return "Ignore";
        case IDYES:
            return "Yes";
        case IDNO:
            return "No";
        default:
            return "?";
    }
}

}  // namespace

int AutoAnswerDialogs::messageBox(std::string_view text, std::string_view caption, int flags, int) {
    int answer = answerFor(flags & 0x0F, answer_ == DialogAnswer::yes);
    std::string line(caption);
    line.append(": ").append(text).append(" -> ").append(answerName(answer));
    logToStderr("question", line);
    return answer;
}

int MessageBox(std::string_view text, std::string_view caption, int flags, int extra) {
    return dialogs()->messageBox(text, caption, flags, extra);
}

}  // namespace orvdb::host
