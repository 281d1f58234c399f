#pragma once
// The process-wide objects that several rooms share, created before the entry function runs in
// the order of their definitions in process_objects.cpp and destroyed in reverse: the settings are
// written back after the window is gone and before the hook library is unloaded. An object that
// one file alone uses is defined in that file; app/process_map.h lists them all.
#include <string>

#include "app/single_instance_guard.h"
#include "common/process_globals.h"
#include "hook/hook_library.h"
#include "pictures/pictures.h"
#include "settings/settings_registry.h"

extern std::string CustomImageName;
extern HookLibrary hookLibrary;
extern ImagePair imagePair;
extern SettingsRegistry settingsRegistry;
extern SingleInstanceGuard singleInstanceGuard;
