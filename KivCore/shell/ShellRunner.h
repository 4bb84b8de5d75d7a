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

// Runs shell command lines, hands over or captures both output streams and waits for them to end.
// The commands read their standard input from /dev/null. Nothing here throws: a program that cannot be
// started is reported inside the result.
namespace kiv::ShellRunner {

// What one finished external program left behind.
struct Result
{
    std::int32_t exitCode = 0; // the exit status (the signal number if killed), -1 if it never started
    std::string stdout; // everything written to standard output
    std::string stderr; // everything written to standard error, or why the start failed

    bool operator==(const Result&) const = default;
};

// Runs `line` as one command of the user's login shell ($SHELL, else /bin/zsh when present, else
// /bin/sh) with "-l", "-c", in `directory`. A failed start gives exit code -1 and the standard
// error text "Failed to launch shell: <reason>".
Result runShellLine(const std::string& line, const std::string& directory);

// Receives a stream's bytes piece by piece as they arrive; pieces split lines anywhere.
using OutputSink = std::function<void(std::string_view bytes)>;

// Asked about ten times a second while a program runs: the signal to send its process group now,
// or 0 for none.
using SignalSource = std::function<int()>;

// The same as runShellLine() but the line runs in a process group of its own, each stream goes
// to its sink as it arrives, undecoded (the result keeps only the failure text of a start that
// failed), and the group gets the signals `nextSignal` asks for.
Result runShellLineLive(const std::string& line, const std::string& directory, const OutputSink& onOutput,
    const OutputSink& onError, const SignalSource& nextSignal);

} // namespace kiv::ShellRunner

template <> struct std::hash<kiv::ShellRunner::Result>
{
    std::size_t operator()(const kiv::ShellRunner::Result& result) const noexcept;
};
