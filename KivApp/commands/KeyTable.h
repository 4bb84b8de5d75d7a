#pragma once

#include <QKeySequence>
#include <QString>
#include <vector>

// Every key the program answers to, where it works and what it does: the one list the help
// shows. A new key is one more row in KeyTable.cpp.
namespace kiv::KeyTable {

// Where a key works.
enum class Place
{
    panels, // the file panels, and the whole window for the function keys
    commandLine,
    console, // a command's terminal: every key not listed goes to the program
    menus,
    dialogs,
    jobs, // a job's progress, its questions and the jobs list
    find, // the find dialog and its list of hits
    viewer,
    editor,
};

// One key and what it does in one place.
struct Binding
{
    Place place;
    QKeySequence key;
    QString action;
};

// Returns every binding, grouped by place in the order of Place.
const std::vector<Binding>& all();

// Returns the heading the help shows over the keys of `place`.
QString placeName(Place place);

// Returns the key as this platform names it ("Backspace", "Ctrl+S" or their Mac signs).
QString keyName(const QKeySequence& key);

// Returns the help's text: each place's heading, then one line per key, its name padded to one
// column and its action after it, so the lines read as a table in a fixed-pitch font.
QString helpText();

} // namespace kiv::KeyTable
