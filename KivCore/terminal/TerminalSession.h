#pragma once

#include "base/HandoverMutex.h"
#include "base/UniqueFd.h"
#include "jobs/Job.h"
#include "terminal/PseudoTerminal.h"
#include "terminal/TerminalEmulator.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kiv {

// One line of the command line or the user menu run by the user's shell on a pseudo-terminal,
// as a job: run() starts the shell ($SHELL, else /bin/zsh when present, else /bin/sh, as a login
// shell with job control, so a program sent to the background outlives it) and carries bytes
// between the terminal and a TerminalEmulator until the shell has ended. The emulator starts with
// the prompt line ("folder $ line") and ends with the exit code when it is not 0. Every other
// member is safe to call from any thread while run() goes on, and after.
class TerminalSession : public Job
{
public:
    // How long after a Ctrl+C a second one in a row may end the program by force.
    static constexpr std::chrono::milliseconds interruptGrace { 500 };

    // Prepares `line` to run in `directory` on a terminal of `size` cells.
    TerminalSession(std::string line, std::string directory, PseudoTerminal::Size size);
    // "Shell".
    std::string title() const override;
    // The line as typed.
    std::string description() const override;
    // Nothing: what a shell line touches cannot be known.
    JobFootprint footprint() const override;
    // Runs the line until the shell has ended and what it wrote is shown; a start that failed
    // shows why. Cancelling the job kills the program's process groups.
    JobOutcome run(JobControl& control) override;

    // Sends `key` to the program. A Ctrl+C that follows another with no key between, at least
    // interruptGrace later, also kills the program's process groups, unless the program reads
    // its keys raw (an editor's Ctrl+C is a key like any other).
    void pressKey(const TerminalKey& key);
    // Sends `text` to the program as pasted (TerminalEmulator::paste).
    void paste(std::string_view text);
    // Reports the mouse's move to the program if it asked for it (TerminalEmulator::moveMouse).
    void moveMouse(TerminalScreen::Position at, std::uint8_t modifiers);
    // Reports a mouse button to the program if it asked for the mouse (TerminalEmulator::pressMouse).
    void pressMouse(TerminalScreen::Position at, int button, bool pressed, std::uint8_t modifiers);
    // Returns whether the program asked for mouse reports.
    bool wantsMouse() const;
    // Makes the terminal `size` cells (each at least 1); the program gets SIGWINCH.
    void resize(PseudoTerminal::Size size);
    // Copies what shows `linesBack` lines up in the scrollback (TerminalEmulator::copyView).
    void copyView(std::size_t linesBack, std::int64_t pushedBefore, TerminalSnapshot& snapshot) const;

    // Returns a number that grows each time what the terminal shows changes, or the run ends.
    std::uint64_t changes() const { return m_changes.load(); }
    // Returns the exit code once run() has shown the end (the signal's number when a signal
    // ended the shell, -1 when it never started); nothing before.
    std::optional<int> exitCode() const;

private:
    PseudoTerminal::Size size() const;
    void pump(PseudoTerminal& terminal, JobControl& control);
    bool readAvailable(PseudoTerminal& terminal, std::string& buffer);
    void showOutput(std::string_view bytes);
    void takeWork(std::string& outgoing, bool& killAsked);
    void end(int exitCode);
    void wake();

    const std::string m_line;
    const std::string m_directory;
    // Guards everything below but the wake pipe and m_changes; run() hands it over between slices
    // of output, so the window and the keys never wait long for it.
    mutable HandoverMutex m_mutex;
    PseudoTerminal::Size m_size;
    TerminalEmulator m_emulator;
    std::string m_toProgram; // bytes for the program not yet handed to the terminal
    PseudoTerminal* m_terminal = nullptr; // while run() has one
    std::optional<std::chrono::steady_clock::time_point> m_interruptedAt;
    bool m_killAsked = false;
    std::optional<int> m_exitCode;
    UniqueFd m_wakeRead;
    UniqueFd m_wakeWrite;
    std::atomic<std::uint64_t> m_changes { 0 };
};

} // namespace kiv
