#pragma once

#include <string>
#include <string_view>

// Putting a file name into a shell command line.
namespace kiv::ShellQuote {

// Returns `word` as it is when the shell reads it back unchanged (letters, digits and
// "_-.,/+=:@%" only, not starting with "~"), otherwise in single quotes, each "'" written as
// '\'' ("it's" gives 'it'\''s'); the empty word gives ''.
std::string quotedIfNeeded(std::string_view word);

} // namespace kiv::ShellQuote
