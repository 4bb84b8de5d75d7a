#pragma once

#include "jobs/JobOutcome.h"
#include "search/FindQuery.h"
#include "search/FindResults.h"

#include <QDialog>
#include <memory>
#include <optional>
#include <vector>

namespace kiv {

class Door;
class JobControl;
class JobThread;
class RetroChoiceView;
class WorkerLink;

// The hits of a search, listed as they are found with their folders while the search runs on a
// worker thread. Up, Down, Page Up, Page Down, Home and End move the cursor; Return chooses the
// hit under it; P chooses all hits for the panel; U lists what could not be read; Esc stops the
// search, and once it has ended closes the list.
class FindHitsDialog : public QDialog
{
    Q_OBJECT
public:
    // What the user chose.
    struct Choice
    {
        enum class Kind
        {
            oneHit, // go to `hits.front()`
            panel, // show every hit in the panel
        };
        Kind kind;
        std::vector<FindResults::Hit> hits;
    };

    // Runs `query` (behind `door`, or on this machine's disk when null) and shows its hits over
    // `parent`'s window until the user closes the list; returns the choice, or nothing when closed
    // with Esc. The search is stopped on return.
    static std::optional<Choice> run(
        QWidget* parent, const FindQuery& query, std::shared_ptr<const Door> door = nullptr);

    // Creates the hidden list and starts the search (as run() does).
    FindHitsDialog(const FindQuery& query, QWidget* parent, std::shared_ptr<const Door> door = nullptr);
    // Stops the search; a search stuck on a dead mount is left to end by itself.
    ~FindHitsDialog() override;

    // Returns the hits shown so far.
    const std::vector<FindResults::Hit>& hits() const { return m_hits; }
    // Returns whether the search has ended.
    bool hasEnded() const { return m_outcome.has_value(); }
    // Returns the dialog's face.
    RetroChoiceView* face() const { return m_face; }
    // Returns the choice made, once the dialog was accepted.
    const std::optional<Choice>& choice() const { return m_choice; }

private:
    void takeNewHits();
    void refresh();
    void choose(int index);
    void moveCursor(int key);
    void ended(const JobOutcome& outcome);
    QString statusLine() const;

    std::shared_ptr<FindResults> m_results;
    std::shared_ptr<JobControl> m_control;
    std::unique_ptr<JobThread> m_thread;
    std::vector<FindResults::Hit> m_hits;
    std::optional<JobOutcome> m_outcome;
    std::optional<Choice> m_choice;
    int m_cursor = 0;
    int m_top = 0;
    WorkerLink* m_link;
    RetroChoiceView* m_face;
};

} // namespace kiv
