// Only the program defines these; tests make their own. Their order here is the order of
// construction, and teardown runs in reverse.
#include "app/process_objects.h"

#include "common/module_directory.h"
#include "common/system_library.h"

namespace {
// Before anything else loads a library.
const bool librarySearchLimited = (limitLibrarySearchToSystemFolder(), true);
} // namespace

std::string CustomImageName;
HookLibrary hookLibrary;
ImagePair imagePair;
// Resolving the INI path computes the program's directory and makes it the current directory.
SettingsRegistry settingsRegistry("TaveloKeyboard.ini", false);
HWND mainWindow = GetDesktopWindow();

namespace {
const bool currentDirectoryIsModuleDirectory = prepareModuleDirectory();
} // namespace

SingleInstanceGuard singleInstanceGuard;
