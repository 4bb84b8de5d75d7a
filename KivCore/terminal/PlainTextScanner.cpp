#include "terminal/PlainTextScanner.h"

#include <string_view>

namespace kiv {

namespace {

bool isPlainText(unsigned char byte)
{
    return (byte >= 0x20 && byte < 0x7F) || byte == '\r' || byte == '\n';
}

// The final bytes of the control sequences that only colour, move the cursor or erase.
constexpr std::string_view harmlessFinals = "mABCDGHJKf";

} // namespace

std::size_t PlainTextScanner::plainRun(std::string_view bytes) const
{
    if (m_state != State::plain || m_utf8Missing > 0)
        return 0;
    std::size_t length = 0;
    while (length < bytes.size() && isPlainText(static_cast<unsigned char>(bytes[length])))
        ++length;
    return length;
}

std::size_t PlainTextScanner::skip(std::string_view bytes)
{
    if (m_state == State::unknown)
        return bytes.size();
    std::size_t followed = 0;
    do
        follow(static_cast<unsigned char>(bytes[followed++]));
    while (followed < bytes.size() && plainRun(bytes.substr(followed, 1)) == 0);
    return followed;
}

void PlainTextScanner::follow(unsigned char byte)
{
    switch (m_state) {
    case State::plain:
        followPlain(byte);
        break;
    case State::escape:
        m_state = byte == '[' ? State::controlSequence : byte == '(' ? State::designation : State::unknown;
        break;
    case State::designation:
        m_state = byte == 'B' ? State::plain : State::unknown; // ASCII, as it already is
        break;
    case State::controlSequence:
        if ((byte >= '0' && byte <= '9') || byte == ';' || byte == ':')
            break;
        m_state = byte != 0 && harmlessFinals.find(char(byte)) != std::string_view::npos ? State::plain : State::unknown;
        break;
    case State::unknown:
        break;
    }
}

void PlainTextScanner::followPlain(unsigned char byte)
{
    if (byte >= 0x20 && byte < 0x7F) {
        m_utf8Missing = 0; // ends a UTF-8 character cut short
    } else if (byte >= 0x80 && byte < 0xC0) {
        m_utf8Missing = m_utf8Missing > 0 ? m_utf8Missing - 1 : 0;
    } else if (byte >= 0xC0 && byte < 0xF8) {
        m_utf8Missing = byte < 0xE0 ? 1 : byte < 0xF0 ? 2 : 3;
    } else if (byte == 0x1B) {
        m_state = State::escape;
    } else if (byte != '\r' && byte != '\n' && byte != '\a' && byte != '\b' && byte != '\t' && byte != 0x0F) {
        m_state = State::unknown; // shifts, other controls, bytes no UTF-8 character begins with
    }
}

} // namespace kiv
