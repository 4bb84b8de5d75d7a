#pragma once

#include <string>
#include <string_view>

// Changing the case of a new name. Names are the file system's bytes: only valid UTF-8 changes
// case, through ICU's full case mapping in no particular language; a byte that is not part of valid
// UTF-8 stays exactly as it was.
namespace kiv::NameCase {

enum class Choice
{
    asIs,
    lower,
    upper,
    firstLetter, // the first letter upper case (title case), every other letter lower case
};

// Returns `name` in the case `choice` asks for.
std::string apply(std::string_view name, Choice choice);

} // namespace kiv::NameCase
