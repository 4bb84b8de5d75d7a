#include "terminal/RepeatRequestScanner.h"

#include <utility>

namespace kiv {

namespace {

constexpr unsigned char escapeByte = 0x1b;
constexpr unsigned char cancelByte = 0x18;
constexpr unsigned char substituteByte = 0x1a;

bool isFinal(unsigned char byte)
{
    return byte >= 0x40 && byte <= 0x7e;
}

} // namespace

RepeatRequestScanner::Stretch RepeatRequestScanner::next(std::string_view bytes)
{
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        Stop stop = Stop::none;
        if (take(static_cast<unsigned char>(bytes[at]), stop))
            return { stop == Stop::repeat ? at : at + 1, stop };
    }
    return { bytes.size(), Stop::none };
}

// Returns true at a stop. C0 controls inside a sequence are carried out without ending it, as
// libvterm does; ESC starts a new one, CAN and SUB end it.
bool RepeatRequestScanner::take(unsigned char byte, Stop& stop)
{
    const bool afterC2 = std::exchange(m_afterC2, false);
    if (byte == escapeByte) {
        m_state = State::escape;
        return false;
    }
    if (byte == cancelByte || byte == substituteByte) {
        m_state = State::ground;
        return false;
    }
    if (byte < 0x20)
        return false;
    switch (m_state) {
    case State::ground:
        m_afterC2 = byte == 0xc2;
        if (afterC2 && byte == 0x9b)
            m_state = State::control;
        return false;
    case State::escape:
        m_state = byte == '[' ? State::control : State::ground;
        stop = byte == 'c' ? Stop::reset : Stop::none;
        return stop != Stop::none;
    case State::control:
        if ((byte >= '0' && byte <= '9') || byte == ';')
            return false;
        if (!isFinal(byte)) {
            m_state = byte == '!' ? State::resetSequence : State::otherSequence;
            return false;
        }
        m_state = State::ground;
        stop = byte == 'b' ? Stop::repeat : Stop::none;
        return stop != Stop::none;
    case State::resetSequence:
    case State::otherSequence:
        if (!isFinal(byte))
            return false;
        stop = m_state == State::resetSequence && byte == 'p' ? Stop::reset : Stop::none;
        m_state = State::ground;
        return stop != Stop::none;
    }
    return false;
}

} // namespace kiv
