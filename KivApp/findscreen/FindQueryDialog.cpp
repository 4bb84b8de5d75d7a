#include "findscreen/FindQueryDialog.h"

#include "toolkit/RetroChoiceView.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/RetroPainting.h"
#include "toolkit/ShownText.h"
#include "toolkit/Theme.h"

#include <QKeyEvent>

namespace kiv {

namespace {

constexpr int queryDialogWidth = 520;
constexpr int queryLineCount = 8;

// The first button finds; the other cancels.
constexpr int findChoice = 0;

QString box(bool on)
{
    return on ? QStringLiteral("[x]") : QStringLiteral("[ ]");
}

// Flips an option held as a two-valued enum.
template <typename Option> void flip(Option& option, Option off, Option on)
{
    option = option == on ? off : on;
}

} // namespace

std::optional<FindQuery> FindQueryDialog::ask(QWidget* parent, FindQuery start)
{
    FindQueryDialog dialog(std::move(start), parent);
    if (parent) {
        const QRect around = parent->window()->frameGeometry();
        dialog.move(around.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.query();
}

FindQueryDialog::FindQueryDialog(FindQuery start, QWidget* parent)
    : QDialog(parent ? parent->window() : nullptr, Qt::Dialog | Qt::FramelessWindowHint)
    , m_query(std::move(start))
{
    m_face = new RetroChoiceView(QStringLiteral("Find File"),
        { { QStringLiteral("Return Find"), Qt::Key_Return },
            { QStringLiteral("Esc Cancel"), Qt::Key_Escape } },
        queryDialogWidth, queryLineCount, this);
    m_face->onChoice = [this](int index) { index == findChoice ? accept() : reject(); };
    m_face->onOtherKey = [this](QKeyEvent* event) { change(event->key()); };
    setWindowTitle(QStringLiteral("Find File"));
    setFixedSize(m_face->size());
    setModal(true);
    RetroPainting::setPaletteColor(*this, QPalette::Window, Theme::dialogBackground());
    refresh();
    m_face->setFocus();
}

void FindQueryDialog::refresh()
{
    using Case = NamePatterns::LetterCase;
    const QString text
        = m_query.text.empty() ? QStringLiteral("(none: names only)") : ShownText::of(m_query.text);
    m_face->setLines({ QStringLiteral(" N  Names:   ") + ShownText::of(m_query.namePatterns),
        QStringLiteral(" T  Text:    ") + text, QStringLiteral(" F  Folder:  ") + ShownText::of(m_query.root),
        QString(), QStringLiteral(" C  %1 Case-sensitive").arg(box(m_query.letterCase == Case::matched)),
        QStringLiteral(" W  %1 Whole words").arg(box(m_query.words == TextSearch::Words::whole)),
        QStringLiteral(" B  %1 Binary files too")
            .arg(box(m_query.binaries == TextSearch::Binaries::searched)),
        QStringLiteral(" A  %1 Inside archives (by name)")
            .arg(box(m_query.archives == FindQuery::Archives::searched)) });
}

void FindQueryDialog::change(int key)
{
    using Case = NamePatterns::LetterCase;
    switch (key) {
    case Qt::Key_N:
        edit(QStringLiteral("Names (*.txt; *.md), empty for every name:"), m_query.namePatterns);
        break;
    case Qt::Key_T:
        edit(QStringLiteral("Text to look for, empty to match names only:"), m_query.text);
        break;
    case Qt::Key_F:
        edit(QStringLiteral("Folder to search, with everything below it:"), m_query.root);
        break;
    case Qt::Key_C:
        flip(m_query.letterCase, Case::ignored, Case::matched);
        break;
    case Qt::Key_W:
        flip(m_query.words, TextSearch::Words::anywhere, TextSearch::Words::whole);
        break;
    case Qt::Key_B:
        flip(m_query.binaries, TextSearch::Binaries::skipped, TextSearch::Binaries::searched);
        break;
    case Qt::Key_A:
        flip(m_query.archives, FindQuery::Archives::skipped, FindQuery::Archives::searched);
        break;
    default:
        return;
    }
    refresh();
}

void FindQueryDialog::edit(const QString& message, std::string& field)
{
    const std::optional<QString> typed
        = RetroDialogs::prompt(this, QStringLiteral("Find File"), message, ShownText::of(field));
    if (typed)
        field = ShownText::bytesOf(*typed);
}

} // namespace kiv
