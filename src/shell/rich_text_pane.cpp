#include "shell/rich_text_pane.h"

#include "shell/app_info.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

namespace tira {

RichTextPane::RichTextPane(QTextEdit& edit) : m_edit(edit)
{
    m_default.setForeground(toQColor(0));
    m_current = m_default;
}

void RichTextPane::setDefaultFont(const QFont& font)
{
    m_default.setFont(font);
}

void RichTextPane::clear()
{
    m_edit.clear();
    m_lines = 0;
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
    // A cursor of its own, so the view stays where the reader has it.
    QTextCursor cursor(m_edit.document());
    cursor.movePosition(QTextCursor::End);
    if (m_lines == 0)
        cursor.setBlockCharFormat(m_current); // the document's first, still empty paragraph
    else
        cursor.insertBlock(QTextBlockFormat(), m_current);
    cursor.insertText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())),
                      m_current);
    ++m_lines;
}

void RichTextPane::repaint()
{
    m_edit.viewport()->repaint();
}

} // namespace tira
