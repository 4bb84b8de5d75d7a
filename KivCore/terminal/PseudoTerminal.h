#pragma once

#include "base/UniqueFd.h"

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace kiv {

// A program running on a pseudo-terminal of its own: the terminal is its standard input, output
// and error and its controlling terminal, and it leads a session and a process group of its own,
// so the terminal's line discipline signals it (Ctrl+C, Ctrl+Z, Ctrl+\) as a terminal would.
// Its environment is ours with TERM=xterm-256color, and without COLUMNS and LINES, which would
// contradict the terminal's size.
class PseudoTerminal
{
public:
    // The terminal's size in character cells.
    struct Size
    {
        int rows = 0;
        int columns = 0;
    };

    // Starts `argv` (argv[0] an absolute path) in `directory` on a new terminal of `size`. Throws
    // std::system_error when the terminal cannot be made or the program cannot start, naming
    // the folder when it is the folder that cannot be entered.
    PseudoTerminal(const std::vector<std::string>& argv, const std::string& directory, Size size);
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;
    // Kills the program's process groups if it has not been waited for, and waits for it.
    ~PseudoTerminal();

    // Returns our end of the terminal, which reads what the program writes and writes what it
    // reads; it does not block.
    int descriptor() const { return m_master.get(); }
    // Tells the terminal its new size; the program gets SIGWINCH.
    void resize(Size size);
    // Returns whether the terminal turns the interrupt character into SIGINT, as it does unless
    // the program reads its keys raw.
    bool signalsInterrupts() const;
    // Sends SIGKILL to the program's process group and to the one it put in the foreground.
    void kill();
    // Returns the program's exit code once it has ended (the signal's number when a signal
    // ended it), waiting for it when `wait`, else nothing while it runs.
    std::optional<int> exitCode(bool wait);

private:
    UniqueFd m_master;
    pid_t m_child = -1;
    std::optional<int> m_exitCode;
};

} // namespace kiv
