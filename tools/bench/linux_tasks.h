#pragma once
// The Linux side of a program that runs under Wine, read from /proc through Wine's drive Z: (the
// Linux root). Wine's process ids are its own; a Linux process is found by its command line, which
// Wine sets to the Windows one.
#include <optional>
#include <string>

// The Linux process whose command line holds `text` (a path that no other process has).
std::optional<unsigned long> linuxProcessWith(const std::string& text);

// Voluntary context switches so far, summed over the threads of a Linux process: each is a wait
// that ended, a wake-up.
std::optional<unsigned long long> voluntarySwitches(unsigned long linuxProcess);
