#pragma once

#include <QString>
#include <string>
#include <string_view>

// The one way the program turns the bytes of a path or name into text on screen, and an answer
// typed over such text back into bytes.
namespace kiv::ShownText {

// Returns the text shown for `bytes`, read as UTF-8 (a byte that is not valid UTF-8 shows as the
// replacement character).
QString of(std::string_view bytes);

// Returns the bytes `answer` stands for when `offeredBytes` was offered as its starting text:
// `offeredBytes` themselves when the answer is the unchanged offer (so a name that is not valid
// UTF-8 survives being shown and accepted), otherwise the answer encoded as UTF-8.
std::string bytesOf(const QString& answer, const std::string& offeredBytes);

} // namespace kiv::ShownText
