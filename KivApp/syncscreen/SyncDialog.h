#pragma once

#include "sync/SyncItem.h"

#include <QDialog>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class QKeyEvent;

namespace kiv {

class RetroChoiceView;

// "Synchronize Folders": every difference between the two trees on a line of its own, with what
// is to be done about it: → copies to the right, ← to the left, ≠ marks a conflict left alone, "del"
// deletes an item one side alone has. Up, Down, PageUp, PageDown, Home and End move the cursor;
// Space goes round the choices of the item under it, Right (or >) and Left (or <) choose a
// direction, S skips it and Delete chooses its deletion. Return synchronizes, Esc cancels.
class SyncDialog : public QDialog
{
    Q_OBJECT
public:
    // Shows the dialog over `parent`'s window for the differences `items` between `leftRoot` and
    // `rightRoot`; returns the items whose action is not to skip them on Return, nothing on Esc.
    static std::optional<std::vector<SyncItem>> ask(
        QWidget* parent, const std::string& leftRoot, const std::string& rightRoot, std::vector<SyncItem> items);

    // Creates the hidden dialog with the cursor on the first item.
    SyncDialog(const std::string& leftRoot, const std::string& rightRoot, std::vector<SyncItem> items,
        QWidget* parent);
    // Returns every item with the action chosen for it so far.
    const std::vector<SyncItem>& items() const { return m_items; }
    // Returns the items that are not skipped: what Return carries out.
    std::vector<SyncItem> chosen() const;
    // Returns the dialog's face.
    RetroChoiceView* face() const { return m_face; }

private:
    void refresh();
    void handleKey(QKeyEvent* event);
    void moveCursor(std::ptrdiff_t rows);
    void choose(SyncItem::Action action);
    void chooseDeletion();
    QString summary() const;

    std::vector<SyncItem> m_items;
    QStringList m_heading;
    std::size_t m_cursor = 0;
    std::size_t m_top = 0; // the first item in sight
    RetroChoiceView* m_face;
};

} // namespace kiv
