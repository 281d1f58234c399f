#pragma once
#include <string>

// The executable's directory, without a trailing separator ("D:" for a drive's root). Empty until
// first computed, then fixed for the life of the process. Plain zero-initialised data with no
// constructor or destructor, so any process-wide object may use it while being built or torn down.
// UTF-16 as the system gives it, so that any folder name the user can create is kept.
struct ModuleDirectoryStorage {
    wchar_t text[512]; // the directory when it fits here
    wchar_t* longText; // a longer one, on the heap for the rest of the process; never cut short
    const wchar_t* get() const { return longText ? longText : text; }
    bool empty() const { return get()[0] == 0; }
};

extern ModuleDirectoryStorage ModuleDirectory;

// Computes ModuleDirectory if it is still empty, then makes it the current directory (on every
// call); true when the current directory was set. GUI thread only.
bool prepareModuleDirectory();

// prepareModuleDirectory, then the directory's text, valid for the life of the process.
const wchar_t* moduleDirectory();

// The name placed in the executable's directory; empty without that directory, as a joined name
// would then start at the root of the current drive and reach someone else's file.
std::wstring besideProgram(const std::wstring& name);

// The executable's full path however long; empty when the system gives none.
std::wstring executablePath();

// Fills an empty storage with the directory of path; one that does not fit the fixed buffer is
// held whole on the heap.
void storeDirectoryOf(ModuleDirectoryStorage& storage, const wchar_t* path);
