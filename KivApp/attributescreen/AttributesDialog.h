#pragma once

#include "attributes/AttributeForm.h"

#include <QDialog>
#include <optional>

namespace kiv {

class RetroChoiceView;

// "Attributes": the permission bits of the marked items, one line each ([x] on, [ ] off, [?] as
// each item has it), Up and Down move between them and Space flips one; O, G and T ask for the
// owner, the group and the modification time, I says how far inside marked folders the change
// goes. Return makes the change, Esc leaves everything as it was. A user or group the system does
// not know, one this user may not give, or a date that is none is refused at once, by name.
class AttributesDialog : public QDialog
{
    Q_OBJECT
public:
    // Shows the dialog for `form` over `parent`'s window, `subject` naming the items; returns the
    // change on Return (nothing when the user changed nothing), nothing on Esc.
    static std::optional<AttributeChange> ask(QWidget* parent, const QString& subject, AttributeForm form);

    // Creates the hidden dialog showing `form`.
    AttributesDialog(const QString& subject, AttributeForm form, QWidget* parent);
    // Returns the form as the user has set it so far.
    const AttributeForm& form() const { return m_form; }
    // Returns the dialog's face.
    RetroChoiceView* face() const { return m_face; }

private:
    void refresh();
    void press(int key);
    void moveCursor(int step);
    void askOwner();
    void askGroup();
    void askTime();
    std::optional<std::string> askText(const QString& message, const std::string& now);
    void refuse(const QString& text);

    QString m_subject;
    AttributeForm m_form;
    std::size_t m_cursor = 0;
    RetroChoiceView* m_face;
};

} // namespace kiv
