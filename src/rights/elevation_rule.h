#pragma once

// What asking about the foreground window's process gave. Errors are the system's codes, 0 for
// success; an error stops the questions after it.
struct ForegroundFacts {
    bool window = false;            // some window has the foreground
    bool ownProcess = false;        // it is one of this program's own
    unsigned long processError = 0; // opening the process for a limited query
    unsigned long tokenError = 0;   // opening its token for a query
    bool elevationRead = false;
    bool elevated = false; // the token's elevation, once read
};

// The system's ERROR_ACCESS_DENIED.
constexpr unsigned long kAccessDenied = 5;

// True when the foreground window belongs to a process that has more rights than this program,
// so that the system keeps its input from this program's hooks: its token says it runs as
// administrator, or the system refuses this program even a look at it. Asked only by a program
// that runs without administrator rights: one that has them hears every window.
bool foregroundHasMoreRights(const ForegroundFacts& facts);
