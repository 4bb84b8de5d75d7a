#pragma once

#include "settings/Settings.h"

#include <optional>
#include <string>
#include <string_view>

// The settings file, settings.txt in the ConfigFolder: a header line, then one "key value" a line,
// values with "\" written "\\" and line breaks "\n", so any bytes of a path survive.
namespace kiv::SettingsStore {

// What load() found.
struct Loaded
{
    Settings settings;
    // Empty, or what the user should be told: the file was damaged and where it was put aside.
    std::string problem;
    // False when a damaged file could not be set aside: save() would replace it, so it must not run.
    bool maySave = true;
};

// The settings file's path.
std::string settingsFilePath();

// The settings in the file; the defaults when there is none. A file that cannot be read or
// parsed is renamed with the suffix ".damaged" (".damaged-2"... when taken, never replacing
// anything) and the defaults come back with a problem to report. Never throws.
Loaded load();

// Writes `settings` atomically (ConfigFolder::writeFile); throws the platform error on failure.
void save(const Settings& settings);

// The file's text for `settings`.
std::string settingsText(const Settings& settings);

// The settings in `text`, or nothing when the header is missing, a line has no value or a known
// key has a value it cannot have. Unknown keys are skipped, so a newer file still loads.
std::optional<Settings> parseSettingsText(std::string_view text);

} // namespace kiv::SettingsStore
