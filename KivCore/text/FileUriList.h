#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The lists of files desktop programs hand each other through the clipboard: a text/uri-list of
// file: URIs, and the same with "copy" or "cut" ahead of it (x-special/gnome-copied-files). Only
// bytes: any path, with newlines or bytes that are not UTF-8 in it, makes the trip unchanged.
namespace kiv::FileUriList {

// What a list names: the local paths of its file: URIs, whether they were cut rather than copied,
// and its entries that name no local file (another scheme or machine, a bad escape), as written.
struct Files
{
    std::vector<std::string> paths;
    bool cut = false;
    std::vector<std::string> others;
};

// Returns the file: URI of the absolute path `path`.
std::string uriOf(std::string_view path);

// Returns `paths` (absolute) as a text/uri-list: a URI a line, each line ended by CR LF.
std::string uriList(const std::vector<std::string>& paths);

// Returns `paths` (absolute) as x-special/gnome-copied-files: "cut" or "copy", then a URI a line.
std::string copiedFiles(const std::vector<std::string>& paths, bool cut);

// Reads a text/uri-list (lines ended by LF or CR LF; "#" lines are comments) as copied files.
Files fromUriList(std::string_view text);

// Reads x-special/gnome-copied-files, or nothing when its first line is neither "copy" nor "cut".
std::optional<Files> fromCopiedFiles(std::string_view text);

} // namespace kiv::FileUriList
