#pragma once

#include "report/main_state.h"

#include <QDialog>

class QTextEdit;

namespace tira {

// 今後の予定: the entries of the next kAgendaWindowDays days from the report date, in the
// agenda's text form, in the report's font and colours. Not modal; Esc closes it.
class TAgendaF : public QDialog
{
    Q_OBJECT

  public:
    static constexpr int kAgendaWindowDays = 30;

    TAgendaF(const MainState& state, QWidget* parent);

    // Builds the list again from the state's settings and report date.
    void refresh();
    QTextEdit& list() noexcept { return *m_list; }

  private:
    const MainState& m_state;
    QTextEdit* m_list;
};

} // namespace tira
