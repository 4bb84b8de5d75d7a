#pragma once

#include <QString>
#include <string>
#include <string_view>

// The one way the program turns the bytes of a path or name into text on screen, and text typed
// over such text back into bytes. Bytes that are not valid UTF-8 show as stand-in characters
// (Utf8Text::reversibleText) and come back as themselves, so a name survives being shown and edited.
namespace kiv::ShownText {

// Returns the text shown for `bytes`: their UTF-8 characters, and a stand-in for each byte that is
// not part of one.
QString of(std::string_view bytes);

// Returns the bytes `text` stands for: stand-ins become their bytes, all else is encoded as UTF-8,
// so bytesOf(of(b)) == b for any bytes b.
std::string bytesOf(const QString& text);

// Returns whether `character` stands in for a byte that is not valid UTF-8.
bool isStandIn(QChar character);

} // namespace kiv::ShownText
