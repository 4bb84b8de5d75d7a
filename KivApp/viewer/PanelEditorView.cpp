#include "viewer/PanelEditorView.h"

#include "base/PathString.h"
#include "toolkit/RetroControls.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/RetroPainting.h"
#include "toolkit/ShownText.h"
#include "toolkit/Theme.h"
#include "viewer/EditorTextView.h"

#include <QPainter>
#include <QPointer>
#include <QResizeEvent>
#include <utility>

namespace kiv {

namespace {

constexpr int editorTitleHeight = 18;
constexpr int editorStatusHeight = 16;
constexpr qreal editorFontSize = 12;
constexpr qreal editorStatusFontSize = 11;

QString keyHints(bool readOnly)
{
    if (readOnly)
        return QStringLiteral(" Esc Close ");
#ifdef Q_OS_MACOS
    return QStringLiteral(" Cmd-S Save   Esc Close (asks about unsaved changes) ");
#else
    return QStringLiteral(" Ctrl-S Save   Esc Close (asks about unsaved changes) ");
#endif
}

} // namespace

PanelEditorView::PanelEditorView(std::string filePath, const EditableText::Loaded& loaded,
    std::string archivePath, std::optional<SaveBack> saveBack, QWidget* parent)
    : QWidget(parent)
    , m_filePath(std::move(filePath))
    , m_archivePath(std::move(archivePath))
    , m_textView(new EditorTextView(this))
    , m_titleLabel(RetroControls::label(
          {}, Theme::monoFontBold(), Theme::panelHeader(), Theme::panelHeaderBG(), Qt::AlignHCenter, this))
    , m_statusLabel(RetroControls::label(keyHints(!saveBack), Theme::monoFont(editorStatusFontSize),
          Theme::panelHeader(), std::nullopt, Qt::AlignLeft, this))
    , m_saveBack(std::move(saveBack))
{
    m_titleLabel->setObjectName(QStringLiteral("editorTitle"));
    m_textView->setFont(Theme::monoFont(editorFontSize));
    m_textView->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_textView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_textView->setFrameShape(QFrame::NoFrame);
    RetroPainting::setPaletteColor(*m_textView, QPalette::Base, Theme::panelBackground());
    RetroPainting::setPaletteColor(*m_textView, QPalette::Text, Theme::panelText());
    m_form = { loaded.kind, {}, loaded.crLf, loaded.byteOrderMark };
    m_textView->setPlainText(QString::fromUtf8(loaded.text.data(), qsizetype(loaded.text.size())));
    if (!m_saveBack) {
        m_textView->setReadOnly(true);
        // Still a caret that the keys move, so the text can be read as in the editor.
        m_textView->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    }
    connect(m_textView, &QPlainTextEdit::textChanged, this, [this] { setDirty(true); });
    m_textView->onEscape = [this] { escape(); };
    m_textView->onSave = [this] { save(); };
    updateTitle();
}

bool PanelEditorView::confirmClose()
{
    if (!m_isDirty || !isVisible())
        return true;
    switch (RetroDialogs::ask(this, QStringLiteral("Unsaved Changes"),
        fileName() + QStringLiteral(" has unsaved changes. Close without saving?"), QStringLiteral("Discard"),
        ButtonTone::destructive, QStringLiteral("Save"))) {
    case RetroDialogResponse::ok:
        return true;
    case RetroDialogResponse::alternative:
        save(); // a failed save has told why and leaves the text unsaved, so the editor stays
        // Saving back takes a while: the editor closes once the text is written.
        m_closeWhenSaved = m_savingBack;
        return !m_isDirty;
    case RetroDialogResponse::cancel:
        break;
    }
    return false;
}

void PanelEditorView::focusEditor()
{
    m_textView->setFocus(Qt::OtherFocusReason);
}

void PanelEditorView::save()
{
    if (m_saveBack)
        saveBack();
    else
        refuseSave();
}

std::string PanelEditorView::textToSave() const
{
    // toPlainText() would turn no-break spaces into plain ones; the raw text keeps every character
    // and separates lines by paragraph separators.
    QString text = m_textView->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return EditableText::savedBytes(text.toStdString(), m_form);
}

void PanelEditorView::refuseSave()
{
    // Saving the copy would change nothing the user can find again, so nothing pretends to.
    if (!isVisible())
        return;
    RetroDialogs::message(this, QStringLiteral("Can't Save"),
        fileName() + QStringLiteral(" is shown from inside the archive ") + archiveName()
            + QStringLiteral(", which Tavrin does not change: the editor only reads it. To edit the file, "
                             "copy it out of the archive (F5) and edit the copy."));
}

void PanelEditorView::saveBack()
{
    // The next save checks the file against what this one leaves, so it waits for it.
    if (m_savingBack)
        return;
    m_savingBack = true;
    updateTitle();
    std::string bytes = textToSave();
    m_saveBack->write(bytes, [editor = QPointer(this), bytes](bool written) {
        if (editor)
            editor->savedBack(bytes, written);
    });
}

void PanelEditorView::savedBack(const std::string& bytes, bool written)
{
    m_savingBack = false;
    // Text typed while the save ran is not saved yet.
    setDirty(m_isDirty && !(written && textToSave() == bytes));
    const bool close = m_closeWhenSaved && !m_isDirty;
    m_closeWhenSaved = false;
    const std::function<void()> afterClosing = std::exchange(m_afterClosingSave, {});
    if (close && onClose)
        onClose();
    if (close && afterClosing)
        afterClosing();
}

void PanelEditorView::whenClosedBySave(std::function<void()> then)
{
    if (m_closeWhenSaved)
        m_afterClosingSave = std::move(then);
}

void PanelEditorView::escape()
{
    if (confirmClose() && onClose)
        onClose();
}

void PanelEditorView::setDirty(bool dirty)
{
    m_isDirty = dirty;
    updateTitle();
}

void PanelEditorView::updateTitle()
{
    if (!m_saveBack) {
        m_titleLabel->setText(
            QStringLiteral(" Read-only: ") + fileName() + QStringLiteral(" (inside ") + archiveName() + u')' + u' ');
        return;
    }
    QString state = m_isDirty ? QStringLiteral(" (edited)") : QString();
    if (m_savingBack)
        state += QStringLiteral(" (saving)");
    m_titleLabel->setText(QStringLiteral(" Editing: ") + m_saveBack->place + state + u' ');
}

QString PanelEditorView::fileName() const
{
    return ShownText::of(PathString::lastComponent(m_filePath));
}

QString PanelEditorView::archiveName() const
{
    return ShownText::of(PathString::lastComponent(m_archivePath));
}

void PanelEditorView::paintEvent(QPaintEvent*)
{
    // Filled inside the one-pixel margin: the panel's frame stays visible around the editor, while
    // the panel's own lines under the clear status line do not show through.
    QPainter painter(this);
    painter.fillRect(rect().adjusted(1, 1, -1, -1), Theme::panelBackground());
}

void PanelEditorView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int w = width();
    const int h = height();
    m_titleLabel->setGeometry(1, 1, w - 2, editorTitleHeight);
    m_textView->setGeometry(1, 1 + editorTitleHeight, w - 2, h - 2 - editorTitleHeight - editorStatusHeight);
    m_statusLabel->setGeometry(1, h - 1 - editorStatusHeight, w - 2, editorStatusHeight);
}

} // namespace kiv
