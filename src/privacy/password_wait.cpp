#include "privacy/password_wait.h"

#include "privacy/password_focus.h"

namespace {

// Short enough that nobody sees the delay of a press.
constexpr UINT kJudgementWaitMs = 300;
// A program that takes messages but is slow to answer accessibility (a busy browser): a password
// field there must not show its first letters. The judge answers by its own deadline, well within
// this; the limit only keeps presses from waiting for good should that answer ever be lost.
constexpr UINT kAnsweringProgramWaitMs = 2000;

} // namespace

std::optional<TypingAnswer> heedPasswordNews(TypingGate& gate, HWND window, WPARAM news)
{
    switch (news) {
    case kFocusMoved:
        if (gate.focusMoved())
            SetTimer(window, PASSWORD_WAIT_TIMER_ID, kJudgementWaitMs, nullptr);
        return std::nullopt;
    case kFocusOwnerAnswers:
        if (gate.waiting())
            SetTimer(window, PASSWORD_WAIT_TIMER_ID, kAnsweringProgramWaitMs, nullptr);
        return std::nullopt;
    case kNotPasswordFocused:
    case kPasswordFocused:
        KillTimer(window, PASSWORD_WAIT_TIMER_ID);
        return news == kPasswordFocused ? TypingAnswer::password : TypingAnswer::notPassword;
    default:
        return std::nullopt;
    }
}

TypingAnswer stopPasswordWait(HWND window)
{
    KillTimer(window, PASSWORD_WAIT_TIMER_ID);
    return TypingAnswer::noAnswerInTime;
}
