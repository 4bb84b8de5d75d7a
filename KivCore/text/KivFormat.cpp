#include "text/KivFormat.h"

#include <array>
#include <cmath>
#include <ctime>

namespace kiv::KivFormat {

std::string localTimeText(const std::optional<FileTime>& when, const char* format)
{
    if (!when)
        return "";
    // Rounded down: half a second before 1970 is still 1969. Not to_time_t, which truncates towards
    // zero and takes the system clock's nanoseconds, which end in 2262.
    const std::time_t seconds = std::chrono::floor<std::chrono::seconds>(*when).time_since_epoch().count();
    std::tm local {};
    if (!::localtime_r(&seconds, &local))
        return "";
    char buffer[32];
    auto length = std::strftime(buffer, sizeof buffer, format, &local);
    return std::string(buffer, length);
}

std::string size(const FileEntry& entry, std::size_t width)
{
    const bool folder
        = entry.kind == FileEntry::Kind::directory || entry.kind == FileEntry::Kind::parentDirectory;
    if (folder && !entry.sizeMeasured)
        return "<DIR>";
    std::string text = grouped(entry.size);
    return text.size() <= width ? text : humanSize(entry.size);
}

std::string grouped(std::int64_t value)
{
    std::string digits = std::to_string(value);
    std::size_t firstDigit = value < 0 ? 1 : 0;
    std::string result;
    result.reserve(digits.size() + digits.size() / 3);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        std::size_t remaining = digits.size() - i;
        if (i > firstDigit && remaining % 3 == 0)
            result += ',';
        result += digits[i];
    }
    return result;
}

std::string itemCount(std::int64_t count)
{
    return grouped(count) + (count == 1 ? " item" : " items");
}

std::string selectionCount(std::size_t count)
{
    return std::to_string(count) + " item(s)";
}

std::string date(const std::optional<FileTime>& when)
{
    return localTimeText(when, "%m-%d-%y");
}

std::string time(const std::optional<FileTime>& when)
{
    return localTimeText(when, "%H:%M");
}

std::string humanSize(std::int64_t bytes)
{
    static constexpr std::array<const char*, 5> units { "bytes", "KB", "MB", "GB", "TB" };
    double value = static_cast<double>(bytes);
    std::size_t unit = 0;
    while (value >= 1024.0 && unit < units.size() - 1) {
        value /= 1024.0;
        ++unit;
    }
    if (unit == 0)
        return std::to_string(bytes) + " bytes";
    // Whole tenths, never printf's "%.1f": that writes the locale's decimal sign, "1,5" in German.
    const long long tenths = std::llround(value * 10);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " " + units[unit];
}

} // namespace kiv::KivFormat
