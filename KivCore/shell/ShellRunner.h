#pragma once

// The result's stream fields are named stdout and stderr, which stdio may define as macros;
// including it here makes every user of this header spell them the same way.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Starts external programs, captures both output streams whole and waits for them to end.
// Nothing here throws: a program that cannot be started is reported inside the result.
namespace kiv::ShellRunner {

// What one finished external program left behind.
struct Result
{
    std::int32_t exitCode = 0; // the exit status (the signal number if killed), -1 if it never started
    std::string stdout; // everything written to standard output
    std::string stderr; // everything written to standard error, or why the start failed

    bool operator==(const Result&) const = default;
};

// Runs `program`, looked up on the inherited search path by /usr/bin/env, with `arguments`, in
// `directory` (this process's own folder when absent). Both streams are decoded as UTF-8 with
// invalid bytes shown as U+FFFD. A failed start gives exit code -1 and the standard error text
// "Failed to launch <program>: <reason>".
Result run(const std::string& program, const std::vector<std::string>& arguments,
    const std::optional<std::string>& directory = std::nullopt);

// The same as run() but the two streams are handed back as the exact bytes the program wrote,
// for callers that treat the output as file names rather than text.
Result runKeepingBytes(const std::string& program, const std::vector<std::string>& arguments,
    const std::optional<std::string>& directory = std::nullopt);

// Receives a program's standard output piece by piece as it arrives; pieces split lines anywhere.
using OutputSink = std::function<void(std::string_view bytes)>;

// The same as runKeepingBytes() but standard output goes to `onOutput` as it arrives (the
// result's stdout stays empty), so the caller can work on it while the program still writes.
Result runStreaming(const std::string& program, const std::vector<std::string>& arguments,
    const std::optional<std::string>& directory, const OutputSink& onOutput);

// Asked now and then while a program runs; returning true stops the program.
using StopCheck = std::function<bool()>;

// The same as run() but `shouldStop` is asked about ten times a second; once it returns true the
// program and whatever it started are ended (SIGTERM to its process group) and its result comes
// back as far as it got.
Result runStoppable(
    const std::string& program, const std::vector<std::string>& arguments, const StopCheck& shouldStop);

// Runs `line` as one command of the user's login shell ($SHELL, else /bin/zsh when present, else
// /bin/sh) with "-l", "-c", in `directory`. A failed start gives exit code -1 and the standard
// error text "Failed to launch shell: <reason>".
Result runShellLine(const std::string& line, const std::string& directory);

} // namespace kiv::ShellRunner

template <> struct std::hash<kiv::ShellRunner::Result>
{
    std::size_t operator()(const kiv::ShellRunner::Result& result) const noexcept;
};
