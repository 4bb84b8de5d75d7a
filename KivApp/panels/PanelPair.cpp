#include "panels/PanelPair.h"

#include "panels/PanelEditorCover.h"
#include "panels/PanelViewController.h"

namespace kiv {

PanelPair::PanelPair(const std::string& startPath, QObject* parent)
    : QObject(parent)
    , m_left(std::make_unique<PanelViewController>(startPath))
    , m_right(std::make_unique<PanelViewController>(startPath))
    , m_active(m_left.get())
{
    m_left->setActive(true);
    m_right->setActive(false);
}

PanelPair::~PanelPair()
{
    m_left.reset();
    m_right.reset();
}

PanelViewController& PanelPair::other(const PanelViewController& panel) const
{
    return &panel == m_left.get() ? *m_right : *m_left;
}

bool PanelPair::makeActive(PanelViewController& panel)
{
    if (&panel == m_active)
        return false;
    m_active->setActive(false);
    m_active = &panel;
    m_active->setActive(true);
    return true;
}

void PanelPair::reloadBoth()
{
    m_left->reload();
    m_right->reload();
}

void PanelPair::toggleHiddenInBoth()
{
    const bool show = !m_left->state().showHidden();
    m_left->setShowHidden(show);
    m_right->setShowHidden(show);
}

void PanelPair::saveEditors()
{
    m_left->editorCover().save();
    m_right->editorCover().save();
}

} // namespace kiv
