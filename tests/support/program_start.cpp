#include "support/program_start.h"

namespace testing_support {

HWND startShowingBasePicture(InstalledProgram& program, const std::optional<std::string>& settings)
{
    if (!program.installed()) {
        ADD_FAILURE() << "the program is not installed";
        return nullptr;
    }
    if (settings) {
        EXPECT_TRUE(program.writeSettings(*settings));
    }
    if (!program.start()) {
        ADD_FAILURE() << "cannot start the program: error " << GetLastError();
        return nullptr;
    }
    const HWND window = program.waitForWindow();
    if (!window) {
        ADD_FAILURE() << "no window; exit code " << program.process().exitCode();
        return nullptr;
    }
    const ::testing::AssertionResult shown = program.waitForPicture(programBasePicture());
    EXPECT_TRUE(shown);
    return shown ? window : nullptr;
}

} // namespace testing_support
