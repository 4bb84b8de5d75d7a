#pragma once

#include "base/FileEntry.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The short texts the panels show for sizes, dates and times. Pure functions.
namespace kiv::KivFormat {

// "<DIR>" for folders not measured and the ".." row, otherwise the grouped byte size when it has at most
// `width` characters, else humanSize(): a size column never shows a number cut short.
std::string size(const FileEntry& entry, std::size_t width);

// The number with "," between groups of three digits: -1234 gives "-1,234".
std::string grouped(std::int64_t value);

// The grouped count and "item" or "items": "1 item", "1,234 items".
std::string itemCount(std::int64_t count);

// The count and " item(s)", as the questions about a selection say it: "3 item(s)".
std::string selectionCount(std::size_t count);

// The local date as "MM-dd-yy", or "" when absent.
std::string date(const std::optional<FileTime>& when);

// The local time as "HH:mm" (24-hour), or "" when absent.
std::string time(const std::optional<FileTime>& when);

// The local time as strftime() writes it with `format` (at most 31 bytes), or "" when absent.
std::string localTimeText(const std::optional<FileTime>& when, const char* format);

// "1023 bytes", "1.5 KB", … in steps of 1024 up to TB, with a decimal point whatever the locale.
std::string humanSize(std::int64_t bytes);

} // namespace kiv::KivFormat
