#ifdef KIV_MANUAL_PAGE

#include "TempDir.h"
#include "commands/Actions.h"
#include "commands/HelpText.h"

#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace kiv;

namespace {

// The page as a reader sees it, formatted by groff without bold or underlining, every run of
// white space one space and the typographic dashes and quotes read as ASCII; or the warnings
// groff gave, if any.
struct Rendered
{
    QString text;
    QString warnings;
};

Rendered rendered(const QString& page)
{
    QProcess groff;
    groff.start(QStringLiteral("groff"),
        { QStringLiteral("-k"), QStringLiteral("-man"), QStringLiteral("-Tutf8"), QStringLiteral("-ww"),
            QStringLiteral("-P-cbou"), QStringLiteral("-rLL=300n"), page });
    EXPECT_TRUE(groff.waitForFinished(30000)) << "groff (groff-base) did not run";
    QString text = QString::fromUtf8(groff.readAllStandardOutput());
    text.replace(QRegularExpression(QStringLiteral("[\u2010\u2212]")), QStringLiteral("-"));
    text.replace(QRegularExpression(QStringLiteral("[\u2018\u2019]")), QStringLiteral("'"));
    return { text.simplified(), QString::fromUtf8(groff.readAllStandardError()) };
}

} // namespace

TEST(ManualPageTest, EveryKeyOfTheTableIsOnThePageAsF1ShowsItAndGroffHasNothingToSay)
{
    const Rendered page = rendered(QStringLiteral(KIV_MANUAL_PAGE));
    EXPECT_EQ(page.warnings.toStdString(), "");
    ASSERT_TRUE(page.text.contains(QStringLiteral("KEYS F1 in the window lists the same keys.")))
        << page.text.toStdString();
    // Each place's keys under its heading, in the table's order.
    qsizetype at = page.text.indexOf(QStringLiteral("KEYS"));
    for (const HelpText::Section& section : HelpText::sections(Actions::all())) {
        at = page.text.indexOf(section.heading, at);
        ASSERT_GE(at, 0) << "no heading " << section.heading.toStdString();
        for (const HelpText::Line& told : section.lines) {
            const QString line = told.key + u' ' + told.text.simplified();
            at = page.text.indexOf(line, at);
            ASSERT_GE(at, 0) << "the page lacks, or misplaces, \"" << line.toStdString() << '"';
        }
    }
}

#endif
