#pragma once
#include <windows.h>

// Windows looks for a library that is not one of its known DLLs in the program's own folder
// first, and so does every import of a library loaded later. A library of a system name planted
// beside the program (a downloads folder holds anything) would run in the one process that sees
// every keystroke, so system libraries are taken from the system folder only.

// Makes the system folder the only place that libraries loaded from now on (and their imports)
// are searched, besides a full path given: the process's first act. Does nothing on a Windows
// that lacks the call (Windows 7 without its update); loadSystemLibrary still holds there.
void limitLibrarySearchToSystemFolder();

// A system library by name ("oleacc.dll"), from the system folder; null when it is not there.
HMODULE loadSystemLibrary(const char* name);

// A library of the program's own by its full path; the libraries it imports come from the system
// folder, never from its own.
HMODULE loadLibraryAtPath(const wchar_t* path);
