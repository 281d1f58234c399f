#pragma once
// A message hook that the end-to-end tests place on the program's window thread: a menu is read
// only in its own process. The message below, posted to a window, writes one line per item of
// its system menu as it opens, "id<TAB>text<TAB>bitmap (0 or 1)<TAB>checked (0 or 1)", into the
// shared UTF-16 text named below. Posted with a timer identifier as wParam, it kills the window's
// timer of that identifier instead and writes "killed" when there was one, "none" when there was
// not.
constexpr char kMenuProbeMessage[] = "TaveloMenuProbe";
constexpr char kMenuProbeText[] = "TaveloMenuProbeText";
constexpr char kMenuProbeHook[] = "menuProbeHook";
constexpr unsigned kMenuProbeChars = 4096;
