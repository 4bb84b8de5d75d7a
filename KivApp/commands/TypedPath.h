#pragma once

#include <QString>
#include <string>

// How the file commands read a path the user typed into a prompt.
namespace kiv::TypedPath {

// Returns the file-system bytes `answer` stands for: `shownBytes` itself when the answer is the
// unchanged `shown` text (so a path that is not valid UTF-8 survives being shown and accepted),
// otherwise the answer encoded as UTF-8.
std::string bytes(const QString& answer, const QString& shown, const std::string& shownBytes);

// Returns the shown text of the file-system bytes `path` (invalid UTF-8 is replaced for display).
QString shown(const std::string& path);

// Returns `typed` as an absolute path: "~" alone or before a "/" stands for `home`, and a relative
// path is taken inside `baseFolder`, never inside the program's working folder. A trailing "/"
// is kept. REQUIRES: `typed` is not empty, `baseFolder` and `home` are absolute.
std::string absolute(const std::string& typed, const std::string& baseFolder, const std::string& home);

} // namespace kiv::TypedPath
