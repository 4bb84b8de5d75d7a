#include "toolkit/ShownText.h"

#include "text/Utf8Text.h"

namespace kiv::ShownText {

QString of(std::string_view bytes)
{
    const std::string text = Utf8Text::reversibleText(bytes);
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

std::string bytesOf(const QString& text)
{
    return Utf8Text::reversibleBytes(text.toStdString());
}

bool isStandIn(QChar character)
{
    return character.unicode() >= Utf8Text::firstStandIn
        && character.unicode() < Utf8Text::firstStandIn + 0x80;
}

} // namespace kiv::ShownText
