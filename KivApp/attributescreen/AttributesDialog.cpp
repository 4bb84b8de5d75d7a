#include "attributescreen/AttributesDialog.h"

#include "attributes/AccountNames.h"
#include "toolkit/RetroChoiceView.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/RetroPainting.h"
#include "toolkit/ShownText.h"
#include "toolkit/Theme.h"

#include <QKeyEvent>

namespace kiv {

namespace {

constexpr int attributesDialogWidth = 460;
// The subject, a rule, the twelve bits, how to flip them, owner, group, time and reach.
constexpr int attributesLineCount = 19;
constexpr int firstBitLine = 2;
constexpr int setChoice = 0;
const QString attributesDialogTitle = QStringLiteral("Attributes");

QString box(AttributeForm::State state)
{
    switch (state) {
    case AttributeForm::State::on:
        return QStringLiteral("[x]");
    case AttributeForm::State::off:
        return QStringLiteral("[ ]");
    case AttributeForm::State::mixed:
        return QStringLiteral("[?]");
    }
    return {};
}

QString reachText(const AttributeForm& form)
{
    using Reach = AttributeChange::Reach;
    if (!form.hasFolders())
        return QStringLiteral("(no folder marked)");
    switch (form.reach()) {
    case Reach::markedItems:
        return QStringLiteral("no, the marked items only");
    case Reach::everything:
        return QStringLiteral("yes, everything inside");
    case Reach::filesOnly:
        return QStringLiteral("yes, files only");
    case Reach::foldersOnly:
        return QStringLiteral("yes, folders only");
    }
    return {};
}

template <typename Id> QString shown(const std::optional<Id>& id, std::string (*name)(Id))
{
    return id ? ShownText::of(name(*id)) : QStringLiteral("(they differ)");
}

} // namespace

std::optional<AttributeChange> AttributesDialog::ask(QWidget* parent, const QString& subject, AttributeForm form)
{
    AttributesDialog dialog(subject, std::move(form), parent);
    if (parent) {
        const QRect around = parent->window()->frameGeometry();
        dialog.move(around.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
    }
    if (dialog.exec() != QDialog::Accepted || !dialog.form().isChanged())
        return std::nullopt;
    return dialog.form().change();
}

AttributesDialog::AttributesDialog(const QString& subject, AttributeForm form, QWidget* parent)
    : QDialog(parent ? parent->window() : nullptr, Qt::Dialog | Qt::FramelessWindowHint)
    , m_subject(subject)
    , m_form(std::move(form))
{
    m_face = new RetroChoiceView(attributesDialogTitle,
        { { QStringLiteral("Return Set"), Qt::Key_Return }, { QStringLiteral("Esc Cancel"), Qt::Key_Escape } },
        attributesDialogWidth, attributesLineCount, this);
    m_face->onChoice = [this](int index) { index == setChoice ? accept() : reject(); };
    m_face->onOtherKey = [this](QKeyEvent* event) { press(event->key()); };
    setWindowTitle(attributesDialogTitle);
    setFixedSize(m_face->size());
    setModal(true);
    RetroPainting::setPaletteColor(*this, QPalette::Window, Theme::dialogBackground());
    refresh();
    m_face->setFocus();
}

void AttributesDialog::refresh()
{
    QStringList lines { QStringLiteral(" ") + m_subject, QString() };
    for (std::size_t row = 0; row < AttributeForm::bits.size(); ++row)
        lines << QStringLiteral("   %1 %2").arg(box(m_form.state(row)), AttributeForm::bits[row].label);
    const std::optional<FileTime> modified = m_form.modified();
    lines << QStringLiteral("   (Up, Down: a bit; Space flips it)") << QStringLiteral(" O  Owner:    ") + shown(m_form.owner(), &AccountNames::userName)
          << QStringLiteral(" G  Group:    ") + shown(m_form.group(), &AccountNames::groupName)
          << QStringLiteral(" T  Modified: ")
            + (modified ? ShownText::of(AttributeForm::timeText(*modified)) : QStringLiteral("(they differ)"))
          << QStringLiteral(" I  Inside folders: ") + reachText(m_form);
    m_face->setLines(lines, firstBitLine + int(m_cursor));
}

void AttributesDialog::press(int key)
{
    switch (key) {
    case Qt::Key_Up:
        return moveCursor(-1);
    case Qt::Key_Down:
        return moveCursor(1);
    case Qt::Key_Space:
        m_form.flip(m_cursor);
        break;
    case Qt::Key_O:
        askOwner();
        break;
    case Qt::Key_G:
        askGroup();
        break;
    case Qt::Key_T:
        askTime();
        break;
    case Qt::Key_I:
        m_form.nextReach();
        break;
    default:
        return;
    }
    refresh();
}

void AttributesDialog::moveCursor(int step)
{
    const int rows = int(AttributeForm::bits.size());
    m_cursor = std::size_t((int(m_cursor) + step + rows) % rows);
    refresh();
}

std::optional<std::string> AttributesDialog::askText(const QString& message, const std::string& now)
{
    const std::optional<QString> typed = RetroDialogs::prompt(this, attributesDialogTitle, message, ShownText::of(now));
    if (!typed || typed->trimmed().isEmpty())
        return std::nullopt;
    return ShownText::bytesOf(typed->trimmed());
}

void AttributesDialog::refuse(const QString& text)
{
    RetroDialogs::message(this, attributesDialogTitle, text);
}

void AttributesDialog::askOwner()
{
    const std::optional<uid_t> shownOwner = m_form.owner();
    const std::optional<std::string> typed = askText(QStringLiteral("Owner (a user's name or number):"),
        shownOwner ? AccountNames::userName(*shownOwner) : std::string());
    if (!typed)
        return;
    const std::optional<uid_t> owner = AccountNames::userId(*typed);
    if (!owner)
        return refuse(QStringLiteral("There is no user named \"%1\".").arg(ShownText::of(*typed)));
    if (owner != shownOwner && !AccountNames::mayChangeOwner())
        return refuse(QStringLiteral("Only the superuser may give items to another user."));
    m_form.setOwner(*owner);
}

void AttributesDialog::askGroup()
{
    const std::optional<gid_t> shownGroup = m_form.group();
    const std::optional<std::string> typed = askText(QStringLiteral("Group (a group's name or number):"),
        shownGroup ? AccountNames::groupName(*shownGroup) : std::string());
    if (!typed)
        return;
    const std::optional<gid_t> group = AccountNames::groupId(*typed);
    if (!group)
        return refuse(QStringLiteral("There is no group named \"%1\".").arg(ShownText::of(*typed)));
    if (group != shownGroup && !AccountNames::mayChangeGroupTo(*group))
        return refuse(QStringLiteral("You may give items only to a group you belong to, and \"%1\" is not one.")
                .arg(ShownText::of(*typed)));
    m_form.setGroup(*group);
}

void AttributesDialog::askTime()
{
    const std::optional<FileTime> shownTime = m_form.modified();
    const std::optional<std::string> typed = askText(QStringLiteral("Modification time (YYYY-MM-DD HH:MM:SS, local):"),
        shownTime ? AttributeForm::timeText(*shownTime) : std::string());
    if (!typed)
        return;
    const std::optional<FileTime> when = AttributeForm::parseTime(*typed);
    if (!when)
        return refuse(QStringLiteral("\"%1\" is no date and time: write it as 2026-12-07 14:05:00.")
                .arg(ShownText::of(*typed)));
    m_form.setModified(*when);
}

} // namespace kiv
