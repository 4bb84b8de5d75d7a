#include "jobscreen/JobQuestionDialog.h"

#include "text/KivFormat.h"
#include "toolkit/FittedText.h"
#include "toolkit/RetroChoiceView.h"
#include "toolkit/RetroDialogView.h"
#include "toolkit/RetroPainting.h"
#include "toolkit/ShownText.h"
#include "toolkit/Theme.h"

#include <QFontMetrics>

namespace kiv {

namespace {

constexpr int questionDialogWidth = 560;

struct Offer
{
    const char* caption;
    int key;
    JobAnswer answer;
};

const std::vector<Offer>& conflictOffers()
{
    static const std::vector<Offer> offers { { "O Overwrite", Qt::Key_O, JobAnswer::overwrite },
        { "A Overwrite all", Qt::Key_A, JobAnswer::overwriteAll },
        { "N Overwrite all older", Qt::Key_N, JobAnswer::overwriteAllOlder },
        { "S Skip", Qt::Key_S, JobAnswer::skip }, { "L Skip all", Qt::Key_L, JobAnswer::skipAll },
        { "K Keep both", Qt::Key_K, JobAnswer::keepBoth },
        { "Esc Cancel", Qt::Key_Escape, JobAnswer::cancel } };
    return offers;
}

// Where a file and a folder meet: nothing replaces the old item in place.
const std::vector<Offer>& acrossKindsOffers()
{
    static const std::vector<Offer> offers { { "R Replace", Qt::Key_R, JobAnswer::overwrite },
        { "S Skip", Qt::Key_S, JobAnswer::skip }, { "K Keep both", Qt::Key_K, JobAnswer::keepBoth },
        { "Esc Cancel", Qt::Key_Escape, JobAnswer::cancel } };
    return offers;
}

const std::vector<Offer>& failureOffers()
{
    static const std::vector<Offer> offers { { "R Retry", Qt::Key_R, JobAnswer::retry },
        { "S Skip", Qt::Key_S, JobAnswer::skip }, { "L Skip all", Qt::Key_L, JobAnswer::skipAll },
        { "Esc Cancel", Qt::Key_Escape, JobAnswer::cancel } };
    return offers;
}

// Trusting takes its own letter: a Return typed ahead never trusts a key.
const std::vector<Offer>& hostKeyOffers()
{
    static const std::vector<Offer> offers { { "T Trust", Qt::Key_T, JobAnswer::trust },
        { "Esc Cancel", Qt::Key_Escape, JobAnswer::cancel } };
    return offers;
}

// Writing over what changed since it was read takes its own letter too.
const std::vector<Offer>& changedOffers()
{
    static const std::vector<Offer> offers { { "O Overwrite", Qt::Key_O, JobAnswer::overwrite },
        { "Esc Cancel", Qt::Key_Escape, JobAnswer::cancel } };
    return offers;
}

const std::vector<Offer>& offersFor(JobQuestion::Kind kind)
{
    switch (kind) {
    case JobQuestion::Kind::conflict:
        return conflictOffers();
    case JobQuestion::Kind::hostKey:
        return hostKeyOffers();
    case JobQuestion::Kind::changed:
        return changedOffers();
    case JobQuestion::Kind::itemError:
    case JobQuestion::Kind::secret:
        break;
    }
    return failureOffers();
}

QString titleSuffix(JobQuestion::Kind kind)
{
    switch (kind) {
    case JobQuestion::Kind::conflict:
        return QStringLiteral(" - Name Taken");
    case JobQuestion::Kind::hostKey:
        return QStringLiteral(" - Unknown Server");
    case JobQuestion::Kind::changed:
        return QStringLiteral(" - Changed");
    case JobQuestion::Kind::itemError:
    case JobQuestion::Kind::secret:
        break;
    }
    return QStringLiteral(" - Error");
}

// "New  12,345 bytes  12-06-26 17:30", the date in the panels' own form.
QString factsLine(const char* label, const JobItemFacts& item)
{
    std::string line
        = std::string(label) + (item.isFolder ? "<folder>" : KivFormat::grouped(item.size) + " bytes");
    if (item.modified) {
        const std::optional<FileTime> when = std::chrono::floor<FileTime::duration>(*item.modified);
        line += "  " + KivFormat::date(when) + " " + KivFormat::time(when);
    }
    return QString::fromStdString(line);
}

bool kindsDiffer(const JobQuestion& question)
{
    return question.kind == JobQuestion::Kind::conflict
        && question.source.isFolder != question.target.isFolder;
}

QString kindOf(const JobItemFacts& item)
{
    return item.isFolder ? QStringLiteral("folder") : QStringLiteral("file");
}

QStringList linesOf(const JobQuestion& question)
{
    if (question.kind == JobQuestion::Kind::hostKey)
        return { QStringLiteral("The key of this server is not known yet:"),
            ShownText::of(question.source.path), QString(), ShownText::of(question.message), QString(),
            QStringLiteral("Trust it only if it is the server's key: T trusts it and remembers it.") };
    if (question.kind == JobQuestion::Kind::changed)
        return { QStringLiteral("The file changed since it was read:"), ShownText::of(question.target.path),
            QString(), factsLine("Read: ", question.source), factsLine("Now:  ", question.target), QString(),
            QStringLiteral("O writes the editor's text over it; Esc leaves it as it is now.") };
    // The reason is a sentence: it wraps, and only the paths in it are ever shortened.
    if (question.kind == JobQuestion::Kind::itemError)
        return QStringList { QStringLiteral("Could not finish:"), ShownText::of(question.source.path), QString() }
        + FittedText::wrapped(ShownText::of(question.message), QFontMetrics(RetroDialogView::messageFont()),
            RetroChoiceView::textWidth(questionDialogWidth));
    const bool across = kindsDiffer(question);
    const QString head = across ? QStringLiteral("A %1 onto a %2 of the same name:")
                                      .arg(kindOf(question.source), kindOf(question.target))
                                : QStringLiteral("The target already exists:");
    QStringList lines { head, ShownText::of(question.target.path), QString(),
        factsLine("New:  ", question.source), factsLine("Old:  ", question.target) };
    if (across)
        lines << QString()
              << QStringLiteral("Replace puts the old %1 in the trash first.").arg(kindOf(question.target));
    return lines;
}

} // namespace

JobAnswer JobQuestionDialog::askModally()
{
    if (QWidget* parent = parentWidget()) {
        const QRect around = parent->window()->frameGeometry();
        move(around.center() - QPoint(width() / 2, height() / 2));
    }
    exec();
    return m_answer;
}

JobQuestionDialog::JobQuestionDialog(
    const std::string& jobTitle, const JobQuestion& question, QWidget* parent)
    : QDialog(parent ? parent->window() : nullptr, Qt::Dialog | Qt::FramelessWindowHint)
{
    const std::vector<Offer>& offers = kindsDiffer(question) ? acrossKindsOffers() : offersFor(question.kind);
    std::vector<RetroChoiceView::Choice> choices;
    for (const Offer& offer : offers) {
        choices.push_back({ QString::fromLatin1(offer.caption), offer.key });
        m_answers.push_back(offer.answer);
    }
    const QString title = QString::fromStdString(jobTitle) + titleSuffix(question.kind);
    const QStringList lines = linesOf(question);
    m_face = new RetroChoiceView(title, std::move(choices), questionDialogWidth, int(lines.size()), this);
    m_face->setLines(lines);
    m_face->onChoice = [this](int index) {
        m_answer = m_answers[std::size_t(index)];
        done(QDialog::Accepted);
    };
    setWindowTitle(title);
    setFixedSize(m_face->size());
    setModal(true);
    RetroPainting::setPaletteColor(*this, QPalette::Window, Theme::dialogBackground());
    m_face->setFocus();
}

void JobQuestionDialog::reject()
{
    m_answer = JobAnswer::cancel;
    done(QDialog::Rejected);
}

} // namespace kiv
