// The hook binding as the program runs it, among the program's own process-wide objects: the probe
// program starts in a directory of its own, beside whichever stand-in library the test puts there
// as keyhook.dll, and the call log and the warning boxes tell what happened up to the end of the
// process.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_hook_log.h"
#include "support/process_tools.h"

using namespace testing_support;

namespace {

constexpr char kFailureText[] = "keyhook.dllの初期化に失敗しました";
constexpr DWORD kRunTimeout = 60000;

using Lines = std::vector<std::string>;

// One run of the probe: its program directory, its log and what it showed.
class ProbeRun {
public:
    explicit ProbeRun(const std::string& programSubdirectory = "program")
        : programDirectory(scratch.file(programSubdirectory))
        , log(scratch.file("calls.log"))
    {
        CreateDirectoryA(programDirectory.c_str(), nullptr);
    }

    // Puts one of the built stand-ins beside the probe under the library's name.
    bool placeLibrary(const char* fake, const std::string& directory)
    {
        return copyFile(executableDirectory() + "\\" + fake, directory + "\\keyhook.dll");
    }
    bool placeLibrary(const char* fake) { return placeLibrary(fake, programDirectory); }

    // Runs the probe to its end; false when it could not start or did not end.
    bool run(const std::string& currentDirectory = {},
        std::vector<std::pair<std::string, std::string>> environment = {})
    {
        const std::string program = programDirectory + "\\hook_probe.exe";
        if (!copyFile(executableDirectory() + "\\hook_probe.exe", program))
            return false;
        environment.emplace_back("TAVELO_HOOK_LOG", log);
        ChildProcess child;
        if (!child.start(
                program, {}, currentDirectory.empty() ? scratch.path() : currentDirectory, environment))
            return false;
        boxes = answerMessageBoxesUntilExit(child, kRunTimeout);
        if (!child.waitForExit(0))
            return false;
        exitCode = child.exitCode();
        return true;
    }

    Lines calls() const { return readLines(log); }

    // The probe's window handle as logged at its creation.
    std::string window() const
    {
        for (const std::string& line : calls())
            if (line.rfind("window ", 0) == 0 && line != "window destroyed")
                return line.substr(7);
        return {};
    }

    TempDirectory scratch;
    std::string programDirectory;
    std::string log;
    std::vector<SeenMessageBox> boxes;
    DWORD exitCode = STILL_ACTIVE;
};

void expectOneFailureWarningOwnedByTheWindow(const ProbeRun& probe)
{
    ASSERT_EQ(probe.boxes.size(), 1u);
    EXPECT_EQ(probe.boxes[0].caption, "エラー");
    EXPECT_EQ(probe.boxes[0].text, kFailureText);
    EXPECT_EQ(windowText(probe.boxes[0].owner), probe.window()) << "owned by the main window";
}

// Everything the log holds from the window's creation on, with the library's file name taken off
// its attach line.
Lines withoutAttachPaths(Lines calls)
{
    for (std::string& line : calls)
        if (line.rfind("attach ", 0) == 0)
            line = "attach";
    return calls;
}

Lines runningThenEnded(const std::string& window)
{
    return {"window " + window, "attach", "StartHook " + window, "started", "window destroyed",
        "mutex closed", "settings written", "pictures deleted", "EndHook", "detach"};
}

// A keyhook.dll anywhere but beside the program would run foreign code inside it: one on the PATH
// and one in the current directory at the start are never loaded.
TEST(HookLibraryFailures, NoLibraryBesideTheProgramWarnsOnceAndCallsNothingAtExit)
{
    ProbeRun probe;
    const std::string onPath = probe.scratch.file("on-path");
    const std::string current = probe.scratch.file("current");
    for (const std::string& elsewhere : {onPath, current}) {
        ASSERT_TRUE(CreateDirectoryA(elsewhere.c_str(), nullptr));
        ASSERT_TRUE(probe.placeLibrary("fakehook_ok.dll", elsewhere));
    }
    ASSERT_TRUE(probe.run(current, {{"PATH", onPath + ";" + environmentVariable("PATH")}}));
    EXPECT_EQ(probe.exitCode, 0u);
    expectOneFailureWarningOwnedByTheWindow(probe);
    EXPECT_EQ(probe.calls(),
        (Lines{"window " + probe.window(), "started", "window destroyed", "mutex closed", "settings written",
            "pictures deleted"}));
}

// A library without IsHooking is unloaded at once and never called, not even its EndHook though
// that one was found; one whose StartHook fails still gets its EndHook once at exit.
TEST(HookLibraryFailures, AnUnusableLibraryWarnsOnce)
{
    for (const bool startFails : {false, true}) {
        ProbeRun probe;
        ASSERT_TRUE(
            probe.placeLibrary(startFails ? "fakehook_start_fails.dll" : "fakehook_no_ishooking.dll"));
        ASSERT_TRUE(probe.run());
        EXPECT_EQ(probe.exitCode, 0u);
        expectOneFailureWarningOwnedByTheWindow(probe);
        const Lines unloadedAtOnce{"window " + probe.window(), "attach", "detach", "started",
            "window destroyed", "mutex closed", "settings written", "pictures deleted"};
        EXPECT_EQ(withoutAttachPaths(probe.calls()),
            startFails ? runningThenEnded(probe.window()) : unloadedAtOnce);
    }
}

TEST(HookLibraryRunning, StartsWithTheWindowAndEndsAfterTheSettingsAreWrittenBeforeUnloading)
{
    // 表 is 0x95 0x5C in code page 932: its second byte must not split the path to the library.
    ProbeRun probe("表");
    ASSERT_TRUE(probe.placeLibrary("fakehook_ok.dll"));
    ASSERT_TRUE(probe.run());
    EXPECT_EQ(probe.exitCode, 0u);
    EXPECT_TRUE(probe.boxes.empty());
    ASSERT_FALSE(probe.window().empty());
    // Exactly this sequence: one StartHook with the window, one EndHook, and never IsHooking.
    ASSERT_EQ(withoutAttachPaths(probe.calls()), runningThenEnded(probe.window()));
    EXPECT_EQ(probe.calls()[1], "attach " + probe.programDirectory + "\\keyhook.dll");
}

} // namespace
