#pragma once

#include "commands/CommandContext.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>

class QSplitter;

namespace kiv {

class PanelViewController;
class QuickView;

// The quick view (Alt+Q): one panel gives its place to a view of the item under the other panel's
// cursor, which follows the cursor as it moves; Tab goes into the view and back, and the same
// command gives the panel back, as it was.
class QuickViewCommands : public QObject
{
    Q_OBJECT
public:
    // Works in `context`, putting the view in `split` in place of a panel there.
    QuickViewCommands(CommandContext context, QSplitter& split, QObject* parent = nullptr);
    // Gives the covered panel its place back.
    ~QuickViewCommands() override;

    // Shows the item under `panel`'s cursor in place of the other panel, or gives the covered
    // panel back when the quick view is shown.
    void toggle(PanelViewController& panel);
    // Gives the keyboard to the quick view when it follows `panel`; returns whether it did (Tab).
    bool takeKeyboardFrom(PanelViewController& panel);
    // Returns the quick view shown, or null.
    QuickView* quickView() const;

private:
    void show(PanelViewController& followed);
    void hide();
    void follow();

    CommandContext m_context;
    QSplitter& m_split;
    QPointer<QuickView> m_view;
    QPointer<PanelViewController> m_followed;
    QPointer<PanelViewController> m_covered;
    QMetaObject::Connection m_cursorMoves;
};

} // namespace kiv
