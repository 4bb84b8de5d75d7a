#pragma once

#include <cstdint>

namespace kiv {

// A key pressed on the console, as the terminal sends it to the program: a character typed, or
// one of the keys that type none, with the modifiers held.
struct TerminalKey
{
    enum class Name
    {
        character, // `character` typed, as Shift and the keyboard layout made it
        enter,
        tab,
        backspace,
        escape,
        up,
        down,
        left,
        right,
        insert,
        deleteKey,
        home,
        end,
        pageUp,
        pageDown,
        function, // F`function`
        keypadEnter,
    };
    // The bits of `modifiers`.
    enum Modifier : std::uint8_t
    {
        shift = 1,
        alt = 2,
        control = 4,
    };

    Name name = Name::character;
    char32_t character = 0;
    int function = 0; // 1 to 12
    std::uint8_t modifiers = 0;

    bool operator==(const TerminalKey&) const = default;
};

} // namespace kiv
