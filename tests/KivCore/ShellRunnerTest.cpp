#include "shell/ShellRunner.h"

#include "ScopedEnvironment.h"
#include "TempDir.h"

using namespace kiv;
using namespace kiv::test;

namespace {

// The login shell may print greetings of its own; the tests use a plain one.
const ScopedEnvironment plainShell("SHELL", "/bin/sh");

} // namespace

TEST(ShellRunnerTest, ReturnsExitCodeAndBothStreamsAndRunsInTheGivenFolderWithTheEnvironment)
{
    test::TempDir scratch;
    const std::string folder = std::filesystem::canonical(scratch.path()).string() + "\n";
    EXPECT_EQ(ShellRunner::runShellLine("echo out; echo err >&2; pwd; exit 3", scratch.path()),
        (ShellRunner::Result { 3, "out\n" + folder, "err\n" }));

    // The child inherits the environment.
    ScopedEnvironment probe("KIV_PROBE", "a b  c");
    EXPECT_EQ(ShellRunner::runShellLine("printf '%s|' \"$KIV_PROBE\"", "/"),
        (ShellRunner::Result { 0, "a b  c|", "" }));
}

TEST(ShellRunnerTest, MegabyteOnStandardErrorWhileStandardOutputStaysOpenDoesNotHang)
{
    EXPECT_EQ(
        ShellRunner::runShellLine("head -c 1048576 /dev/zero | tr '\\0' e >&2; head -c 1048576 /dev/zero "
                                  "| tr '\\0' o; echo done >&2",
            "/"),
        (ShellRunner::Result { 0, std::string(1 << 20, 'o'), std::string(1 << 20, 'e') + "done\n" }));
}

TEST(ShellRunnerTest, ProgramsThatCannotStartAreReportedInTheResultAndNoShellVariableMeansZshOrSh)
{
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

TEST(ShellRunnerTest, InvalidUtf8IsShownWithReplacementCharacters)
{
    test::TempDir scratch;
    scratch.write("caf\xE9");
    scratch.write("plain");
    EXPECT_EQ(ShellRunner::runShellLine("ls; printf 'x\\377' >&2", scratch.path()),
        (ShellRunner::Result { 0, "caf\xEF\xBF\xBD\nplain\n", "x\xEF\xBF\xBD" }));
}

TEST(ShellRunnerTest, ChildReadsNothingOfOurInputAndHoldsNoOtherEndOfItsOutputPipes)
{
    // Our input may be a terminal that nobody types into: a child reading it would never end.
    int typed[2];
    ASSERT_EQ(::pipe(typed), 0);
    ASSERT_EQ(::write(typed[1], "typed", 5), 5);
    ::close(typed[1]);
    const int ownInput = ::dup(STDIN_FILENO);
    ::dup2(typed[0], STDIN_FILENO);
    const auto fromInput = ShellRunner::runShellLine("cat", "/");
    ::dup2(ownInput, STDIN_FILENO);
    ::close(ownInput);
    ::close(typed[0]);
    EXPECT_EQ(fromInput, (ShellRunner::Result { 0, "", "" }));

    if (!std::filesystem::exists("/proc/self/fd"))
        GTEST_SKIP() << "no /proc/self/fd on this system";
    // A leaked pipe end would keep the capture open for as long as any grandchild lives.
    auto result = ShellRunner::runShellLine(
        "out=$(readlink /proc/$$/fd/1); err=$(readlink /proc/$$/fd/2); "
        "for fd in /proc/$$/fd/*; do readlink $fd; done | grep -c -F -e \"$out\" -e \"$err\"",
        "/");
    EXPECT_EQ(result.stdout, "2\n") << result.stderr;
}
