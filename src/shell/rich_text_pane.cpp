#include "shell/rich_text_pane.h"

#include "dialogs/qt_helpers.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

namespace tira {

RichTextPane::RichTextPane(QTextEdit& edit) : m_edit(edit), m_cursor(edit.document())
{
    m_default.setForeground(toQColor(0));
    m_current = m_default;
    // the pane is read-only: an undo history of every line would only cost time and memory
    m_edit.document()->setUndoRedoEnabled(false);
    m_sincePaint.start();
}

void RichTextPane::setDefaultFont(const QFont& font)
{
    m_default.setFont(font);
}

void RichTextPane::clear()
{
    closeBatch();
    m_edit.clear();
    m_cursor = QTextCursor(m_edit.document());
    m_lines = 0;
    m_sincePaint.start();
}

void RichTextPane::resetAttributes()
{
    m_current = m_default;
}

void RichTextPane::setDefaultColour(WinColour colour)
{
    m_default.setForeground(toQColor(colour));
}

void RichTextPane::setColour(WinColour colour)
{
    m_current.setForeground(toQColor(colour));
}

void RichTextPane::appendLine(std::string_view utf8)
{
    // The cursor is the pane's own, so the view stays where the reader has it. Inside an edit
    // block the document takes the line at once and lays the batch out when it closes.
    if (!m_batchOpen) {
        m_cursor.movePosition(QTextCursor::End);
        m_cursor.beginEditBlock();
        m_batchOpen = true;
    }
    if (m_lines == 0)
        m_cursor.setBlockCharFormat(m_current); // the document's first, still empty paragraph
    else
        m_cursor.insertBlock(QTextBlockFormat(), m_current);
    m_cursor.insertText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())),
                        m_current);
    ++m_lines;
}

void RichTextPane::repaint()
{
    if (m_sincePaint.elapsed() >= kPaintInterval) paint();
}

void RichTextPane::finish()
{
    paint();
}

void RichTextPane::closeBatch()
{
    if (!m_batchOpen) return;
    m_cursor.endEditBlock();
    m_batchOpen = false;
}

void RichTextPane::paint()
{
    closeBatch();
    // at once: while a report is built the event loop does not run
    m_edit.viewport()->repaint();
    ++m_paints;
    m_sincePaint.start();
}

} // namespace tira
