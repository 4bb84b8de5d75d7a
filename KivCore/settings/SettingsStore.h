#pragma once

#include "settings/Settings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The settings file, settings.txt in the ConfigFolder: a header line, then one "key value" a line,
// values with "\" written "\\" and line breaks "\n", so any bytes of a path survive.
namespace kiv::SettingsStore {

// What load() found.
struct Loaded
{
    Settings settings;
    // Empty, or what the user should be told: the file or some of its lines were damaged, and where
    // the file was put aside.
    std::string problem;
    // False when a damaged file could not be set aside: save() would replace it, so it must not run.
    bool maySave = true;
};

// What parseSettingsText() found in a file's text.
struct Parsed
{
    Settings settings; // from the good lines, with the lines of unknown keys in unknownLines
    // The numbers (the header is line 1) of the lines left out: no value, or one its known key cannot have.
    std::vector<int> badLines;
};

// The settings file's path.
std::string settingsFilePath();

// The settings in the file; the defaults when there is none. A file that cannot be read or has no
// header is renamed with the suffix ".damaged" (".damaged-2"... when taken, never replacing
// anything) and the defaults come back with a problem to report. A file with bad lines is set
// aside the same way, and its good lines come back and are written at once without the bad ones,
// with a problem that tells of them. Never throws.
Loaded load();

// Writes `settings` atomically (ConfigFolder::writeFile); throws the platform error on failure.
void save(const Settings& settings);

// The file's text for `settings`.
std::string settingsText(const Settings& settings);

// The settings in `text` and the numbers of its bad lines, or nothing when the header is missing.
// Lines of keys this version does not know are kept as they are in Settings::unknownLines.
std::optional<Parsed> parseSettingsText(std::string_view text);

} // namespace kiv::SettingsStore
