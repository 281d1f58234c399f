#include "display/password_wait.h"

#include "display/input_state.h"
#include "display/painting.h"
#include "privacy/password_focus.h"

namespace {

// Short enough that nobody sees the delay of a press.
constexpr UINT kJudgementWaitMs = 300;
// A program that takes messages but is slow to answer accessibility (a busy browser): a password
// field there must not show its first letters. One that then stops answering is given up on.
constexpr UINT kAnsweringProgramWaitMs = 2000;

} // namespace

void followPasswordJudge(HWND window, WPARAM news)
{
    switch (news) {
    case kFocusMoved:
        if (holdNewPresses())
            SetTimer(window, PASSWORD_WAIT_TIMER_ID, kJudgementWaitMs, nullptr);
        return;
    case kFocusOwnerAnswers:
        if (pressesHeldBack())
            SetTimer(window, PASSWORD_WAIT_TIMER_ID, kAnsweringProgramWaitMs, nullptr);
        return;
    case kNotPasswordFocused:
    case kPasswordFocused:
        KillTimer(window, PASSWORD_WAIT_TIMER_ID);
        hideTyping(news == kPasswordFocused);
        requestKeyPaint(window);
        return;
    default:
        return;
    }
}

void endPasswordWait(HWND window)
{
    KillTimer(window, PASSWORD_WAIT_TIMER_ID);
    showHeldPresses();
    requestKeyPaint(window);
}
