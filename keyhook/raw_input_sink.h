#pragma once
// The session's keyboard and mouse input announced as WM_INPUT to a message-only window of the
// hook thread, whether or not the hooks are still there. It wakes the resting watchdog; it
// listens only while the watchdog rests, so that input costs the running thread nothing beyond
// the hooks' own calls. Lives on the thread that made it.
#include <windows.h>

#include "scoped_handle.h"

namespace keyhook {

class RawInputSink {
public:
    explicit RawInputSink(HMODULE module);
    ~RawInputSink();
    RawInputSink(const RawInputSink&) = delete;
    RawInputSink& operator=(const RawInputSink&) = delete;

    // True when the system announces input from now on.
    bool listen();
    void stopListening();

private:
    HMODULE module;
    ScopedWindow window;
    bool listening = false;
};

} // namespace keyhook
