#include "toolkit/ShownText.h"

namespace kiv::ShownText {

QString of(std::string_view bytes)
{
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

std::string bytesOf(const QString& answer, const std::string& offeredBytes)
{
    return answer == of(offeredBytes) ? offeredBytes : answer.toStdString();
}

} // namespace kiv::ShownText
