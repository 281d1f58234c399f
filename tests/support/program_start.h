#pragma once
// The start that most tests of the installed program begin with.
#include <windows.h>

#include <optional>
#include <string>

#include "support/installed_program.h"

namespace testing_support {

// Writes the settings text when one is given, starts the installed program and waits until its
// window shows the base picture. The window, or null after reporting what failed.
HWND startShowingBasePicture(InstalledProgram& program, const std::optional<std::string>& settings = {});

} // namespace testing_support
