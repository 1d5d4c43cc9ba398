#include "dialogs/agenda_fm.h"

#include "dialogs/qt_helpers.h"
#include "report/agenda.h"
#include "text/file_error.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

namespace tira {

TAgendaF::TAgendaF(const MainState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_list(new QTextEdit(this))
{
    setObjectName(QStringLiteral("AgendaF"));
    setWindowTitle(QStringLiteral("今後の予定"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_list->setObjectName(QStringLiteral("AgendaList"));
    m_list->setReadOnly(true);
    // arrows and page keys scroll, as in a text viewer
    m_list->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_list->setFocusPolicy(Qt::StrongFocus);
    m_list->setLineWrapMode(QTextEdit::WidgetWidth);
    layout->addWidget(m_list);
    resize(440, 480);
    refresh();
}

void TAgendaF::refresh()
{
    const Settings& settings = m_state.settings;
    m_list->setFont(reportFont(settings.Font));
    QPalette palette = m_list->palette();
    palette.setColor(QPalette::Base, toQColor(settings.BackF));
    palette.setColor(QPalette::Text, toQColor(settings.BaseF));
    m_list->setPalette(palette);

    m_list->clear();
    QTextCursor cursor(m_list->document());
    QTextCharFormat format;
    bool first = true;
    const auto add = [&](std::string_view text, WinColour colour) {
        format.setForeground(toQColor(colour));
        if (!first) cursor.insertBlock();
        first = false;
        cursor.insertText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                          format);
    };
    try {
        const auto entries =
            buildAgenda(m_state.home(), settings, m_state.reportDate, kAgendaWindowDays);
        forEachAgendaTextLine(entries, settings.BaseF, add);
    } catch (const TableFileError& error) {
        add(error.what(), settings.BaseF);
    }
    m_list->moveCursor(QTextCursor::Start);
}

} // namespace tira
