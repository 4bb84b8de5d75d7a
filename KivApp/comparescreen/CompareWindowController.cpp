#include "comparescreen/CompareWindowController.h"

#include "base/PathString.h"
#include "comparescreen/CompareView.h"
#include "toolkit/RetroControls.h"
#include "toolkit/ShownText.h"
#include "toolkit/Theme.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QShortcut>
#include <QVBoxLayout>

namespace kiv {

namespace {

constexpr QSize compareWindowSize { 960, 560 };

RetroLabel* nameLine(const LineIndex& file, QWidget* window)
{
    return RetroControls::label(u' ' + ShownText::of(file.path()), Theme::monoFont(12), Theme::panelHeader(),
        Theme::panelHeaderBG(), Qt::AlignLeft, window);
}

} // namespace

CompareWindowController::CompareWindowController(
    std::shared_ptr<const FileCompareJob::Result> comparison, QObject* parent)
    : QObject(parent)
    , m_window(std::make_unique<QWidget>())
{
    m_window->setWindowFlags(Qt::Window);
    m_window->setWindowTitle("Compare: " + ShownText::of(PathString::lastComponent(comparison->left.path()))
        + QStringLiteral(" | ") + ShownText::of(PathString::lastComponent(comparison->right.path())));
    m_window->resize(compareWindowSize);
    auto* layout = new QVBoxLayout(m_window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* names = new QHBoxLayout;
    names->setSpacing(2);
    names->addWidget(nameLine(comparison->left, m_window.get()), 1);
    names->addWidget(nameLine(comparison->right, m_window.get()), 1);
    layout->addLayout(names);
    m_view = new CompareView(m_window.get());
    layout->addWidget(m_view, 1);
    m_statusLine = RetroControls::label(QString(), Theme::monoFont(12), Theme::funcKeyLabelText(),
        Theme::funcKeyLabelBG(), Qt::AlignLeft, m_window.get());
    layout->addWidget(m_statusLine);
    m_view->onScroll = [this] { updateStatusLine(); };
    m_view->setComparison(std::move(comparison));
    bindKeys();
    m_view->setFocus();
    m_window->installEventFilter(this);
}

CompareWindowController::~CompareWindowController() = default;

void CompareWindowController::showWindow()
{
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

QString CompareWindowController::statusText() const
{
    return m_statusLine->text();
}

void CompareWindowController::updateStatusLine()
{
    const SideBySide& rows = m_view->comparison()->rows;
    if (rows.differenceCount() == 0) {
        m_statusLine->setText(QStringLiteral(" The files are the same   Esc close"));
        return;
    }
    const std::size_t current = m_view->currentDifferenceNumber();
    const QString at = current == 0 ? QString() : QStringLiteral("   at %1").arg(current);
    m_statusLine->setText(QStringLiteral(" %1 difference(s)%2   F7 next   Shift+F7 previous   Esc close")
            .arg(rows.differenceCount())
            .arg(at));
}

void CompareWindowController::bindKeys()
{
    QWidget* window = m_window.get();
    for (const Qt::Key key : { Qt::Key_Escape, Qt::Key_F3, Qt::Key_F10 })
        connect(new QShortcut(key, window), &QShortcut::activated, window, [window] { window->close(); });
}

bool CompareWindowController::eventFilter(QObject* watched, QEvent* event)
{
    // Later, not now: the window is still inside its own close handling.
    if (watched == m_window.get() && event->type() == QEvent::Close)
        deleteLater();
    return QObject::eventFilter(watched, event);
}

} // namespace kiv
