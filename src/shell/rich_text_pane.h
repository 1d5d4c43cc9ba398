#pragma once

#include "report/report_pane.h"

#include <QFont>
#include <QTextCharFormat>

class QTextEdit;

namespace tira {

// The report pane over a read-only rich-text control: one paragraph per report line, each
// in the character attributes current when it was appended.
class RichTextPane : public ReportPane
{
  public:
    explicit RichTextPane(QTextEdit& edit);

    // The font of the default text attributes.
    void setDefaultFont(const QFont& font);
    const QTextCharFormat& defaultFormat() const noexcept { return m_default; }
    int lineCount() const noexcept { return m_lines; }

    void clear() override;
    void resetAttributes() override;
    void setDefaultColour(WinColour colour) override;
    void setColour(WinColour colour) override;
    void appendLine(std::string_view utf8) override;
    void repaint() override;

  private:
    QTextEdit& m_edit;
    QTextCharFormat m_default;
    QTextCharFormat m_current;
    int m_lines = 0;
};

} // namespace tira
