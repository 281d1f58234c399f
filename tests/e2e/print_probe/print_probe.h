#pragma once
// A message hook that the end-to-end tests place on the program's window thread: a device context
// does not cross processes, so PrintWindow must run where the window lives. The message below,
// posted to a window with its client width and height as wParam and lParam, prints its client area
// into the shared top-down 32-bit picture named below.
constexpr char kPrintProbeMessage[] = "TaveloPrintProbe";
constexpr char kPrintProbePixels[] = "TaveloPrintProbePixels";
constexpr char kPrintProbeHook[] = "printProbeHook";
