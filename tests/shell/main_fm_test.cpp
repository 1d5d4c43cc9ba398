#include "dialogs/about_fm.h"
#include "dialogs/agenda_fm.h"
#include "dialogs/fset_fm.h"
#include "dialogs/hi_fm.h"
#include "dialogs/qt_helpers.h"
#include "dialogs/set_fm.h"
#include "dialogs/standard_dialogs.h"
#include "shell/main_fm.h"
#include "support/qt_support.h"
#include "text/cp932.h"

#include <QAction>
#include <QCheckBox>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <memory>

using namespace tira;
using tira::test::answerNextModal;
using tira::test::answerNextNotice;
using tira::test::readFile;
using tira::test::writeTextFile;

// Records the URLs the program asks the desktop to open.
class UrlRecorder : public QObject
{
    Q_OBJECT

  public:
    QList<QUrl> urls;

  public slots:
    void open(const QUrl& url) { urls.append(url); }
};

// Counts the times a widget is hidden.
class HideCounter : public QObject
{
  public:
    int count = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide) ++count;
        return QObject::eventFilter(watched, event);
    }
};

class MainFmTest : public QObject
{
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> m_home;
    FixedClock m_clock{ClockReading{2024, 5, 9, 8, 5}};

    QString ini() const { return m_home->filePath(QStringLiteral("TIRA.ini")); }

    // A main window over the test home, its timer stopped: the test drives the ticks.
    std::unique_ptr<TMainF> open()
    {
        auto window = std::make_unique<TMainF>(m_home->path(), m_clock);
        window->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
        return window;
    }

    static QString line(TMainF& window, int number)
    {
        auto* info = window.findChild<QTextEdit*>(QStringLiteral("Info"));
        return info->document()->findBlockByNumber(number).text();
    }

    static QColor lineColour(TMainF& window, int number)
    {
        auto* info = window.findChild<QTextEdit*>(QStringLiteral("Info"));
        const QTextBlock block = info->document()->findBlockByNumber(number);
        return block.begin().fragment().charFormat().foreground().color();
    }

    static void tick(TMainF& window, int times)
    {
        for (int i = 0; i < times; ++i)
            window.Timer1Timer();
    }

    static QString counting(int count)
    {
        return QStringLiteral("TIRA  Version 0.1.0  (%1)").arg(count);
    }

  private slots:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        QVERIFY(m_home->isValid());
        m_clock.set(ClockReading{2024, 5, 9, 8, 5});
    }

    void menuTreeHasItsCaptions()
    {
        auto window = open();
        const struct
        {
            const char* menu;
            const char* caption;
            QStringList items; // object name = caption | shortcut
        } menus[] = {
            {"File1",
             "ﾌｧｲﾙ(&F)",
             {QStringLiteral("R2=再表示(&R)|F5"), QStringLiteral("D1=日付を指定して再表示(&D)|"),
              QStringLiteral("U1=今後の予定(&U)…|Ctrl+U"), QStringLiteral("N1=|"),
              QStringLiteral("Exit1=終了(&X)|Ctrl+Q")}},
            {"Option1",
             "ｵﾌﾟｼｮﾝ(&O)",
             {QStringLiteral("S1=各種設定(&S)|"), QStringLiteral("F1=ﾌｧｲﾙの設定(&F)|")}},
            {"Help1",
             "ﾍﾙﾌﾟ(&H)",
             {QStringLiteral("Contents1=目次(&C)|"), QStringLiteral("About1=ﾊﾞｰｼﾞｮﾝ情報(&A)|")}},
        };
        const QList<QAction*> bar = window->menuBar()->actions();
        QCOMPARE(bar.size(), 3);
        for (qsizetype m = 0; m < 3; ++m) {
            QMenu* menu = bar[m]->menu();
            QVERIFY(menu);
            QCOMPARE(menu->objectName(), QString::fromLatin1(menus[m].menu));
            QCOMPARE(menu->title(), QString::fromUtf8(menus[m].caption));
            QStringList items;
            for (QAction* action : menu->actions())
                items.append(action->objectName() + QLatin1Char('=') + action->text() +
                             QLatin1Char('|') +
                             action->shortcut().toString(QKeySequence::PortableText));
            QCOMPARE(items, menus[m].items);
        }
        QVERIFY(!window->findChild<QAction*>(QStringLiteral("D1"))->isVisible());
        QVERIFY(!window->findChild<QTextEdit*>(QStringLiteral("Info"))->accessibleName().isEmpty());
        QCOMPARE(window->windowTitle(), QStringLiteral("TIRA  Version 0.1.0"));
    }

    void captionCountsDownThenClosesAndSaves()
    {
        QVERIFY(writeTextFile(ini(), QStringLiteral("[Common]\nAutoEnd=30\n")));
        auto window = open();
        QCOMPARE(window->windowTitle(), QStringLiteral("TIRA  Version 0.1.0"));
        for (int count = 29; count >= 0; --count) {
            tick(*window, 1);
            QCOMPARE(window->windowTitle(), counting(count));
        }
        QVERIFY(window->isVisible());
        QFile::remove(ini());
        tick(*window, 1);
        QVERIFY(!window->isVisible());
        const QByteArray saved = readFile(ini());
        QVERIFY2(saved.contains("AutoEnd=30"), saved.constData());
        QVERIFY(saved.contains("[Place]"));
    }

    void heldCountdownShowsNoCount_data()
    {
        QTest::addColumn<QString>("autoEnd");
        QTest::addColumn<QString>("caption"); // after three ticks
        QTest::newRow("0: no automatic exit") << "0"
                                              << "TIRA  Version 0.1.0";
        QTest::newRow("negative") << "-5"
                                  << "TIRA  Version 0.1.0";
        QTest::newRow("601 set by hand") << "601"
                                         << "TIRA  Version 0.1.0";
        QTest::newRow("600 still counts") << "600"
                                          << "TIRA  Version 0.1.0  (597)";
        QTest::newRow("hexadecimal 30") << "0x1E"
                                        << "TIRA  Version 0.1.0  (27)";
    }

    void heldCountdownShowsNoCount()
    {
        QFETCH(QString, autoEnd);
        QFETCH(QString, caption);
        QVERIFY(writeTextFile(ini(), QStringLiteral("[Common]\nAutoEnd=") + autoEnd + "\n"));
        auto window = open();
        tick(*window, 3);
        QCOMPARE(window->windowTitle(), caption);
        tick(*window, 700);
        QVERIFY(window->isVisible() == caption.endsWith(QLatin1String("0.1.0")));
    }

    // A birthday table in the test home, listed in TIRA.ini with `common` and `colours`.
    void writeBirthdays(const QString& common, const QString& lines, const QString& colours = {})
    {
        const QString table = m_home->filePath(QStringLiteral("BIRTH.TBL"));
        QFile file(table);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const std::string bytes = utf8ToCp932(lines.toStdString());
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        file.close();
        QVERIFY(writeTextFile(ini(), QStringLiteral("[Common]\n") + common +
                                         QStringLiteral("[Color]\nBaseB=0\nStopB=255\n"
                                                        "ZengoB=65535\n") +
                                         colours + QStringLiteral("[Birthday]\nCount=1\nFile0=") +
                                         table + QStringLiteral("\n")));
    }

    void stopEntriesHoldTheWindow_data()
    {
        QTest::addColumn<QString>("common");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("caption"); // after five ticks
        QTest::addColumn<WinColour>("frame");
        QTest::addColumn<int>("alerts"); // requests for the desktop's attention
        const QString today = QStringLiteral("1990/5/9 x 山田_太郎 友人 S\r\n");
        const QString ahead = QStringLiteral("+3 1990/5/12 x 山田_太郎 友人 S\r\n");
        QTest::newRow("on its day, StopEnd")
            << "AutoEnd=30\nSotowaku=1\nStopEnd=1\n"
            << today << "TIRA  Version 0.1.0" << WinColour{255} << 1;
        QTest::newRow("on its day, StopEnd off")
            << "AutoEnd=30\nSotowaku=1\nStopEnd=0\nZengEnd=1\n"
            << today << "TIRA  Version 0.1.0  (25)" << WinColour{255} << 1;
        QTest::newRow("ahead, ZengEnd") << "AutoEnd=30\nSotowaku=1\nZengEnd=1\n"
                                        << ahead << "TIRA  Version 0.1.0" << WinColour{65535} << 0;
        QTest::newRow("ahead, Sotowaku off")
            << "AutoEnd=30\nSotowaku=0\nZengEnd=1\nStopEnd=1\n"
            << ahead << "TIRA  Version 0.1.0  (25)" << WinColour{0} << 0;
        QTest::newRow("day first, then ahead")
            << "AutoEnd=30\nSotowaku=1\nZengEnd=1\n"
            << today + ahead << "TIRA  Version 0.1.0  (25)" << WinColour{255} << 1;
    }

    void stopEntriesHoldTheWindow()
    {
        QFETCH(QString, common);
        QFETCH(QString, entry);
        QFETCH(QString, caption);
        QFETCH(WinColour, frame);
        QFETCH(int, alerts);
        writeBirthdays(common, entry);
        auto window = open();
        auto* info = window->findChild<QTextEdit*>(QStringLiteral("Info"));
        QVERIFY2(info->toPlainText().contains(QStringLiteral("山田 太郎 さん")),
                 qPrintable(info->toPlainText()));
        tick(*window, 5);
        QCOMPARE(window->windowTitle(), caption);
        QCOMPARE(window->background(), frame);
        QCOMPARE(
            window->findChild<QWidget*>(QStringLiteral("Frame"))->palette().color(QPalette::Window),
            toQColor(frame));
        QCOMPARE(window->attentionRequests(), alerts);
        window->R2Click(); // every report of the day asks again
        QCOMPARE(window->attentionRequests(), 2 * alerts);
    }

    // Keys as a user presses them, through the window system: the reading keys reach the
    // pane as soon as the window shows, F5 rebuilds, Ctrl+Q closes and saves.
    void keysScrollRebuildAndQuit()
    {
        QString lines;
        for (int i = 0; i < 200; ++i)
            lines += QStringLiteral("1990/5/9 x 人%1\r\n").arg(i);
        writeBirthdays(QStringLiteral("AutoEnd=30\n"), lines);
        auto window = open();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto* info = window->findChild<QTextEdit*>(QStringLiteral("Info"));
        QCOMPARE(QApplication::focusWidget(), info);
        QVERIFY(info->focusPolicy() != Qt::TabFocus && info->focusPolicy() != Qt::StrongFocus);
        const QScrollBar* bar = info->verticalScrollBar();
        QVERIFY(bar->maximum() > 2 * bar->pageStep());
        const int page = bar->pageStep();
        const int max = bar->maximum();
        const int step = bar->singleStep();
        const struct
        {
            Qt::Key key;
            int value; // of the scroll bar afterwards
        } presses[] = {{Qt::Key_PageDown, page}, {Qt::Key_PageDown, 2 * page},
                       {Qt::Key_PageUp, page},   {Qt::Key_Down, page + step},
                       {Qt::Key_Up, page},       {Qt::Key_End, max},
                       {Qt::Key_Home, 0}};
        QWindow* handle = window->windowHandle();
        for (const auto& press : presses) {
            QTest::keyClick(handle, press.key);
            QCOMPARE(bar->value(), press.value);
        }
        // focus lost to the frame: the window hands the keys to the pane all the same
        info->clearFocus();
        QTest::keyClick(handle, Qt::Key_PageDown);
        QCOMPARE(bar->value(), page);

        tick(*window, 5);
        m_clock.set(ClockReading{2024, 5, 9, 8, 7});
        QTest::keyClick(handle, Qt::Key_F5);
        QCOMPARE(line(*window, 1), QStringLiteral("ただいまの時刻は 8時07分 です。"));
        tick(*window, 1);
        QCOMPARE(window->windowTitle(), counting(29)); // a new report restarts the count

        window->state().settings.AutoEnd = 45;
        QTest::keyClick(handle, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!window->isVisible());
        QVERIFY2(readFile(ini()).contains("AutoEnd=45"), readFile(ini()).constData());
    }

    void reportErrorIsShownAndTheWindowStays()
    {
        const QString folder = m_home->filePath(QStringLiteral("BIRTH.TBL"));
        QVERIFY(QDir().mkpath(folder)); // a table file that cannot be read
        QVERIFY(writeTextFile(ini(), QStringLiteral("[Birthday]\nCount=1\nFile0=") + folder +
                                         QStringLiteral("\n")));
        auto notice = answerNextNotice();
        auto window = open();
        QTRY_VERIFY(notice->shown);
        QVERIFY2(notice->text.contains(folder), qPrintable(notice->text));
        QCOMPARE(notice->title, QStringLiteral("TIRA  Version 0.1.0"));
        QCOMPARE(notice->icon, QMessageBox::NoIcon);
        QVERIFY(window->isVisible());
        QCOMPARE(line(*window, 0), QStringLiteral("今日は 2024年5月9日(木) です。"));

        auto again = answerNextNotice();
        window->R2Click();
        QVERIFY(again->shown);
        tick(*window, 1);
        QVERIFY(window->isVisible());
        QCOMPARE(window->state().countdownEnabled, std::uint8_t{1});
    }

    void aboutBoxFreezesTheCountdown()
    {
        QVERIFY(writeTextFile(ini(), QStringLiteral("[Common]\nAutoEnd=30\n")));
        auto window = open();
        tick(*window, 18);
        QCOMPARE(window->windowTitle(), counting(12));
        auto seen = std::make_shared<bool>(false);
        TMainF* main = window.get();
        answerNextModal<TAboutBox>(
            [main](TAboutBox* box) {
                QCOMPARE(main->state().countdownEnabled, std::uint8_t{0});
                tick(*main, 20);
                QCOMPARE(main->windowTitle(), counting(12));
                QCOMPARE(box->windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
                QCOMPARE(box->size(), QSize(261, 206));
                QCOMPARE(box->findChild<QLabel*>(QStringLiteral("ProductNameValue"))->text(),
                         QStringLiteral("TIRA"));
                QCOMPARE(box->findChild<QLabel*>(QStringLiteral("VersionValue"))->text(),
                         QStringLiteral("0.1.0"));
                box->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
            },
            seen);
        window->About1Click();
        QVERIFY(*seen);
        QCOMPARE(window->state().countdownEnabled, std::uint8_t{1});
        QVERIFY(window->findChild<TAboutBox*>() == nullptr); // released
        tick(*window, 1);
        QCOMPARE(window->windowTitle(), counting(11));
    }

    void agendaWindowListsTheMonthAheadAndHoldsTheCountdown()
    {
        QVERIFY(writeTextFile(ini(),
                              QStringLiteral("[Common]\nAutoEnd=30\nYuusen=0\n[Color]\nBackF=255\n"
                                             "[Week]\nCount=1\nFile0=.\\W.TBL\n")));
        QVERIFY(writeTextFile(m_home->filePath(QStringLiteral("W.TBL")),
                              QStringLiteral("6/6 6/9 梅雨 red\n")));
        auto window = open();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_U, Qt::ControlModifier);
        auto* agenda = window->findChild<TAgendaF*>();
        QVERIFY(agenda && agenda->isVisible() && !agenda->isModal());
        QCOMPARE(window->state().countdownEnabled, std::uint8_t{0});
        tick(*window, 5);
        QCOMPARE(window->windowTitle(), counting(30));
        // 2024-05-09 and 29 days on: the period up to 7 June
        QCOMPARE(
            agenda->list().toPlainText(),
            QStringLiteral("2024年6月6日(木)\n  梅雨です。\n\n2024年6月7日(金)\n  梅雨です。"));
        const QTextBlock entry = agenda->list().document()->findBlockByNumber(1);
        QCOMPARE(entry.begin().fragment().charFormat().foreground().color(), QColor(Qt::red));
        QCOMPARE(agenda->list().palette().color(QPalette::Base), QColor(Qt::red));
        QCOMPARE(agenda->list().font().pointSize(), 10);
        QTest::keyClick(agenda, Qt::Key_Escape);
        QVERIFY(QTest::qWaitFor([&] { return window->findChild<TAgendaF*>() == nullptr; }));
        QCOMPARE(window->state().countdownEnabled, std::uint8_t{1});
        tick(*window, 1);
        QCOMPARE(window->windowTitle(), counting(29));
    }

    void expiredCountdownWaitsForAnOpenDialog()
    {
        QVERIFY(writeTextFile(ini(), QStringLiteral("[Common]\nAutoEnd=2\n")));
        auto window = open();
        tick(*window, 2);
        QCOMPARE(window->windowTitle(), counting(0));
        TMainF* main = window.get();
        answerNextModal<TAboutBox>([main](TAboutBox* box) {
            tick(*main, 3);
            QVERIFY(main->isVisible());
            box->accept();
        });
        window->About1Click();
        QVERIFY(window->isVisible());
        tick(*window, 1);
        QVERIFY(!window->isVisible());
    }

    void dateDialogRebuildsTheReport()
    {
        QVERIFY(writeTextFile(ini(), QStringLiteral("[Common]\nAutoEnd=30\n")));
        auto window = open();
        QCOMPARE(line(*window, 0), QStringLiteral("今日は 2024年5月9日(木) です。"));
        tick(*window, 10);
        answerNextModal<THiF>([](THiF* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("日付の指定"));
            auto field = [dialog](const char* name) {
                return dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
            };
            QCOMPARE(field("Edit1")->text(), QStringLiteral("2024"));
            QCOMPARE(field("Edit2")->text(), QStringLiteral("5"));
            QCOMPARE(field("Edit3")->text(), QStringLiteral("9"));
            field("Edit1")->setText(QStringLiteral("1999"));
            field("Edit2")->setText(QStringLiteral("12"));
            field("Edit3")->setText(QStringLiteral("31"));
            dialog->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        });
        window->D1Click();
        QCOMPARE(line(*window, 0), QStringLiteral("今日は 1999年12月31日(金) です。"));
        tick(*window, 1);
        QCOMPARE(window->windowTitle(), counting(29)); // the new report restarted the count

        // The close box keeps the date, yet the report is built again (the time moved on).
        m_clock.set(ClockReading{2024, 5, 9, 9, 41});
        answerNextModal<THiF>([](THiF* dialog) {
            QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("Edit1"))->text(),
                     QStringLiteral("1999"));
            dialog->reject();
        });
        window->D1Click();
        QCOMPARE(line(*window, 0), QStringLiteral("今日は 1999年12月31日(金) です。"));
        QCOMPARE(line(*window, 1), QStringLiteral("ただいまの時刻は 9時41分 です。"));

        window->R2Click(); // the clock's date again
        QCOMPARE(line(*window, 0), QStringLiteral("今日は 2024年5月9日(木) です。"));
    }

    // A window held open overnight shows the new day as 再表示 would, stop effects included;
    // a date chosen in the date dialog stays.
    void newDayRebuildsTheReport_data()
    {
        QTest::addColumn<bool>("byHand");
        QTest::addColumn<QString>("firstLine"); // after midnight
        QTest::addColumn<QString>("caption");
        QTest::addColumn<WinColour>("frame");
        QTest::newRow("clock's date") << false << QStringLiteral("今日は 2024年12月9日(月) です。")
                                      << "TIRA  Version 0.1.0" << WinColour{255};
        QTest::newRow("date set by hand")
            << true << QStringLiteral("今日は 2024年12月8日(日) です。")
            << "TIRA  Version 0.1.0  (27)" << WinColour{65535};
    }

    void newDayRebuildsTheReport()
    {
        QFETCH(bool, byHand);
        QFETCH(QString, firstLine);
        QFETCH(QString, caption);
        QFETCH(WinColour, frame);
        writeBirthdays(QStringLiteral("AutoEnd=30\nSotowaku=1\nStopEnd=1\nZengEnd=0\n"),
                       QStringLiteral("+1 1990/12/9 x 山田_太郎 友人 S\r\n"));
        m_clock.set(ClockReading{2024, 12, 8, 23, 59});
        auto window = open();
        if (byHand) {
            answerNextModal<THiF>([](THiF* dialog) {
                dialog->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
            });
            window->D1Click();
        }
        tick(*window, 2);
        QCOMPARE(window->windowTitle(), counting(28));
        m_clock.set(ClockReading{2024, 12, 9, 0, 0});
        tick(*window, 1);
        QCOMPARE(line(*window, 0), firstLine);
        QCOMPARE(window->windowTitle(), caption);
        QCOMPARE(window->background(), frame);
        QCOMPARE(window->attentionRequests(), byHand ? 0 : 1);
    }

    void shiftRightClickOnTheFrameRevealsD1_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("onPane");
        QTest::addColumn<bool>("revealed");
        QTest::newRow("shift + right on the frame")
            << int(Qt::RightButton) << int(Qt::ShiftModifier) << false << true;
        QTest::newRow("shift + ctrl + right on the frame")
            << int(Qt::RightButton) << int(Qt::ShiftModifier | Qt::ControlModifier) << false
            << true;
        QTest::newRow("right alone")
            << int(Qt::RightButton) << int(Qt::NoModifier) << false << false;
        QTest::newRow("shift + left")
            << int(Qt::LeftButton) << int(Qt::ShiftModifier) << false << false;
        QTest::newRow("ctrl + right")
            << int(Qt::RightButton) << int(Qt::ControlModifier) << false << false;
        QTest::newRow("shift + right on the pane")
            << int(Qt::RightButton) << int(Qt::ShiftModifier) << true << false;
    }

    void shiftRightClickOnTheFrameRevealsD1()
    {
        QFETCH(int, button);
        QFETCH(int, modifiers);
        QFETCH(bool, onPane);
        QFETCH(bool, revealed);
        auto window = open();
        auto* d1 = window->findChild<QAction*>(QStringLiteral("D1"));
        QWidget* target = onPane ? window->findChild<QTextEdit*>(QStringLiteral("Info"))->viewport()
                                 : window->findChild<QWidget*>(QStringLiteral("Frame"));
        const QPoint at = onPane ? QPoint(20, 20) : QPoint(3, 3);
        QTest::mouseClick(target, Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers), at);
        QCOMPARE(d1->isVisible(), revealed);
        window->R2Click();
        QTest::mouseClick(window->findChild<QWidget*>(QStringLiteral("Frame")), Qt::LeftButton,
                          Qt::NoModifier, QPoint(3, 3));
        QCOMPARE(d1->isVisible(), revealed); // nothing hides it again
    }

    void paneGeometryRoundsHalvesToEven_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QRect>("pane");
        QTest::newRow("400 x 400") << QSize(400, 400) << QRect(12, 12, 376, 376);
        // 50 × 3 % = 1.5 → 2, 150 × 3 % = 4.5 → 4
        QTest::newRow("halves in the margin") << QSize(50, 150) << QRect(2, 4, 47, 141);
        // 25 × 94 % = 23.5 → 24, 75 × 94 % = 70.5 → 70
        QTest::newRow("halves in the size") << QSize(25, 75) << QRect(1, 2, 24, 70);
        QTest::newRow("empty") << QSize(0, 0) << QRect(0, 0, 0, 0);
    }

    void paneGeometryRoundsHalvesToEven()
    {
        QFETCH(QSize, client);
        QFETCH(QRect, pane);
        QCOMPARE(TMainF::paneGeometry(client), pane);
    }

    void resizingPlacesThePane()
    {
        auto window = open();
        auto* frame = window->findChild<QWidget*>(QStringLiteral("Frame"));
        window->resize(400, 400 + (window->height() - frame->height()));
        QCoreApplication::processEvents();
        QCOMPARE(frame->size(), QSize(400, 400));
        QCOMPARE(window->findChild<QTextEdit*>(QStringLiteral("Info"))->geometry(),
                 QRect(12, 12, 376, 376));
    }

    void helpHoldsTheWindowAndSwitchesAutoEndOff()
    {
        QVERIFY(writeTextFile(ini(), QStringLiteral("[Common]\nAutoEnd=30\n")));
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
        auto window = open();
        tick(*window, 3);
        QCOMPARE(window->windowTitle(), counting(27));
        window->Contents1Click();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(recorder.urls.size(), 1);
        QCOMPARE(recorder.urls.first().toLocalFile(), TMainF::helpPath());
        QVERIFY(TMainF::helpPath().endsWith(QLatin1String("/help/index.html")));
        QCOMPARE(window->state().countdownEnabled, std::uint8_t{1}); // no dialog, no pause
        tick(*window, 1);
        QCOMPARE(window->windowTitle(), QStringLiteral("TIRA  Version 0.1.0"));
        tick(*window, 100);
        QVERIFY(window->isVisible());
        window->Exit1Click();
        QVERIFY(!window->isVisible());
        const QByteArray saved = readFile(ini());
        QVERIFY2(saved.contains("AutoEnd=0\r\n") || saved.contains("AutoEnd=0\n"),
                 saved.constData());
    }

    void placeIsAppliedAndSaved()
    {
        QVERIFY(writeTextFile(ini(),
                              QStringLiteral("[Place]\nLeft=30\nTop=20\nWidth=420\nHeight=410\n")));
        auto window = open();
        QCOMPARE(window->pos(), QPoint(30, 20));
        QCOMPARE(window->size(), QSize(420, 410));
        window->resize(200, 150); // stored as at least 350 × 400
        window->Exit1Click();
        const QByteArray saved = readFile(ini());
        for (const char* key : {"Left=30", "Top=20", "Width=350", "Height=400"})
            QVERIFY2(saved.contains(key), key);
    }

    void absurdPlaceStillGivesAUsableWindow_data()
    {
        QTest::addColumn<QString>("place");
        QTest::newRow("far left, very wide") << "Left=-5000\nTop=0\nWidth=100000\nHeight=400";
        QTest::newRow("far off, tiny") << "Left=900000\nTop=-900000\nWidth=0\nHeight=-7";
        QTest::newRow("not numbers") << "Left=x\nTop=y\nWidth=wide\nHeight=high";
    }

    void absurdPlaceStillGivesAUsableWindow()
    {
        QFETCH(QString, place);
        QVERIFY(writeTextFile(ini(), QStringLiteral("[Place]\n") + place + "\n"));
        auto window = open();
        const QRect available = window->screen()->availableGeometry();
        QVERIFY2(available.contains(window->frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(window->x())
                                .arg(window->y())
                                .arg(window->width())
                                .arg(window->height()) +
                            QStringLiteral(" in %1,%2 %3x%4")
                                .arg(available.x())
                                .arg(available.y())
                                .arg(available.width())
                                .arg(available.height())));
        QVERIFY(window->width() >= 120);
        QVERIFY(window->height() >= 120);
    }

    void reportUsesColoursFontAndBackgrounds()
    {
        QVERIFY(writeTextFile(ini(), QStringLiteral("[Color]\nBaseF=255\nBackF=65280\n"
                                                    "BaseB=16711680\n[Font]\nSize=12\nStyle=3\n")));
        auto window = open();
        QCOMPARE(lineColour(*window, 0), QColor(255, 0, 0));
        QCOMPARE(lineColour(*window, 1), QColor(255, 0, 0));
        auto* info = window->findChild<QTextEdit*>(QStringLiteral("Info"));
        QCOMPARE(info->palette().color(QPalette::Base), QColor(0, 255, 0));
        QCOMPARE(
            window->findChild<QWidget*>(QStringLiteral("Frame"))->palette().color(QPalette::Window),
            QColor(0, 0, 255));
        const QFont font =
            info->document()->findBlockByNumber(0).begin().fragment().charFormat().font();
        QCOMPARE(font.pixelSize(), 12 * window->logicalDpiY() / 72);
        QVERIFY(font.bold());
        QVERIFY(font.italic());
        QVERIFY(!font.underline());

        // Each appended line keeps the attributes that were current for it.
        RichTextPane& pane = window->pane();
        pane.setColour(0x00FF00);
        pane.appendLine("green");
        pane.resetAttributes();
        pane.appendLine("");
        pane.appendLine("base");
        const int last = pane.lineCount() - 1;
        QCOMPARE(line(*window, last - 2), QStringLiteral("green"));
        QCOMPARE(lineColour(*window, last - 2), QColor(0, 255, 0));
        QCOMPARE(line(*window, last - 1), QString());
        QCOMPARE(line(*window, last), QStringLiteral("base"));
        QCOMPARE(lineColour(*window, last), QColor(255, 0, 0));
    }

    // Thousands of report lines: every line in the pane, but at most one paint per paint
    // interval while the report is built and one at its end, not one per line.
    void longReportIsPaintedInBatches()
    {
        QString lines;
        for (int i = 0; i < 3000; ++i)
            lines += QStringLiteral("1990/5/9 x 人%1\r\n").arg(i);
        writeBirthdays(QString(), lines);
        QElapsedTimer timer;
        timer.start();
        auto window = open();
        const qint64 elapsed = timer.elapsed();
        RichTextPane& pane = window->pane();
        QCOMPARE(pane.lineCount(), 2 + 2 + 3000); // date and time, the heading, the entries
        auto* info = window->findChild<QTextEdit*>(QStringLiteral("Info"));
        QCOMPARE(info->document()->blockCount(), pane.lineCount());
        QCOMPARE(line(*window, pane.lineCount() - 1),
                 QStringLiteral("今日は 人2999 さんの 34 回目の誕生日です。"));
        QVERIFY(pane.paintCount() >= 1);
        QVERIFY2(
            pane.paintCount() <= elapsed / RichTextPane::kPaintInterval + 2,
            qPrintable(QStringLiteral("%1 paints in %2 ms").arg(pane.paintCount()).arg(elapsed)));
        // a second report starts a fresh document with the same lines
        window->R2Click();
        QCOMPARE(info->document()->blockCount(), pane.lineCount());
    }

    void firstReportStartsFromABlackFrame()
    {
        QVERIFY(writeTextFile(ini(), QStringLiteral("[Color]\nBaseB=65535\n")));
        auto window = open();
        QCOMPARE(window->background(), WinColour{65535});
        QCOMPARE(window->state().countdownEnabled, std::uint8_t{1});
    }

    void unplayableSoundIsIgnored_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "missing";
        QTest::newRow("folder") << "folder";
        QTest::newRow("not a wav") << "text";
    }

    void unplayableSoundIsIgnored()
    {
        QFETCH(QString, kind);
        QVERIFY(writeTextFile(ini(), QStringLiteral("[Common]\nAutoEnd=30\n")));
        auto window = open();
        QString path = m_home->filePath(QStringLiteral("alert.wav"));
        if (kind == QLatin1String("folder")) QVERIFY(QDir().mkpath(path));
        if (kind == QLatin1String("text"))
            QVERIFY(writeTextFile(path, QStringLiteral("this is no sound\n")));
        QElapsedTimer elapsed;
        elapsed.start();
        window->playSound(path.toStdString());
        QTest::qWait(300); // let a player that was started fail in its own time
        tick(*window, 1);
        QCOMPARE(window->windowTitle(), counting(29));
        QVERIFY(elapsed.elapsed() < 3000);
        if (kind != QLatin1String("text")) QVERIFY(window->sound() == nullptr);
        if (window->sound()) QVERIFY(!window->sound()->isPlaying());
    }

    void wavFileIsHandedToThePlayer()
    {
        const QString path = m_home->filePath(QStringLiteral("alert.wav"));
        // 0.1 s of silence, 8 kHz mono 8 bit
        QByteArray wav;
        auto put32 = [&wav](quint32 v) {
            for (int i = 0; i < 4; ++i)
                wav.append(char((v >> (8 * i)) & 0xFF));
        };
        auto put16 = [&wav](quint16 v) {
            wav.append(char(v & 0xFF));
            wav.append(char(v >> 8));
        };
        const quint32 samples = 800;
        wav.append("RIFF");
        put32(36 + samples);
        wav.append("WAVEfmt ");
        put32(16);
        put16(1);
        put16(1);
        put32(8000);
        put32(8000);
        put16(1);
        put16(8);
        wav.append("data");
        put32(samples);
        wav.append(QByteArray(samples, char(0x80)));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(wav);
        file.close();

        auto window = open();
        window->playSound(path.toStdString());
        QVERIFY(window->sound());
        QCOMPARE(window->sound()->source(), QUrl::fromLocalFile(path));

        // A stop entry of the day rings it at the end of the report, once per report.
        window.reset();
        writeBirthdays(QStringLiteral("Sotowaku=1\nWavOn=1\nWavFile=") + path +
                           QStringLiteral("\n"),
                       QStringLiteral("1990/5/9 x 山田_太郎 友人 S\r\n"));
        window = open();
        QVERIFY(window->sound());
        QCOMPARE(window->sound()->source(), QUrl::fromLocalFile(path));
        QCOMPARE(window->state().soundPlayed, path.toStdString());
    }

    void topMostIsKeptOnlyWithoutADialog()
    {
        QVERIFY(writeTextFile(ini(), QStringLiteral("[Common]\nTopOn=1\n")));
        auto window = open();
        // on top from the start, in the one native window the program creates
        QVERIFY(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        const WId native = window->winId();
        const QRect before = window->geometry();
        window->state().countdownEnabled = 0; // as while a dialog is open
        tick(*window, 1);
        window->state().countdownEnabled = 1;
        tick(*window, 2);
        QVERIFY(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(window->winId(), native);
        QVERIFY(window->isVisible());
        QCOMPARE(window->geometry(), before);

        // Switched off and on again in 各種設定: the window changes its layer where it stands,
        // never hidden and shown again (a flash, and under Wayland a new toplevel).
        HideCounter hides;
        window->installEventFilter(&hides);
        TMainF* main = window.get();
        for (const bool on : {false, true}) {
            answerNextModal<TSetF>([](TSetF* dialog) {
                auto* box = dialog->findChild<QCheckBox*>(QStringLiteral("CheckBox13"));
                box->setChecked(!box->isChecked());
                dialog->findChild<QPushButton*>(QStringLiteral("Button6"))->click();
            });
            main->S1Click();
            QCOMPARE(int(main->state().settings.TopOn), on ? 1 : 0);
            QCOMPARE(main->windowFlags().testFlag(Qt::WindowStaysOnTopHint), on);
            QCOMPARE(main->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), on);
            tick(*main, 2);
        }
        QCOMPARE(hides.count, 0);
        QCOMPARE(window->winId(), native);
        QVERIFY(window->isVisible());
    }

    void generalSettingsRebuildWithTheNewTextAttributes()
    {
        QVERIFY(writeTextFile(ini(), QStringLiteral("[Common]\nAutoEnd=30\n")));
        auto window = open();
        tick(*window, 10);
        TMainF* main = window.get();
        auto seen = std::make_shared<bool>(false);
        answerNextModal<TSetF>(
            [main](TSetF* dialog) {
                QCOMPARE(main->state().countdownEnabled, std::uint8_t{0});
                tick(*main, 5);
                QCOMPARE(main->windowTitle(), counting(20));
                // what a confirmed colour and font choice leaves in the settings
                main->state().settings.BaseF = 255;
                main->state().settings.Font.Size = 14;
                dialog->reject();
            },
            seen);
        window->S1Click();
        QVERIFY(*seen);
        QCOMPARE(window->state().countdownEnabled, std::uint8_t{1});
        QCOMPARE(lineColour(*window, 0), QColor(255, 0, 0));
        QCOMPARE(window->pane().defaultFormat().font().pixelSize(),
                 14 * window->logicalDpiY() / 72);
        tick(*window, 1);
        QCOMPARE(window->windowTitle(), counting(29)); // rebuilt: counts from AutoEnd again
    }

    void fileSettingsDoNotRebuild()
    {
        QVERIFY(writeTextFile(ini(), QStringLiteral("[Common]\nAutoEnd=30\n")));
        auto window = open();
        tick(*window, 10);
        const QString timeLine = line(*window, 1);
        m_clock.set(ClockReading{2024, 5, 9, 23, 59});
        TMainF* main = window.get();
        auto seen = std::make_shared<bool>(false);
        answerNextModal<TFSetF>(
            [main](TFSetF* dialog) {
                QCOMPARE(main->state().countdownEnabled, std::uint8_t{0});
                tick(*main, 5);
                QCOMPARE(main->windowTitle(), counting(20));
                dialog->reject();
            },
            seen);
        window->F1Click();
        QVERIFY(*seen);
        QCOMPARE(window->state().countdownEnabled, std::uint8_t{1});
        QCOMPARE(line(*window, 1), timeLine); // the report was not built again
        tick(*window, 1);
        QCOMPARE(window->windowTitle(), counting(19)); // the count goes on
    }

    // A home that lists no table ends its report with how to start, in the default colour;
    // listing a table in ﾌｧｲﾙの設定 takes it away.
    void newHomeIsToldHowToStartUntilATableIsListed()
    {
        auto window = open();
        QCOMPARE(line(*window, 2), QString());
        QCOMPARE(line(*window, 3), QStringLiteral("表ファイルがまだ設定されていません。"));
        QVERIFY2(line(*window, 4).startsWith(QStringLiteral("ホームフォルダ: /")),
                 qPrintable(line(*window, 4)));
        QCOMPARE(line(*window, 5), QStringLiteral("表ファイルの追加: ｵﾌﾟｼｮﾝ → ﾌｧｲﾙの設定"));
        QCOMPARE(lineColour(*window, 3), toQColor(window->state().settings.BaseF));
        auto seen = std::make_shared<bool>(false);
        answerNextModal<TFSetF>(
            [](TFSetF* dialog) {
                StandardDialogs::answerNextFiles(
                    [](const FileRequest&) { return QStringList{QStringLiteral("/t/B.TBL")}; });
                dialog->findChild<QPushButton*>(QStringLiteral("Button6"))->click();
                dialog->accept();
            },
            seen);
        window->F1Click();
        QVERIFY(*seen);
        auto* info = window->findChild<QTextEdit*>(QStringLiteral("Info"));
        QCOMPARE(info->document()->blockCount(), 2); // the date and the time lines
    }

    void failedSaveKeepsTheWindowOpenOnce()
    {
        QVERIFY(writeTextFile(ini(), QStringLiteral("[Common]\nAutoEnd=1\n")));
        auto window = open();
        // TIRA.ini replaced by a folder: the write must fail
        QVERIFY(QFile::remove(ini()));
        QVERIFY(QDir().mkpath(ini()));
        auto notice = answerNextNotice();
        tick(*window, 2); // expires and tries to close
        QVERIFY(notice->shown);
        QVERIFY2(notice->text.endsWith(QStringLiteral(" に書き込めません")),
                 qPrintable(notice->text));
        QCOMPARE(notice->title, QStringLiteral("TIRA  Version 0.1.0"));
        QCOMPARE(notice->icon, QMessageBox::NoIcon);
        QCOMPARE(notice->buttons, 1);
        QVERIFY(window->isVisible());
        tick(*window, 5); // held: no further attempt, no further notice
        QCOMPARE(window->windowTitle(), QStringLiteral("TIRA  Version 0.1.0"));
        QVERIFY(window->isVisible());
        auto second = answerNextNotice();
        window->Exit1Click();
        QVERIFY(second->shown);
        QVERIFY(!window->isVisible());
    }
};

QTEST_MAIN(MainFmTest)
#include "main_fm_test.moc"
