#include "dialogs/hi_fm.h"

#include "calendar/date_check.h"
#include "calendar/tira0.h"
#include "dialogs/dialog_widgets.h"
#include "dialogs/qt_helpers.h"
#include "tables/decimal.h"
#include "ui_hi_fm.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace tira {

std::string dateInputError(int year, int month, int day)
{
    std::string error;
    const DateCheck check = checkDate(year, month, day);
    if (!check.monthOk) error += "月";
    if (!check.dayOk) error += "日";
    if (!check.yearOk) error += "年";
    if (error.empty()) return error;
    return error + " 入力エラー";
}

std::optional<int> dateFieldNumber(const QString& text)
{
    return parseNumber(text.trimmed().toStdString());
}

THiF::~THiF() = default;

THiF::THiF(Date& date, QWidget* parent)
    : QDialog(parent), m_date(date), m_ui(std::make_unique<Ui::THiF>())
{
    setFont(dialogFont());
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // Room for a five-digit year and two-digit month and day at any font.
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    m_ui->Edit1->setFixedWidth(std::max(64, 6 * digit + 12));
    m_ui->Edit2->setFixedWidth(std::max(40, 3 * digit + 12));
    m_ui->Edit3->setFixedWidth(std::max(40, 3 * digit + 12));
    setEmphasisColour(*m_ui->Label4, toQColor(0x000080)); // maroon
    connect(m_ui->Button1, &QPushButton::clicked, this, &THiF::Button1Click);
    fitToContents(*this, QSize(238, 100));

    FormCreate();
}

void THiF::FormCreate()
{
    const Date date = m_date;
    m_ui->Edit1->setText(QString::number(date.year));
    m_ui->Edit2->setText(QString::number(date.month));
    m_ui->Edit3->setText(QString::number(date.day));
}

void THiF::Button1Click()
{
    int numbers[3] = {0, 0, 0};
    QLineEdit* const edits[3] = {m_ui->Edit1, m_ui->Edit2, m_ui->Edit3};
    for (int i = 0; i < 3; ++i) {
        const auto number = dateFieldNumber(edits[i]->text());
        if (!number) {
            showPlainMessage(this,
                             QStringLiteral("'%1' は整数ではありません").arg(edits[i]->text()));
            edits[i]->setFocus();
            return;
        }
        numbers[i] = *number;
    }
    const std::string error = dateInputError(numbers[0], numbers[1], numbers[2]);
    if (!error.empty()) {
        showPlainMessage(this, QString::fromStdString(error));
        return;
    }
    m_date = Date{static_cast<std::uint16_t>(numbers[0]), static_cast<std::uint16_t>(numbers[1]),
                  static_cast<std::uint16_t>(numbers[2])};
    accept();
}

} // namespace tira
