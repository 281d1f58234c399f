#pragma once
#include <windows.h>

#include <memory>

#include "privacy/judge_mailbox.h"

// One accessibility question about a focus, and the program that must answer it.
struct FocusQuestion {
    unsigned number;       // the mailbox's question
    bool aboutEventObject; // else about the focused part of the window's client area
    HWND asked;
    LONG object;
    LONG child;
};

// Asks on a thread of its own, which posts the answer to the mailbox and ends: no thread waits
// while nothing is asked, and one held inside another program holds up no later question. False
// when no thread was started: too many are held in other programs already, or the system refused.
bool askOnWorker(const std::shared_ptr<JudgeMailbox>& mailbox, const FocusQuestion& question);
