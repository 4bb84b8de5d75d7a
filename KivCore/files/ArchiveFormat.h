#pragma once

#include <optional>
#include <string>
#include <string_view>

// The archive formats the program opens, told apart by the end of the file name in any case.
// The one list of their suffixes: matching names and naming them to the user both read it.
namespace kiv::ArchiveFormat {

enum class Kind
{
    zip, // ".zip"
    plainTar, // ".tar"
    gzippedTar, // ".tar.gz" or ".tgz"
};

// The format whose suffix ends `fileName` (any case), or nothing for any other name.
std::optional<Kind> of(std::string_view fileName);

// The suffixes in the order they are named to the user (".zip", ".tar", ".tar.gz", ".tgz"),
// joined by `separator`.
std::string suffixList(std::string_view separator);

} // namespace kiv::ArchiveFormat
