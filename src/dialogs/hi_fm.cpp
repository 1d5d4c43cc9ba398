#include "dialogs/hi_fm.h"

#include "calendar/tira0.h"
#include "dialogs/qt_helpers.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <charconv>

namespace tira {

std::string dateInputError(int year, int month, int day)
{
    std::string error;
    const bool monthValid = month >= 1 && month <= 12;
    if (!monthValid) error += "月";
    // Without a month there is no month length: any day 1..31 passes.
    const int length = monthValid ? daysInMonth(year, month) : 31;
    if (day > length || day < 1) error += "日";
    if (year < 1 || year > 65535) error += "年";
    if (error.empty()) return error;
    return error + " 入力エラー";
}

std::optional<int> dateFieldNumber(const QString& text)
{
    const std::string digits = text.trimmed().toStdString();
    const char* first = digits.data();
    const char* last = first + digits.size();
    if (first != last && *first == '+') ++first; // from_chars takes '-' only
    int value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (first == last || error != std::errc() || end != last) return std::nullopt;
    return value;
}

THiF::THiF(MainState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_edit1(new QLineEdit(this)), m_edit2(new QLineEdit(this)),
      m_edit3(new QLineEdit(this))
{
    setObjectName(QStringLiteral("HiF"));
    setWindowTitle(QStringLiteral("日付の指定"));
    setFont(dialogFont());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(238, 100);

    const struct
    {
        QLineEdit* edit;
        const char* name;
        const char* unit;
        int left;
        int width;
    } fields[] = {{m_edit1, "Edit1", "年", 8, 64},
                  {m_edit2, "Edit2", "月", 96, 40},
                  {m_edit3, "Edit3", "日", 160, 40}};
    for (const auto& field : fields) {
        field.edit->setObjectName(QString::fromLatin1(field.name));
        field.edit->setGeometry(field.left, 12, field.width, 24);
        auto* unit = new QLabel(QString::fromUtf8(field.unit), this);
        unit->setGeometry(field.left + field.width + 4, 12, 20, 24);
    }

    auto* note = new QLabel(QStringLiteral("これはデバッグ用です"), this);
    note->setObjectName(QStringLiteral("Label4"));
    note->setGeometry(8, 44, 140, 20);
    QPalette palette = note->palette();
    palette.setColor(QPalette::WindowText, toQColor(0x000080)); // maroon
    note->setPalette(palette);

    auto* button1 = new QPushButton(QStringLiteral("Ok"), this);
    button1->setObjectName(QStringLiteral("Button1"));
    button1->setGeometry(150, 66, 80, 26);
    button1->setDefault(true);
    connect(button1, &QPushButton::clicked, this, &THiF::Button1Click);

    FormCreate();
}

void THiF::FormCreate()
{
    const Date date = m_state.reportDate;
    m_edit1->setText(QString::number(date.year));
    m_edit2->setText(QString::number(date.month));
    m_edit3->setText(QString::number(date.day));
}

void THiF::Button1Click()
{
    int numbers[3] = {0, 0, 0};
    QLineEdit* const edits[3] = {m_edit1, m_edit2, m_edit3};
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
    m_state.reportDate =
        Date{static_cast<std::uint16_t>(numbers[0]), static_cast<std::uint16_t>(numbers[1]),
             static_cast<std::uint16_t>(numbers[2])};
    accept();
}

} // namespace tira
