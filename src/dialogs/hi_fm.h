#pragma once

#include "calendar/tira0.h"

#include <QDialog>
#include <memory>
#include <optional>
#include <string>

namespace Ui {
class THiF;
}

namespace tira {

// The error text for a typed date: empty when valid, else the wrong parts in the order
// month, day, year ("月", "日", "年") followed by " 入力エラー". Years above 65535 do not
// fit the report date and count as wrong years.
std::string dateInputError(int year, int month, int day);

// The whole number in a date field (blanks around it allowed), or nothing.
std::optional<int> dateFieldNumber(const QString& text);

// 日付の指定: the date override dialog. Shows the report date `date`; "Ok" stores a valid
// date there and closes, anything else keeps the dialog open with a notice.
class THiF : public QDialog
{
    Q_OBJECT

  public:
    THiF(Date& date, QWidget* parent);
    ~THiF() override;
    THiF(const THiF&) = delete;
    THiF& operator=(const THiF&) = delete;
    THiF(THiF&&) = delete;
    THiF& operator=(THiF&&) = delete;

  public slots: // NOLINT(readability-redundant-access-specifiers): moc reads the slots
    void Button1Click();

  private:
    void FormCreate();

    Date& m_date;
    std::unique_ptr<Ui::THiF> m_ui; // Edit1 year, Edit2 month, Edit3 day
};

} // namespace tira
