#pragma once

#include <QString>
#include <functional>

namespace kiv {

// One row of a retro popup menu: an entry with a title and an action, an entry without an
// action (shown dark grey, never chosen), or a separator rule.
struct RetroMenuItem
{
    QString title;
    bool isSeparator = false;
    // Run after the menu has closed when the entry is chosen; empty for disabled entries.
    std::function<void()> action;
    // The letter that chooses the entry at once, shown highlighted in its title; none when null.
    QChar key = {};

    // Returns an entry titled `title` that runs `action` when chosen or when `key` is typed.
    static RetroMenuItem item(const QString& title, std::function<void()> action, QChar key = {})
    {
        return { title, false, std::move(action), key };
    }
    // Returns a separator: no title, no action.
    static RetroMenuItem separator() { return { {}, true, {}, {} }; }

    // Returns whether the entry can be highlighted and chosen: not a separator and with an action.
    bool isSelectable() const { return !isSeparator && action; }
};

} // namespace kiv
