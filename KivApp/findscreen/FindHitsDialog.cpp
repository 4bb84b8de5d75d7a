#include "findscreen/FindHitsDialog.h"

#include "doors/Door.h"
#include "jobs/JobControl.h"
#include "jobs/JobThread.h"
#include "jobscreen/WorkerLink.h"
#include "search/FindJob.h"
#include "text/KivFormat.h"
#include "toolkit/RetroChoiceView.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/RetroPainting.h"
#include "toolkit/ShownText.h"
#include "toolkit/Theme.h"

#include <QKeyEvent>

namespace kiv {

namespace {

constexpr int hitsDialogWidth = 720;
constexpr int shownHits = 16;
constexpr int nameColumn = 28;

enum ChoiceIndex
{
    goToHit,
    panel,
    unreadable,
    close,
};

// "notes.txt                    /home/me/docs", or the archive's folder after " :: ".
QString lineOf(const FindResults::Hit& hit)
{
    QString folder = ShownText::of(hit.folder);
    if (hit.inArchive)
        folder += QStringLiteral(" :: /") + ShownText::of(hit.insideArchive);
    return QStringLiteral(" ") + ShownText::of(hit.name).leftJustified(nameColumn) + QStringLiteral("  ")
        + folder;
}

} // namespace

std::optional<FindHitsDialog::Choice> FindHitsDialog::run(
    QWidget* parent, const FindQuery& query, std::shared_ptr<const Door> door)
{
    FindHitsDialog dialog(query, parent, std::move(door));
    if (parent) {
        const QRect around = parent->window()->frameGeometry();
        dialog.move(around.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
    }
    dialog.exec();
    return dialog.choice();
}

FindHitsDialog::FindHitsDialog(const FindQuery& query, QWidget* parent, std::shared_ptr<const Door> door)
    : QDialog(parent ? parent->window() : nullptr, Qt::Dialog | Qt::FramelessWindowHint)
    , m_results(std::make_shared<FindResults>())
    , m_control(std::make_shared<JobControl>())
    , m_link(new WorkerLink(this))
{
    m_face = new RetroChoiceView(
        QStringLiteral("Find: ") + ShownText::of(door ? door->displayPath(query.root) : query.root),
        { { QStringLiteral("Return Go to"), Qt::Key_Return }, { QStringLiteral("P Panel"), Qt::Key_P },
            { QStringLiteral("U Unreadable"), Qt::Key_U },
            { QStringLiteral("Esc Stop / Close"), Qt::Key_Escape } },
        hitsDialogWidth, shownHits + 2, this);
    m_face->onChoice = [this](int index) { choose(index); };
    m_face->onOtherKey = [this](QKeyEvent* event) { moveCursor(event->key()); };
    setWindowTitle(QStringLiteral("Find"));
    setFixedSize(m_face->size());
    setModal(true);
    RetroPainting::setPaletteColor(*this, QPalette::Window, Theme::dialogBackground());
    m_link->onPulse = [this] { takeNewHits(); };
    m_link->startPulse();
    m_thread = std::make_unique<JobThread>(std::make_shared<FindJob>(query, m_results, std::move(door)),
        m_control, m_link->relay<const JobOutcome&>([this](const JobOutcome& outcome) { ended(outcome); }));
    refresh();
    m_face->setFocus();
}

FindHitsDialog::~FindHitsDialog()
{
    // A search only reads: one that does not end when cancelled is left to end by itself.
    m_thread->abandon();
}

void FindHitsDialog::takeNewHits()
{
    std::vector<FindResults::Hit> fresh = m_results->hitsFrom(m_hits.size());
    if (fresh.empty())
        return;
    m_hits.insert(m_hits.end(), std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
    refresh();
}

void FindHitsDialog::ended(const JobOutcome& outcome)
{
    m_outcome = outcome;
    m_link->stopPulse();
    takeNewHits();
    refresh();
}

QString FindHitsDialog::statusLine() const
{
    const QString found = QString::fromStdString(KivFormat::grouped(std::int64_t(m_hits.size())));
    const std::size_t refused = m_results->refusals().size();
    QString text = m_outcome ? QStringLiteral(" %1 found").arg(found)
                             : QStringLiteral(" Searching... %1 found (Esc stops)").arg(found);
    if (refused > 0)
        text += QStringLiteral("; %1 could not be read (U lists them)").arg(refused);
    if (m_outcome && m_outcome->end == JobOutcome::End::cancelled)
        text += QStringLiteral("; stopped");
    return text;
}

void FindHitsDialog::refresh()
{
    m_cursor = std::clamp(m_cursor, 0, std::max(0, int(m_hits.size()) - 1));
    m_top = std::clamp(m_top, std::max(0, m_cursor - shownHits + 1), m_cursor);
    QStringList lines;
    for (int index = m_top; index < std::min(int(m_hits.size()), m_top + shownHits); ++index)
        lines << lineOf(m_hits[std::size_t(index)]);
    const int highlighted = m_hits.empty() ? -1 : m_cursor - m_top;
    while (lines.size() < shownHits)
        lines << QString();
    lines << QString() << statusLine();
    m_face->setLines(lines, highlighted);
}

void FindHitsDialog::moveCursor(int key)
{
    switch (key) {
    case Qt::Key_Up:
        m_cursor -= 1;
        break;
    case Qt::Key_Down:
        m_cursor += 1;
        break;
    case Qt::Key_PageUp:
        m_cursor -= shownHits;
        break;
    case Qt::Key_PageDown:
        m_cursor += shownHits;
        break;
    case Qt::Key_Home:
        m_cursor = 0;
        break;
    case Qt::Key_End:
        m_cursor = int(m_hits.size());
        break;
    default:
        return;
    }
    refresh();
}

void FindHitsDialog::choose(int index)
{
    switch (index) {
    case goToHit:
        if (m_hits.empty())
            return;
        m_choice = Choice { Choice::Kind::oneHit, { m_hits[std::size_t(m_cursor)] } };
        accept();
        return;
    case panel:
        if (m_hits.empty())
            return;
        takeNewHits();
        m_choice = Choice { Choice::Kind::panel, m_hits };
        accept();
        return;
    case unreadable: {
        const std::vector<std::string> refusals = m_results->refusals();
        QStringList lines;
        for (const std::string& refusal : refusals)
            lines << ShownText::of(refusal);
        RetroDialogs::listing(this, QStringLiteral("Could Not Be Read"),
            lines.isEmpty() ? QStringLiteral("Everything could be read.") : lines.join(u'\n'));
        return;
    }
    default:
        if (hasEnded())
            reject();
        else
            m_control->cancel();
    }
}

} // namespace kiv
