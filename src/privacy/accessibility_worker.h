#pragma once
#include <windows.h>

#include <memory>

#include "privacy/judge_mailbox.h"

// Asks on a thread of its own, which posts the answer to the mailbox and ends: no thread waits
// while nothing is asked, and one held inside another program holds up no later question. While
// too many are held, the question waits for the first that comes back. False when the system
// refused a thread.
bool askOnWorker(const std::shared_ptr<JudgeMailbox>& mailbox, const FocusQuestion& question);
