#pragma once

#include <cstddef>
#include <string_view>

namespace kiv {

// Follows a program's output, across writes, for what libvterm 0.1.4 cannot be trusted with: the
// request to repeat the last character (CSI n b), which it repeats for ever when that character
// has no width (a lone combining mark, a zero-width space) or when a reset has left it none, and
// the resets themselves (ESC c, CSI ! p). The terminal hands libvterm the bytes up to each and
// decides there.
class RepeatRequestScanner
{
public:
    // What ends a stretch of bytes.
    enum class Stop
    {
        none, // the bytes ran out
        repeat, // the byte after the stretch is a repeat request's final byte
        reset, // the stretch ends with a reset
    };

    // Where the next stop lies in `bytes`, which follow what was scanned before.
    struct Stretch
    {
        std::size_t length = 0;
        Stop stop = Stop::none;
    };

    // Scans `bytes` to the next stop and returns the stretch before it; a repeat request's final
    // byte is left out of the stretch and counts as scanned.
    Stretch next(std::string_view bytes);

private:
    enum class State
    {
        ground,
        escape, // after ESC
        control, // a control sequence's parameters: only digits and ';' so far
        otherSequence, // a control sequence with a leader or intermediates: never a plain repeat
        resetSequence, // a control sequence with "!": a soft reset when it ends in "p"
    };

    bool take(unsigned char byte, Stop& stop);

    State m_state = State::ground;
    bool m_afterC2 = false; // the first byte of a UTF-8 C1 control (0xC2 0x9B is CSI)
};

} // namespace kiv
