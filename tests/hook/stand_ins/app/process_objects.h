#pragma once
// What the probe compiles src/app/process_objects.cpp against: the program's own list of
// process-wide objects, in its own order, with the real hook library and stand-ins for the rest
// that log when they are destroyed. A test thus reads the teardown order of the program's list.
#include <string>

#include "common/process_globals.h"
#include "fake_hook_log.h"
#include "hook/hook_library.h"

class LoggedOnDestruction {
public:
    explicit LoggedOnDestruction(const char* text)
        : line(text)
    {
    }
    ~LoggedOnDestruction() { appendLogLine(line); }
    LoggedOnDestruction(const LoggedOnDestruction&) = delete;
    LoggedOnDestruction& operator=(const LoggedOnDestruction&) = delete;

private:
    std::string line;
};

struct ImagePair : LoggedOnDestruction {
    ImagePair()
        : LoggedOnDestruction("pictures deleted")
    {
    }
};

struct SettingsRegistry : LoggedOnDestruction {
    SettingsRegistry(const char*, bool)
        : LoggedOnDestruction("settings written")
    {
    }
};

struct SingleInstanceGuard : LoggedOnDestruction {
    SingleInstanceGuard()
        : LoggedOnDestruction("mutex closed")
    {
    }
};

extern std::string CustomImageName;
extern HookLibrary hookLibrary;
extern ImagePair imagePair;
extern SettingsRegistry settingsRegistry;
extern SingleInstanceGuard singleInstanceGuard;
