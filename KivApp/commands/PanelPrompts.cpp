#include "commands/PanelPrompts.h"

#include "panels/PanelFrameView.h"
#include "panels/PanelViewController.h"
#include "text/NamePatterns.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/RetroMenu.h"
#include "toolkit/ShownText.h"

#include <QPointer>
#include <unordered_set>

namespace kiv::PanelPrompts {

void selectGroup(PanelViewController& panel, PanelState::MarkChange change)
{
    const bool marking = change == PanelState::MarkChange::mark;
    const auto answer = RetroDialogs::promptOr(panel.view(),
        marking ? QStringLiteral("Select group") : QStringLiteral("Unselect group"),
        QStringLiteral("Names like *.txt; *.md, a?c, [a-f]* (OK ignores case, Match case does not):"),
        QStringLiteral("*"), QStringLiteral("Match case"));
    if (!answer)
        return;
    const auto letterCase = answer->second == RetroDialogResponse::alternative ? NamePatterns::LetterCase::matched
                                                                                : NamePatterns::LetterCase::ignored;
    panel.markMatching(NamePatterns(ShownText::bytesOf(answer->first), letterCase), change);
}

void showHistoryMenu(PanelViewController& panel)
{
    std::vector<RetroMenuItem> items;
    std::unordered_set<std::string> listed;
    const auto& folders = panel.history().folders();
    QPointer<PanelViewController> going = &panel;
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
        if (!listed.insert(*folder).second)
            continue;
        items.push_back(RetroMenuItem::item(ShownText::of(*folder), [going, path = *folder] {
            if (going)
                going->goTo(path);
        }));
    }
    RetroMenu::popUp(std::move(items), panel.view()->listCorner(), panel.view());
}

} // namespace kiv::PanelPrompts
