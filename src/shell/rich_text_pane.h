#pragma once

#include "report/report_pane.h"

#include <QElapsedTimer>
#include <QFont>
#include <QTextCharFormat>
#include <QTextCursor>

class QTextEdit;

namespace tira {

// The report pane over a read-only rich-text control: one paragraph per report line, each
// in the character attributes current when it was appended. Lines go in through one cursor
// at the document's end, a batch at a time: the document lays them out, and the pane is
// painted, at most every kPaintInterval while a report is built (so it still grows in
// sight while the files are read), and once more when the report is finished.
class RichTextPane : public ReportPane
{
  public:
    explicit RichTextPane(QTextEdit& edit);

    // The font of the default text attributes.
    void setDefaultFont(const QFont& font);
    const QTextCharFormat& defaultFormat() const noexcept { return m_default; }
    int lineCount() const noexcept { return m_lines; }
    // Paints that showed lines, since the pane was made.
    int paintCount() const noexcept { return m_paints; }

    // Lays out and paints what the report appended since the last paint. The window calls it
    // when a report is finished.
    void finish();

    static constexpr int kPaintInterval = 30; // milliseconds
    void clear() override;
    void resetAttributes() override;
    void setDefaultColour(WinColour colour) override;
    void setColour(WinColour colour) override;
    void appendLine(std::string_view utf8) override;
    void repaint() override;

  private:
    void closeBatch();
    void paint();

    QTextEdit& m_edit;
    QTextCharFormat m_default;
    QTextCharFormat m_current;
    QTextCursor m_cursor;       // at the end of the document
    bool m_batchOpen = false;   // lines appended, not laid out yet
    QElapsedTimer m_sincePaint; // since the last paint (or the pane was cleared)
    int m_lines = 0;
    int m_paints = 0;
};

} // namespace tira
