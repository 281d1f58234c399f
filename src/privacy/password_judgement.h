#pragma once
#include <cstdint>
#include <string_view>

// Whether the keyboard focus is in a password field, judged from facts that the caller gathers
// about the foreground window's focused control. The facts come cheap; only accessibility, which
// another program must answer, is left for the caller to ask when the judgement needs it.

enum class FocusEventKind { focus, foreground };

struct FocusFacts {
    FocusEventKind event = FocusEventKind::foreground;
    bool hasForeground = false;
    // The focused control's class, and the system class behind it (a framework's superclass).
    std::string_view className;
    std::string_view realClassName;
    std::uint32_t style = 0;
    bool ownProcess = false;
    bool hung = false;
    // A focus event's window belongs to the foreground window.
    bool eventInForeground = false;
};

enum class PasswordJudgement {
    notPassword,
    password,
    unchanged,      // the facts say nothing new: the last answer stands
    askEventObject, // the answer is whether the focus event's object is protected
    askFocusedPart, // the answer is whether the focused part of the control is protected
};

PasswordJudgement judgePasswordFocus(const FocusFacts& facts);
