#include "dialog_test_support.h"
#include "dialogs/hi_fm.h"
#include "report/clock.h"
#include "report/main_state.h"
#include "support/qt_support.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace tira;
using tira::test::answerNextNotice;

namespace {

// The report operations are never called here; the dialog reads and writes the date only.
class NullPane : public ReportPane, public ReportWindow
{
  public:
    void clear() override {}
    void resetAttributes() override {}
    void setDefaultColour(WinColour) override {}
    void setColour(WinColour) override {}
    void appendLine(std::string_view) override {}
    void repaint() override {}
    void setBackground(WinColour) override {}
    WinColour background() const override { return 0; }
    void setPaneBackground(WinColour) override {}
    void playSound(const std::string&) override {}
};

} // namespace

class HiFmTest : public QObject
{
    Q_OBJECT

  private:
    NullPane m_pane;
    FixedClock m_clock{ClockReading{}};
    MainState m_state{"", m_pane, m_pane, m_clock};

    static void type(THiF& dialog, const QString& year, const QString& month, const QString& day)
    {
        dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(year);
        dialog.findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(month);
        dialog.findChild<QLineEdit*>(QStringLiteral("Edit3"))->setText(day);
    }

  private slots:
    void init() { m_state.reportDate = Date{2024, 5, 9}; }

    void errorTextNamesTheWrongParts_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<QString>("error");
        QTest::newRow("2000-02-29, multiple of 400") << 2000 << 2 << 29 << "";
        QTest::newRow("2004-02-29") << 2004 << 2 << 29 << "";
        QTest::newRow("1900-02-29, multiple of 100") << 1900 << 2 << 29 << "日 入力エラー";
        QTest::newRow("2001-02-29") << 2001 << 2 << 29 << "日 入力エラー";
        QTest::newRow("2024-04-31") << 2024 << 4 << 31 << "日 入力エラー";
        QTest::newRow("2024-04-00") << 2024 << 4 << 0 << "日 入力エラー";
        QTest::newRow("2024-12-31") << 2024 << 12 << 31 << "";
        QTest::newRow("year 0") << 0 << 1 << 1 << "年 入力エラー";
        QTest::newRow("year 0, February 30") << 0 << 2 << 30 << "日年 入力エラー";
        QTest::newRow("month 13") << 2024 << 13 << 1 << "月 入力エラー";
        QTest::newRow("month 0, day 32") << 2024 << 0 << 32 << "月日 入力エラー";
        QTest::newRow("month 0, day 31") << 2024 << 0 << 31 << "月 入力エラー";
        QTest::newRow("all wrong") << -1 << -1 << -1 << "月日年 入力エラー";
        QTest::newRow("year 65535") << 65535 << 12 << 31 << "";
        QTest::newRow("year 65536 does not fit") << 65536 << 1 << 1 << "年 入力エラー";
    }

    void errorTextNamesTheWrongParts()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(QString, error);
        QCOMPARE(QString::fromStdString(dateInputError(year, month, day)), error);
    }

    void fieldNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "2024" << true << 2024;
        QTest::newRow("blanks around") << " 12 " << true << 12;
        QTest::newRow("plus sign") << "+5" << true << 5;
        QTest::newRow("minus sign") << "-3" << true << -3;
        QTest::newRow("leading zeros") << "007" << true << 7;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("letters") << "abc" << false << 0;
        QTest::newRow("fraction") << "1.5" << false << 0;
        QTest::newRow("trailing letter") << "12a" << false << 0;
        QTest::newRow("blank inside") << "1 2" << false << 0;
        QTest::newRow("too large") << "99999999999" << false << 0;
        QTest::newRow("sign alone") << "+" << false << 0;
    }

    void fieldNumbers()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, value);
        const auto number = dateFieldNumber(text);
        QCOMPARE(number.has_value(), valid);
        if (valid) QCOMPARE(*number, value);
    }

    void showsTheReportDate()
    {
        m_state.reportDate = Date{1999, 12, 31};
        THiF dialog(m_state.reportDate, nullptr);
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"))->text(), "1999");
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("Edit2"))->text(), "12");
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("Edit3"))->text(), "31");
        QCOMPARE(dialog.size(), QSize(238, 100));
    }

    void growsWithALargerFont()
    {
        tira::test::expectNothingCutAtLargerFont<THiF>(QSize(238, 100), m_state.reportDate);
    }

    void validDateIsStoredAndCloses()
    {
        THiF dialog(m_state.reportDate, nullptr);
        dialog.show();
        type(dialog, "2000", "2", "29");
        dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QVERIFY(m_state.reportDate == (Date{2000, 2, 29}));
    }

    void wrongDateShowsNoticeAndStays_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("notice");
        QTest::newRow("2001-02-29") << "2001"
                                    << "2"
                                    << "29"
                                    << "日 入力エラー";
        QTest::newRow("0-02-30") << "0"
                                 << "2"
                                 << "30"
                                 << "日年 入力エラー";
        QTest::newRow("month letters") << "2024"
                                       << "May"
                                       << "9"
                                       << "'May' は整数ではありません";
        QTest::newRow("empty day") << "2024"
                                   << "5"
                                   << ""
                                   << "'' は整数ではありません";
        QTest::newRow("fraction year") << "2024.5"
                                       << "5"
                                       << "9"
                                       << "'2024.5' は整数ではありません";
    }

    void wrongDateShowsNoticeAndStays()
    {
        QFETCH(QString, year);
        QFETCH(QString, month);
        QFETCH(QString, day);
        QFETCH(QString, notice);
        THiF dialog(m_state.reportDate, nullptr);
        dialog.show();
        type(dialog, year, month, day);
        auto shown = answerNextNotice();
        dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        QVERIFY(shown->shown);
        QCOMPARE(shown->text, notice);
        QCOMPARE(shown->title, QStringLiteral("TIRA  Version 0.1.0"));
        QCOMPARE(shown->icon, QMessageBox::NoIcon);
        QCOMPARE(shown->buttons, 1);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"))->text(), year);
        QVERIFY(m_state.reportDate == (Date{2024, 5, 9}));
    }
};

QTEST_MAIN(HiFmTest)
#include "hi_fm_test.moc"
