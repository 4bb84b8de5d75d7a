#include "shell/ShellRunner.h"

#include "ScopedEnvironment.h"
#include "TempDir.h"

using namespace kiv;
using namespace kiv::test;

namespace {

// The login shell may print greetings of its own; the tests use a plain one.
const ScopedEnvironment plainShell("SHELL", "/bin/sh");

} // namespace

TEST(ShellRunnerTest, ReturnsExitCodeAndBothStreamsAndRunsInTheGivenFolderWithArgumentsUnchanged)
{
    test::TempDir scratch;
    const std::string folder = std::filesystem::canonical(scratch.path()).string() + "\n";
    EXPECT_EQ(ShellRunner::runShellLine("echo out; echo err >&2; pwd; exit 3", scratch.path()),
        (ShellRunner::Result { 3, "out\n" + folder, "err\n" }));
    EXPECT_EQ(ShellRunner::run("sh", { "-c", "pwd; exit 7" }, scratch.path()),
        (ShellRunner::Result { 7, folder, "" }));

    // The child inherits the environment; arguments are never read by a shell.
    ScopedEnvironment probe("KIV_PROBE", "a b  c");
    auto result = ShellRunner::run("sh", { "-c", "printf '%s|' \"$KIV_PROBE\" \"$@\"", "sh", "*", "-x", "" });
    EXPECT_EQ(result, (ShellRunner::Result { 0, "a b  c|*|-x||", "" }));
}

TEST(ShellRunnerTest, MegabyteOnStandardErrorWhileStandardOutputStaysOpenDoesNotHang)
{
    EXPECT_EQ(
        ShellRunner::runShellLine("head -c 1048576 /dev/zero | tr '\\0' e >&2; head -c 1048576 /dev/zero "
                                  "| tr '\\0' o; echo done >&2",
            "/"),
        (ShellRunner::Result { 0, std::string(1 << 20, 'o'), std::string(1 << 20, 'e') + "done\n" }));
}

TEST(ShellRunnerTest, AStoppedProgramEndsWithWhatItStartedWithinAPoll)
{
    // The grandchild sleep holds the pipe open: stopping the shell alone would not end the run.
    const auto start = std::chrono::steady_clock::now();
    auto result = ShellRunner::runStoppable("sh", { "-c", "sleep 30; echo late" },
        [&] { return std::chrono::steady_clock::now() - start > std::chrono::milliseconds(200); });
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(result.stdout, "");
    EXPECT_NE(result.exitCode, 0);
}

TEST(ShellRunnerTest, ProgramsThatCannotStartAreReportedInTheResultAndNoShellVariableMeansZshOrSh)
{
    auto missingProgram = ShellRunner::run("kiv-no-such-program", {});
    EXPECT_TRUE(missingProgram.exitCode != 0
        && missingProgram.stderr.find("kiv-no-such-program") != std::string::npos);
    EXPECT_EQ(ShellRunner::runShellLine("true", "/kiv-no-such-folder"),
        (ShellRunner::Result {
            -1, "", "Failed to launch shell: No such file or directory: /kiv-no-such-folder" }));

    ScopedEnvironment missingShell("SHELL", "/kiv/no-shell");
    EXPECT_EQ(ShellRunner::runShellLine("true", "/"),
        (ShellRunner::Result { -1, "", "Failed to launch shell: No such file or directory: /kiv/no-shell" }));

    // Without the variable the line runs under zsh, or else sh.
    ScopedEnvironment unset("SHELL", nullptr);
    auto expected = ::access("/bin/zsh", X_OK) == 0 ? "/bin/zsh" : "/bin/sh";
    EXPECT_EQ(ShellRunner::runShellLine("echo $0", "/").stdout, std::string(expected) + "\n");
}

TEST(ShellRunnerTest, InvalidUtf8IsShownWithReplacementCharactersUnlessBytesAreKept)
{
    test::TempDir scratch;
    scratch.write("caf\xE9");
    scratch.write("plain");
    EXPECT_EQ(ShellRunner::runShellLine("ls; printf 'x\\377' >&2", scratch.path()),
        (ShellRunner::Result { 0, "caf\xEF\xBF\xBD\nplain\n", "x\xEF\xBF\xBD" }));
    EXPECT_EQ(ShellRunner::runKeepingBytes("ls", {}, scratch.path()).stdout, "caf\xE9\nplain\n");
}

TEST(ShellRunnerTest, ChildHoldsNoOtherEndOfItsOutputPipes)
{
    if (!std::filesystem::exists("/proc/self/fd"))
        GTEST_SKIP() << "no /proc/self/fd on this system";
    // A leaked pipe end would keep the capture open for as long as any grandchild lives.
    auto result = ShellRunner::runShellLine(
        "out=$(readlink /proc/$$/fd/1); err=$(readlink /proc/$$/fd/2); "
        "for fd in /proc/$$/fd/*; do readlink $fd; done | grep -c -F -e \"$out\" -e \"$err\"",
        "/");
    EXPECT_EQ(result.stdout, "2\n") << result.stderr;
}
