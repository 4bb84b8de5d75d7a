#include "renamescreen/MultiRenameDialog.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "rename/RenameRule.h"
#include "text/KivFormat.h"
#include "toolkit/RetroChoiceView.h"
#include "toolkit/RetroControls.h"
#include "toolkit/RetroPainting.h"
#include "toolkit/ShownText.h"
#include "toolkit/Theme.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

namespace kiv {

namespace {

constexpr int renameDialogWidth = 720;
// A field stands on its line with a line between it and the next, so each shows whole.
constexpr int maskLine = 0;
constexpr int searchLine = 2;
constexpr int replaceLine = 4;
constexpr int listTop = 9; // the options, the fields' legend and the list's heading come before
constexpr int listLines = 14;
constexpr int renameLineCount = listTop + listLines + 2; // a blank line and the status after the list
constexpr int fieldIndent = 11;
constexpr int fieldOverhang = 3; // pixels a field reaches above and below its line // characters of the line's label before its field
constexpr int renameChoice = 0;

const QString startingMask = QStringLiteral("[N].[E]");

QString caseName(NameCase::Choice choice)
{
    switch (choice) {
    case NameCase::Choice::asIs:
        break;
    case NameCase::Choice::lower:
        return QStringLiteral("lower");
    case NameCase::Choice::upper:
        return QStringLiteral("UPPER");
    case NameCase::Choice::firstLetter:
        return QStringLiteral("First letter");
    }
    return QStringLiteral("as is");
}

NameCase::Choice nextCase(NameCase::Choice choice)
{
    using C = NameCase::Choice;
    switch (choice) {
    case C::asIs:
        return C::lower;
    case C::lower:
        return C::upper;
    case C::upper:
        return C::firstLetter;
    case C::firstLetter:
        break;
    }
    return C::asIs;
}

} // namespace

std::optional<std::vector<RenameSetJob::Rename>> MultiRenameDialog::ask(
    QWidget* parent, std::vector<RenamePlan::Item> items, RenamePlan::PresentNames present)
{
    MultiRenameDialog dialog(std::move(items), std::move(present), parent);
    if (parent) {
        const QRect around = parent->window()->frameGeometry();
        dialog.move(around.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.plan()->renames();
}

MultiRenameDialog::MultiRenameDialog(
    std::vector<RenamePlan::Item> items, RenamePlan::PresentNames present, QWidget* parent)
    : QDialog(parent ? parent->window() : nullptr, Qt::Dialog | Qt::FramelessWindowHint)
    , m_items(std::move(items))
    , m_present(std::move(present))
{
    m_face = new RetroChoiceView(QStringLiteral("Multi-Rename"),
        { { QStringLiteral("Return Rename"), Qt::Key_Return }, { QStringLiteral("Esc Cancel"), Qt::Key_Escape } },
        renameDialogWidth, renameLineCount, this);
    m_face->onChoice = [this](int index) { index == renameChoice ? renameIfClear() : reject(); };
    m_face->onOtherKey = [this](QKeyEvent* event) { handleKey(event); };
    m_mask = addField(startingMask, maskLine);
    m_search = addField(QString(), searchLine);
    m_replace = addField(QString(), replaceLine);
    setWindowTitle(QStringLiteral("Multi-Rename"));
    setFixedSize(m_face->size());
    setModal(true);
    RetroPainting::setPaletteColor(*this, QPalette::Window, Theme::dialogBackground());
    replan();
    m_mask->selectAll();
    m_mask->setFocus();
}

// A field over the rest of its line, after the label the face draws; every change replans.
QLineEdit* MultiRenameDialog::addField(const QString& text, int line)
{
    QLineEdit* field = RetroControls::field(text, m_face);
    const QRect band = m_face->lineRect(line);
    const int indent = QFontMetrics(Theme::monoFont(13)).horizontalAdvance(QString(fieldIndent, u'M'));
    field->setGeometry(band.adjusted(indent, -fieldOverhang, 0, fieldOverhang));
    connect(field, &QLineEdit::textChanged, this, &MultiRenameDialog::replan);
    field->installEventFilter(this);
    return field;
}

void MultiRenameDialog::replan()
{
    m_plan.reset();
    m_ruleProblem.clear();
    try {
        RenameRule rule { NameMask(ShownText::bytesOf(m_mask->text())) };
        if (!m_search->text().isEmpty())
            rule.replace = NameReplace(
                ShownText::bytesOf(m_search->text()), ShownText::bytesOf(m_replace->text()), m_syntax);
        rule.nameCase = m_case;
        m_plan.emplace(m_items, rule, m_present);
    } catch (const KivError& error) {
        m_ruleProblem = QString::fromStdString(userMessage(error));
    }
    refresh();
}

QString MultiRenameDialog::status() const
{
    if (!m_plan)
        return u' ' + m_ruleProblem;
    if (const std::size_t problems = m_plan->problemCount())
        return QStringLiteral(" %1 problem(s) marked !: nothing is renamed until they are gone").arg(problems);
    return QStringLiteral(" %1, %2 get a new name").arg(QString::fromStdString(KivFormat::selectionCount(m_items.size()))).arg(m_plan->renames().size());
}

QString MultiRenameDialog::listLine(const RenamePlan::Line& line) const
{
    const bool problem = line.problem != RenamePlan::Problem::none;
    QString shown = (problem ? QStringLiteral(" ! ") : QStringLiteral("   ")) + ShownText::of(line.oldName)
        + QStringLiteral(" → ") + ShownText::of(line.newName);
    if (problem)
        shown += QStringLiteral("   (") + QString::fromStdString(RenamePlan::problemText(line.problem)) + u')';
    return shown;
}

void MultiRenameDialog::refresh()
{
    const QString regex = m_syntax == NameReplace::Syntax::regularExpression ? QStringLiteral("[x]")
                                                                             : QStringLiteral("[ ]");
    QStringList lines { QStringLiteral(" Mask:"), QString(), QStringLiteral(" Search:"), QString(),
        QStringLiteral(" Replace:"), QString(), QStringLiteral(" Alt+R %1 Regular expression     Alt+C Case: %2").arg(regex, caseName(m_case)),
        QStringLiteral(" [N] name  [E] extension  [N2-5] characters  [C] counter, [C:3] of 3 digits  "
                       "[D] date  [T] time"),
        QStringLiteral("   Old name → New name") };
    const std::vector<RenamePlan::Line> none;
    const std::vector<RenamePlan::Line>& planned = m_plan ? m_plan->lines() : none;
    m_top = std::min(m_top, planned.empty() ? 0 : planned.size() - 1);
    for (std::size_t index = m_top; index < planned.size() && index < m_top + listLines; ++index)
        lines << listLine(planned[index]);
    while (lines.size() < renameLineCount - 1)
        lines << QString();
    lines << status();
    m_face->setLines(lines);
}

void MultiRenameDialog::scroll(std::ptrdiff_t lines)
{
    const std::ptrdiff_t last = m_plan ? std::max<std::ptrdiff_t>(std::ptrdiff_t(m_plan->lines().size()) - listLines, 0) : 0;
    m_top = std::size_t(std::clamp(std::ptrdiff_t(m_top) + lines, std::ptrdiff_t(0), last));
    refresh();
}

// A field would type the letter of Alt+R or Alt+C: the dialog takes them first.
bool MultiRenameDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::AltModifier && (key->key() == Qt::Key_R || key->key() == Qt::Key_C)) {
            handleKey(key);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void MultiRenameDialog::handleKey(QKeyEvent* event)
{
    const bool alt = event->modifiers() == Qt::AltModifier;
    if (alt && event->key() == Qt::Key_R) {
        m_syntax = m_syntax == NameReplace::Syntax::plainText ? NameReplace::Syntax::regularExpression
                                                              : NameReplace::Syntax::plainText;
        replan();
    } else if (alt && event->key() == Qt::Key_C) {
        m_case = nextCase(m_case);
        replan();
    } else if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        scroll(event->key() == Qt::Key_Up ? -1 : 1);
    } else if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) {
        scroll(event->key() == Qt::Key_PageUp ? -listLines : listLines);
    }
}

// A plan with a problem never runs: the list and the status line already say what to change.
void MultiRenameDialog::renameIfClear()
{
    if (m_plan && m_plan->problemCount() == 0)
        accept();
}

} // namespace kiv
