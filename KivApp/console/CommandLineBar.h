#pragma once

#include <QWidget>

namespace kiv {

class CommandLineField;
class RetroLabel;

// The strip below the panels: a 90-pixel prompt naming the active folder, then the input field
// taking the rest of the width, yellow on black.
class CommandLineBar : public QWidget
{
    Q_OBJECT
public:
    // Builds the bar with the prompt "$ " and an empty field; the owner sets its height.
    explicit CommandLineBar(QWidget* parent = nullptr);

    // Returns the prompt label, owned by the bar.
    RetroLabel* promptLabel() const { return m_promptLabel; }
    // Returns the input field, owned by the bar.
    CommandLineField* field() const { return m_field; }

    // Shows `path` (cut to "..." and its last 37 characters when longer than 40) followed by " $ ".
    void setPromptPath(const QString& path);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    RetroLabel* m_promptLabel;
    CommandLineField* m_field;
};

} // namespace kiv
