// A late-loaded DLL or function that this Windows lacks ends the run with the
// message and exit code 1: on standard error in a quiet run, where nothing may
// wait for a person, and in an error box otherwise.
#include <gtest/gtest.h>

#include "app/win32/e2e_console.h"
#include "app/win32/e2e_process.h"

namespace velbrook::e2e {
namespace {

const char kMissing[] = "Velbrook cannot run on this version of Windows: velbrook_missing.dll "
                        "lacks VelbrookMissingFunction.";

TEST(LateDllFailure, AQuietRunWritesTheMessageAndEndsWithExitCodeOne) {
    const ScriptRun run = RunScript("-quiet default", kTimeoutMs, "missing_function_probe.exe");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, std::string(kMissing) + "\r\n");
    EXPECT_FALSE(run.showedWindow);
}

TEST(LateDllFailure, AnOrdinaryRunShowsTheMessageInAnErrorBox) {
    ChildProcess probe("missing_function_probe.exe", "default", kWorkDir);
    ASSERT_TRUE(probe.Started());
    const AnsweredBox box = AnswerMessageBox(probe, "OK");
    EXPECT_TRUE(box.answered);
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.text, kMissing);
    EXPECT_EQ(probe.WaitForExit(kTimeoutMs), 1);
}

} // namespace
} // namespace velbrook::e2e
