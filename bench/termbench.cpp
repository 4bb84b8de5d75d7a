#include "jobs/JobControl.h"
#include "jobs/JobThread.h"
#include "terminal/TerminalSession.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

// Times `cat FILE` through the console's terminal (the pseudo-terminal and the emulator behind the
// console, at the size of a 1100 x 680 window) beside `script -qc 'cat FILE' /dev/null >/dev/null`,
// the bare pseudo-terminal. Three rounds each, the best kept; prints both in milliseconds and their
// ratio. Meanwhile it copies the screen every 16 ms, as the console does for each frame, and prints
// the longest such copy (its wait for the terminal's lock included) over all rounds.
namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double throughTerminal(const std::string& file, double& longestCopy)
{
    const auto start = Clock::now();
    auto session = std::make_shared<kiv::TerminalSession>("cat '" + file + "'", "/tmp", kiv::PseudoTerminal::Size { 40, 155 });
    kiv::JobThread thread(session, std::make_shared<kiv::JobControl>(), nullptr);
    kiv::TerminalSnapshot snapshot;
    for (auto nextFrame = Clock::now(); !session->exitCode();) {
        if (Clock::now() >= nextFrame) {
            const auto copyStart = Clock::now();
            session->copyView(0, 0, snapshot);
            longestCopy = std::max(longestCopy, millisecondsSince(copyStart));
            nextFrame = copyStart + std::chrono::milliseconds(16);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return millisecondsSince(start);
}

double throughScript(const std::string& file)
{
    const std::string command = "script -qc \"cat '" + file + "'\" /dev/null >/dev/null";
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "failed: %s\n", command.c_str());
    return millisecondsSince(start);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: termbench FILE\n");
        return 2;
    }
    ::setenv("SHELL", "/bin/sh", 1); // no greetings from the user's login shell in the figure
    double terminal = 1e18;
    double bare = 1e18;
    double longestCopy = 0;
    for (int round = 0; round < 3; ++round) {
        terminal = std::min(terminal, throughTerminal(argv[1], longestCopy));
        bare = std::min(bare, throughScript(argv[1]));
    }
    std::printf("%.0f ms through the terminal, %.0f ms through script, %.2f times; longest copy of the screen %.1f ms\n",
        terminal, bare, terminal / bare, longestCopy);
    return 0;
}
