#pragma once

#include <QObject>
#include <memory>
#include <string>

namespace kiv {

class PanelViewController;

// The window's two file panels and which of them is active. Owns both; the left one starts
// active, and makeActive() is the only way to change that.
class PanelPair : public QObject
{
    Q_OBJECT
public:
    // Creates both panels on the folder `startPath`, the left one active; nothing is listed
    // until reloadBoth().
    explicit PanelPair(const std::string& startPath, QObject* parent = nullptr);
    // Destroys the left, then the right panel, each with its view.
    ~PanelPair() override;

    // Returns the left panel.
    PanelViewController& left() const { return *m_left; }
    // Returns the right panel.
    PanelViewController& right() const { return *m_right; }
    // Returns the active panel.
    PanelViewController& active() const { return *m_active; }
    // Returns the right panel for the left one, and the left panel for anything else.
    PanelViewController& other(const PanelViewController& panel) const;
    // Returns the panel that is not active.
    PanelViewController& inactive() const { return other(*m_active); }
    // Makes `panel`, one of the two, the active one and redraws both cursor bars; returns false,
    // changing nothing, when it already was.
    bool makeActive(PanelViewController& panel);

    // Relists the left panel, then the right one.
    void reloadBoth();
    // Gives both panels the opposite of the left panel's hidden-file setting and relists them.
    void toggleHiddenInBoth();
    // Saves the in-panel editor of the left, then of the right panel, where one is open.
    void saveEditors();

private:
    std::unique_ptr<PanelViewController> m_left;
    std::unique_ptr<PanelViewController> m_right;
    PanelViewController* m_active;
};

} // namespace kiv
