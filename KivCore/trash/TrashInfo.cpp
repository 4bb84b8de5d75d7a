#include "trash/TrashInfo.h"

#include "text/PercentEncoding.h"

namespace kiv::TrashInfo {

std::string text(std::string_view path, std::time_t when)
{
    std::tm local {};
    ::localtime_r(&when, &local);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    return "[Trash Info]\nPath=" + PercentEncoding::encoded(path) + "\nDeletionDate=" + date + "\n";
}

} // namespace kiv::TrashInfo
