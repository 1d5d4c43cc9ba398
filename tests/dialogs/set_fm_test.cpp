#include "dialog_test_support.h"
#include "dialogs/dialog_widgets.h"
#include "dialogs/hi_fm.h"
#include "dialogs/qt_helpers.h"
#include "dialogs/set_fm.h"
#include "dialogs/standard_dialogs.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QToolButton>
#include <functional>

using namespace tira;
using tira::test::click;
using tira::test::Harness;
using tira::test::showPageOf;

namespace {

// Test access to one open dialog.
struct Open
{
    explicit Open(MainState& state)
        : dialog(state.settings, state.home(),
                 [&state](const std::string& path) { state.window().playSound(path); })
    {
        dialog.show();
        exposed = QTest::qWaitForWindowExposed(&dialog);
    }
    template <class T = QWidget> T* get(const char* name) const
    {
        return dialog.findChild<T*>(QString::fromLatin1(name));
    }
    QCheckBox* box(const char* name) const { return get<QCheckBox>(name); }
    ColourSwatch* swatch(const char* name) const { return get<ColourSwatch>(name); }
    void ok() const { click(get<QPushButton>("Button6")); }
    void closeBox() { dialog.close(); }

    TSetF dialog;
    bool exposed = false;
};

std::string toUtf8(const QString& text)
{
    return text.toStdString();
}

} // namespace

class TSetFTest : public QObject
{
    Q_OBJECT

  private slots:
    void captionsNamesAndSize();
    void defaultsCopyIn();
    void copyInWritesThroughForOffSections_data();
    void copyInWritesThroughForOffSections();
    void clicksWriteThroughAndSurviveCloseBox();
    void ruleRunsOnlyOnChange();
    void autoExitControls();
    void upDownRangeAndOutsideValues();
    void stopSwitchesCopyIn();
    void soundAndEditorNeedTheirText();
    void everySwitchCopiesOut();
    void everySwatchCopiesOut_data();
    void everySwatchCopiesOut();
    void historySwatchesPressedOnlyFromSwatch();
    void fontChoice();
    void soundChoiceAndTest();
    void editorChoice();
    void closeBoxDiscardsUnderExec();
    void bindingTableCopiesEverySettingInAndOut();
    void keyboardReachesEverySwatchInLayoutOrder();
    void everyControlHasAnAccessibleName();
    void growsWithALargerFont();
    void darkPaletteReadsAndFocusShows();
};

void TSetFTest::captionsNamesAndSize()
{
    Harness h;
    Open open(h.state);
    QVERIFY(open.exposed);
    QCOMPARE(open.dialog.windowTitle(), QStringLiteral("各種設定"));
    QCOMPARE(open.dialog.size(), QSize(510, 314));
    auto* pages = open.get<QTabWidget>("PageControl1");
    QVERIFY(pages);
    QStringList tabs;
    for (int i = 0; i < pages->count(); ++i)
        tabs << pages->tabText(i);
    QCOMPARE(tabs, (QStringList{"表示", "終了", "文字", "外枠", "その他"}));
    QCOMPARE(pages->currentIndex(), 0);

    const struct
    {
        const char* name;
        const char* caption;
    } buttons[] = {
        {"CheckBox4", "誕生日表示"},
        {"CheckBox10", "年齢表示"},
        {"CheckBox5", "ｽｹｼﾞｭｰﾙ表示"},
        {"CheckBox15", "ｺﾒﾝﾄ表示"},
        {"CheckBox3", "ｲﾍﾞﾝﾄ表示"},
        {"CheckBox7", "歴史表示"},
        {"CheckBox2", "生誕, 命日は色をかえる"},
        {"CheckBox6", "週間表示"},
        {"CheckBox1", "起動後自動終了"},
        {"CheckBox11", "ｽﾄｯﾌﾟｲﾍﾞﾝﾄがあるときは自動終了解除"},
        {"CheckBox12", "ｽﾄｯﾌﾟｲﾍﾞﾝﾄ前のときは自動終了解除"},
        {"Button11", "ﾌｫﾝﾄの変更"},
        {"CheckBox9", "この設定を優先する"},
        {"CheckBox16", "通常の文字色は各項目ごとかえる"},
        {"CheckBox14", "外枠色を変える"},
        {"CheckBox8", "ｽﾄｯﾌﾟｲﾍﾞﾝﾄは音で知らせる"},
        {"Button5", "テスト"},
        {"Button4", "参照"},
        {"CheckBox13", "常に一番上に表示する"},
        {"CheckBox17", "データファイルの編集を行う"},
        {"Button1", "参照"},
        {"Button6", "Ok"},
    };
    for (const auto& expected : buttons) {
        auto* button = open.get<QAbstractButton>(expected.name);
        QVERIFY2(button, expected.name);
        QCOMPARE(toUtf8(button->text()), std::string(expected.caption));
    }
    QCOMPARE(open.get<QLabel>("Label9")->text(), QStringLiteral("生誕"));
    QCOMPARE(open.get<QLabel>("Label10")->text(), QStringLiteral("命日"));
    QCOMPARE(open.get<QGroupBox>("KoumokuG")->title(), QStringLiteral("項目ごとに設定"));
    for (const char* name : {"SBaseFC", "SStopFC", "SZengFC", "SBackFC", "SBaseBC", "SStopBC",
                             "SZengBC", "STAN", "SMEI", "SB", "SS", "SE", "SH", "SW"}) {
        ColourSwatch* swatch = open.swatch(name);
        QVERIFY2(swatch, name);
        QCOMPARE(swatch->frameShadow(), QFrame::Raised);
    }
    // Every caption a swatch carries, byte for byte.
    QStringList labels;
    for (const QLabel* label : open.dialog.findChildren<QLabel*>())
        labels << label->text();
    for (const char* caption :
         {"通常文字色", "ｽﾄｯﾌﾟｲﾍﾞﾝﾄ日の文字色", "ｽﾄｯﾌﾟｲﾍﾞﾝﾄ前の文字色", "文字表示部背景色",
          "誕生日", "ｽｹｼﾞｭｰﾙ", "イベント", "歴史", "週間", "通常の外枠色", "ｽﾄｯﾌﾟｲﾍﾞﾝﾄ日の外枠色",
          "ｽﾄｯﾌﾟｲﾍﾞﾝﾄ前の外枠色", "秒"})
        QVERIFY2(labels.contains(QString::fromUtf8(caption)), caption);

    auto* seconds = open.get<QLabel>("EByou");
    QVERIFY(seconds->font().bold());
    QCOMPARE(seconds->palette().color(QPalette::WindowText), QColor(0, 0, 0x80));
}

void TSetFTest::defaultsCopyIn()
{
    Harness h;
    h.state.settings.BaseF = 0x123456;
    h.state.settings.WFC = 0x02ABCDEF; // bits beyond RGB survive untouched
    Open open(h.state);
    QCOMPARE(open.swatch("SBaseFC")->colour(), 0x123456u);
    QCOMPARE(open.swatch("SW")->colour(), 0x02ABCDEFu);
    QCOMPARE(open.swatch("SStopBC")->palette().color(QPalette::Window), QColor(255, 0, 0));

    // History on, HistMeiTan off: the box is enabled but unchecked, the swatches hidden.
    // 歴史表示 keeps its initial state, so its rule does not run and write HistMeiTan.
    QVERIFY(!open.box("CheckBox2")->isChecked());
    QVERIFY(open.box("CheckBox2")->isEnabled());
    QCOMPARE(int(h.state.settings.HistMeiTan), 0);
    QVERIFY(open.get("STAN")->isHidden());
    QVERIFY(open.get("Label10")->isHidden());
    QVERIFY(open.get("KoumokuG")->isHidden());
    QVERIFY(open.box("CheckBox16")->isEnabled());
    // AutoEnd 0: no automatic exit, the dependent controls off.
    QVERIFY(!open.box("CheckBox1")->isChecked());
    QVERIFY(!open.box("CheckBox11")->isEnabled());
    QVERIFY(!open.box("CheckBox12")->isEnabled());
    QVERIFY(!open.get("UpDown1")->isEnabled());
    QCOMPARE(open.get<QLabel>("EByou")->text(), QStringLiteral("30"));
    // No sound and no editing: their buttons and fields are off.
    for (const char* name : {"Button4", "Button5", "WavF", "Button1", "EditProg"})
        QVERIFY2(!open.get(name)->isEnabled(), name);
    QCOMPARE(open.get<QLineEdit>("EditProg")->text(),
             QString::fromStdString(h.state.settings.Edit));

    // "Ok" with nothing touched stores what was there.
    const Settings before = h.state.settings;
    open.ok();
    QCOMPARE(open.dialog.result(), int(QDialog::Accepted));
    const Settings& after = h.state.settings;
    QCOMPARE(after.WFC, before.WFC);
    QCOMPARE(after.AutoEnd, 0);
    QCOMPARE(after.Font.Name, before.Font.Name);
    QCOMPARE(after.Font.Size, before.Font.Size);
    QCOMPARE(after.Edit, before.Edit);
    QCOMPARE(after.Age, 1);
    QCOMPARE(after.Yuusen, 1);
}

void TSetFTest::copyInWritesThroughForOffSections_data()
{
    QTest::addColumn<QString>("off");    // the switch that is off
    QTest::addColumn<QString>("victim"); // the switch the copy-in clears
    QTest::newRow("Birthday off clears Age") << "Birthday"
                                             << "Age";
    QTest::newRow("Schedule off clears Comment") << "Schedule"
                                                 << "Comment";
    QTest::newRow("History off clears HistMeiTan") << "History"
                                                   << "HistMeiTan";
    QTest::newRow("Yuusen off clears Koumoku") << "Yuusen"
                                               << "Koumoku";
}

void TSetFTest::copyInWritesThroughForOffSections()
{
    QFETCH(QString, off);
    QFETCH(QString, victim);
    Harness h;
    Settings& s = h.state.settings;
    auto field = [&s](const QString& name) -> std::uint8_t& {
        if (name == "Birthday") return s.Birthday;
        if (name == "Schedule") return s.Schedule;
        if (name == "History") return s.History;
        if (name == "Yuusen") return s.Yuusen;
        if (name == "Age") return s.Age;
        if (name == "Comment") return s.Comment;
        if (name == "HistMeiTan") return s.HistMeiTan;
        return s.Koumoku;
    };
    field(off) = 0;
    field(victim) = 1;
    {
        Open open(h.state);
        QCOMPARE(int(field(victim)), 0); // already at creation
        open.closeBox();
        QCOMPARE(open.dialog.result(), int(QDialog::Rejected));
    }
    QCOMPARE(int(field(victim)), 0);
    QCOMPARE(int(field(off)), 0);
}

void TSetFTest::clicksWriteThroughAndSurviveCloseBox()
{
    Harness h;
    Settings& s = h.state.settings;
    s.History = 0;
    s.Koumoku = 1;
    Open open(h.state);
    QVERIFY(open.box("CheckBox16")->isChecked());
    QVERIFY(!open.get("KoumokuG")->isHidden());

    click(open.box("CheckBox4")); // 誕生日表示 off
    QCOMPARE(int(s.Age), 0);
    QVERIFY(!open.box("CheckBox10")->isChecked());
    QVERIFY(!open.box("CheckBox10")->isEnabled());
    QCOMPARE(int(s.Birthday), 1); // an ordinary switch waits for "Ok"

    click(open.box("CheckBox5")); // ｽｹｼﾞｭｰﾙ表示 off
    QCOMPARE(int(s.Comment), 0);

    // 歴史表示 on checks 生誕, 命日 and shows both swatches with their labels.
    QVERIFY(!open.box("CheckBox2")->isEnabled());
    click(open.box("CheckBox7"));
    QCOMPARE(int(s.HistMeiTan), 1);
    QVERIFY(open.box("CheckBox2")->isChecked());
    QVERIFY(open.box("CheckBox2")->isEnabled());
    for (const char* name : {"Label9", "STAN", "Label10", "SMEI"})
        QVERIFY2(open.get(name)->isVisible(), name);
    click(open.box("CheckBox2")); // hides them again
    for (const char* name : {"Label9", "STAN", "Label10", "SMEI"})
        QVERIFY2(open.get(name)->isHidden(), name);

    // The rules chain: この設定を優先する off unchecks the kind colours, which hide and clear.
    click(open.box("CheckBox9"));
    QVERIFY(!open.box("CheckBox16")->isChecked());
    QVERIFY(!open.box("CheckBox16")->isEnabled());
    QVERIFY(open.get("KoumokuG")->isHidden());
    QCOMPARE(int(s.Koumoku), 0);

    open.closeBox();
    QCOMPARE(int(s.Age), 0);
    QCOMPARE(int(s.Comment), 0);
    QCOMPARE(int(s.HistMeiTan), 1); // written by the 歴史表示 rule, not undone by 生誕 off
    QCOMPARE(int(s.Koumoku), 0);
    QCOMPARE(int(s.History), 0); // not copied out
    QCOMPARE(int(s.Yuusen), 1);
    QCOMPARE(int(s.Birthday), 1);
}

void TSetFTest::ruleRunsOnlyOnChange()
{
    Harness h;
    Open open(h.state);
    // Unchecking and re-checking 誕生日表示 leaves 年齢表示 checked and enabled.
    click(open.box("CheckBox10"));
    QVERIFY(!open.box("CheckBox10")->isChecked());
    click(open.box("CheckBox4"));
    click(open.box("CheckBox4"));
    QVERIFY(open.box("CheckBox10")->isChecked());
    QVERIFY(open.box("CheckBox10")->isEnabled());

    // A disabled box cannot be clicked.
    click(open.box("CheckBox1"));
    click(open.box("CheckBox1"));
    QVERIFY(!open.box("CheckBox12")->isEnabled());
    click(open.box("CheckBox12"));
    QVERIFY(!open.box("CheckBox12")->isChecked());

    // The sound and editor rules follow their boxes both ways.
    click(open.box("CheckBox8"));
    for (const char* name : {"Button4", "Button5", "WavF"})
        QVERIFY2(open.get(name)->isEnabled(), name);
    click(open.box("CheckBox17"));
    QVERIFY(open.get("Button1")->isEnabled());
    QVERIFY(open.get("EditProg")->isEnabled());
    click(open.box("CheckBox17"));
    QVERIFY(!open.get("EditProg")->isEnabled());
}

void TSetFTest::autoExitControls()
{
    Harness h;
    h.state.settings.AutoEnd = 45;
    h.state.settings.StopEnd = 1;
    h.state.settings.ZengEnd = 1;
    Open open(h.state);
    QCOMPARE(open.get<QLabel>("EByou")->text(), QStringLiteral("45"));
    QVERIFY(open.box("CheckBox11")->isChecked());
    QVERIFY(open.box("CheckBox12")->isChecked());
    QVERIFY(open.box("CheckBox12")->isEnabled());

    // Off: both stop boxes cleared and off, the arrows too.
    click(open.box("CheckBox1"));
    QVERIFY(!open.box("CheckBox11")->isChecked());
    QVERIFY(!open.box("CheckBox11")->isEnabled());
    QVERIFY(!open.box("CheckBox12")->isEnabled());
    QVERIFY(!open.get("UpDown1")->isEnabled());
    // On again: the first enabled and unchecked, the second unchecked and disabled.
    click(open.box("CheckBox1"));
    QVERIFY(open.box("CheckBox11")->isEnabled());
    QVERIFY(!open.box("CheckBox11")->isChecked());
    QVERIFY(!open.box("CheckBox12")->isEnabled());
    QVERIFY(!open.box("CheckBox12")->isChecked());
    QVERIFY(open.get("UpDown1")->isEnabled());
    click(open.box("CheckBox11"));
    QVERIFY(open.box("CheckBox12")->isChecked());
    QVERIFY(open.box("CheckBox12")->isEnabled());

    // Unchecked at "Ok": AutoEnd 0, the position kept for the next time.
    click(open.box("CheckBox1"));
    open.ok();
    QCOMPARE(h.state.settings.AutoEnd, 0);
    QCOMPARE(open.get<UpDown>("UpDown1")->position(), 45);

    // 45 in, 45 out.
    h.state.settings.AutoEnd = 45;
    Open again(h.state);
    again.ok();
    QCOMPARE(h.state.settings.AutoEnd, 45);
}

void TSetFTest::upDownRangeAndOutsideValues()
{
    const struct
    {
        int start;
        const char* arrow; // "up" or "down"
        int clicks;
        int stored;
    } cases[] = {
        {45, "up", 2, 47},          {45, "down", 1, 44}, {600, "up", 3, 600}, {30, "down", 2, 30},
        {31, "down", 5, 30},        {599, "up", 1, 600}, {700, "up", 1, 600}, {700, "down", 1, 600},
        {5, "up", 1, 30},           {5, "down", 1, 30},  {700, "", 0, 700},   {5, "", 0, 5},
        {2147483647, "up", 1, 600},
    };
    for (const auto& c : cases) {
        const QByteArray label =
            QByteArray::number(c.start) + ' ' + c.arrow + ' ' + QByteArray::number(c.clicks);
        Harness h;
        h.state.settings.AutoEnd = c.start;
        Open open(h.state);
        auto* label1 = open.get<QLabel>("EByou");
        QCOMPARE(label1->text(), QString::number(c.start)); // shown as it is
        auto* upDown = open.get<UpDown>("UpDown1");
        for (int i = 0; i < c.clicks; ++i)
            click(upDown->findChild<QToolButton*>(QString::fromLatin1(c.arrow)));
        open.ok();
        QVERIFY2(h.state.settings.AutoEnd == c.stored, label.constData());
        if (c.clicks > 0) QVERIFY2(label1->text() == QString::number(c.stored), label.constData());
    }

    // The keyboard steps the same way.
    Harness h;
    h.state.settings.AutoEnd = 100;
    Open open(h.state);
    auto* upDown = open.get<UpDown>("UpDown1");
    showPageOf(upDown);
    upDown->setFocus();
    QTest::keyClick(upDown, Qt::Key_Right);
    QTest::keyClick(upDown, Qt::Key_Right);
    QTest::keyClick(upDown, Qt::Key_Left);
    QCOMPARE(open.get<QLabel>("EByou")->text(), QStringLiteral("101"));
}

void TSetFTest::stopSwitchesCopyIn()
{
    {
        // StopEnd off, ZengEnd on: the second box shows checked but cannot be changed.
        Harness h;
        h.state.settings.AutoEnd = 30;
        h.state.settings.ZengEnd = 1;
        Open open(h.state);
        QVERIFY(!open.box("CheckBox11")->isChecked());
        QVERIFY(open.box("CheckBox12")->isChecked());
        QVERIFY(!open.box("CheckBox12")->isEnabled());
        open.ok();
        QCOMPARE(int(h.state.settings.ZengEnd), 1);
    }
    {
        // AutoEnd off but StopEnd on: the stop box is still set from its setting.
        Harness h;
        h.state.settings.StopEnd = 1;
        Open open(h.state);
        QVERIFY(!open.box("CheckBox1")->isChecked());
        QVERIFY(open.box("CheckBox11")->isChecked());
        QVERIFY(!open.box("CheckBox11")->isEnabled());
        QVERIFY(open.box("CheckBox12")->isEnabled());
        QVERIFY(!open.get("UpDown1")->isEnabled());
        open.ok();
        QCOMPARE(int(h.state.settings.StopEnd), 1);
        QCOMPARE(h.state.settings.AutoEnd, 0);
    }
}

void TSetFTest::soundAndEditorNeedTheirText()
{
    Harness h;
    h.state.settings.WavOn = 1;
    h.state.settings.EditOk = 1;
    h.state.settings.Edit.clear();
    Open open(h.state);
    QVERIFY(!open.box("CheckBox8")->isChecked());
    QVERIFY(!open.box("CheckBox17")->isChecked());
    QVERIFY(!open.get("Button4")->isEnabled());
    open.ok();
    QCOMPARE(int(h.state.settings.WavOn), 0);
    QCOMPARE(int(h.state.settings.EditOk), 0);

    h.state.settings.WavOn = 1;
    h.state.settings.WavFile = "/sounds/alert.wav";
    h.state.settings.EditOk = 1;
    h.state.settings.Edit = "gedit";
    Open filled(h.state);
    QVERIFY(filled.box("CheckBox8")->isChecked());
    QVERIFY(filled.box("CheckBox17")->isChecked());
    QVERIFY(filled.get("Button5")->isEnabled());
    QCOMPARE(filled.get<QLineEdit>("WavF")->text(), QStringLiteral("/sounds/alert.wav"));
    QCOMPARE(filled.get<QLineEdit>("WavF")->focusPolicy(), Qt::ClickFocus);
}

void TSetFTest::everySwitchCopiesOut()
{
    Harness h;
    Settings& s = h.state.settings;
    s.AutoEnd = 60;
    Open open(h.state);
    for (const char* name : {"CheckBox3", "CheckBox6", "CheckBox10", "CheckBox15", "CheckBox11",
                             "CheckBox14", "CheckBox13", "CheckBox9", "CheckBox4"})
        click(open.box(name));
    open.ok();
    QCOMPARE(int(s.Event), 0);
    QCOMPARE(int(s.Week), 0);
    QCOMPARE(int(s.Age), 0);
    QCOMPARE(int(s.Comment), 0);
    QCOMPARE(int(s.StopEnd), 1);
    QCOMPARE(int(s.ZengEnd), 1);
    QCOMPARE(int(s.Sotowaku), 1);
    QCOMPARE(int(s.TopOn), 1);
    QCOMPARE(int(s.Yuusen), 0);
    QCOMPARE(int(s.Birthday), 0);
    QCOMPARE(int(s.Schedule), 1);
    QCOMPARE(int(s.History), 1);
    QCOMPARE(s.AutoEnd, 60);
}

void TSetFTest::everySwatchCopiesOut_data()
{
    QTest::addColumn<QString>("swatch");
    QTest::addColumn<int>("field");
    const char* const names[] = {"SBaseFC", "SStopFC", "SZengFC", "SBackFC", "SBaseBC",
                                 "SStopBC", "SZengBC", "SB",      "SS",      "SE",
                                 "SH",      "SW",      "STAN",    "SMEI"};
    for (int i = 0; i < 14; ++i)
        QTest::newRow(names[i]) << QString::fromLatin1(names[i]) << i;
}

void TSetFTest::everySwatchCopiesOut()
{
    QFETCH(QString, swatch);
    QFETCH(int, field);
    // In the order of the rows of the data table.
    WinColour Settings::*const members[] = {
        &Settings::BaseF,   &Settings::StopF,   &Settings::ZengoF, &Settings::BackF,
        &Settings::BaseB,   &Settings::StopB,   &Settings::ZengoB, &Settings::BFC,
        &Settings::SFC,     &Settings::EFC,     &Settings::HFC,    &Settings::WFC,
        &Settings::Tanjyou, &Settings::Meinichi};
    Harness h;
    Settings& s = h.state.settings;
    s.HistMeiTan = 1; // shows STAN and SMEI
    const Settings before = s;
    const WinColour Settings::*const member = members[field];
    Open open(h.state);
    ColourSwatch* target = open.swatch(swatch.toLatin1().constData());
    QVERIFY(target);

    // A cancelled choice changes nothing; the preset is the swatch's colour.
    QColor preset;
    StandardDialogs::answerNextColour([&](const QColor& initial) -> std::optional<QColor> {
        preset = initial;
        return std::nullopt;
    });
    click(target);
    QCOMPARE(preset, toQColor(s.*member));
    QCOMPARE(target->colour(), s.*member);

    bool loweredDuringDialog = false;
    StandardDialogs::answerNextColour([&](const QColor&) -> std::optional<QColor> {
        loweredDuringDialog = target->isLowered();
        return QColor(0x12, 0x34, 0x56);
    });
    click(target);
    QVERIFY(loweredDuringDialog);
    QVERIFY(!target->isLowered());
    QCOMPARE(target->colour(), 0x563412u);
    QCOMPARE(s.*member, before.*member); // nothing before "Ok"
    open.ok();
    for (int i = 0; i < 14; ++i) {
        const WinColour expected = i == field ? 0x563412u : before.*members[i];
        QVERIFY2(s.*members[i] == expected, qPrintable(QString::number(i)));
    }
}

void TSetFTest::historySwatchesPressedOnlyFromSwatch()
{
    Harness h;
    h.state.settings.HistMeiTan = 1;
    Open open(h.state);
    ColourSwatch* birth = open.swatch("STAN");
    ColourSwatch* death = open.swatch("SMEI");
    bool lowered = true;
    StandardDialogs::answerNextColour([&](const QColor&) -> std::optional<QColor> {
        lowered = birth->isLowered();
        return QColor(Qt::blue);
    });
    click(open.get("Label9"));
    QVERIFY(!lowered);
    QCOMPARE(birth->colour(), 0xFF0000u);

    StandardDialogs::answerNextColour([&](const QColor&) -> std::optional<QColor> {
        lowered = death->isLowered();
        return QColor(Qt::red);
    });
    click(open.get("Label10"));
    QVERIFY(!lowered);
    QCOMPARE(death->colour(), 0x0000FFu);
    open.closeBox();
    QCOMPARE(h.state.settings.Tanjyou, 16776960u);
}

void TSetFTest::fontChoice()
{
    Harness h;
    Settings& s = h.state.settings;
    s.Font = {"Noto Sans CJK JP", 11, 2};
    s.BaseF = 0x00FF00;
    Open open(h.state);

    // The preset is the pane's font in the base swatch's current colour.
    StandardDialogs::answerNextColour([](const QColor&) { return QColor(Qt::blue); });
    click(open.swatch("SBaseFC"));
    FontChoice preset;
    StandardDialogs::answerNextFont([&](const FontChoice& initial) -> std::optional<FontChoice> {
        preset = initial;
        QFont chosen(QStringLiteral("DejaVu Serif"));
        chosen.setPointSize(14);
        chosen.setBold(true);
        chosen.setUnderline(true);
        return FontChoice{chosen, QColor(Qt::red)};
    });
    click(open.get("Button11"));
    QCOMPARE(preset.font.family(), QStringLiteral("Noto Sans CJK JP"));
    QCOMPARE(preset.font.pointSize(), 11);
    QVERIFY(preset.font.italic());
    QVERIFY(!preset.font.bold());
    QCOMPARE(preset.colour, QColor(Qt::blue));
    QCOMPARE(open.swatch("SBaseFC")->colour(), 0x0000FFu);
    QCOMPARE(s.Font.Name, std::string("Noto Sans CJK JP")); // nothing reaches the pane yet

    // A cancelled second choice keeps the first.
    StandardDialogs::answerNextFont([](const FontChoice&) { return std::nullopt; });
    click(open.get("Button11"));
    QCOMPARE(open.swatch("SBaseFC")->colour(), 0x0000FFu);

    open.ok();
    QCOMPARE(s.Font.Name, std::string("DejaVu Serif"));
    QCOMPARE(s.Font.Size, 14);
    QCOMPARE(s.Font.Style, 1 | 4);
    QCOMPARE(s.BaseF, 0x0000FFu);

    // Closed with the close box, a chosen font is dropped.
    Open again(h.state);
    StandardDialogs::answerNextFont([](const FontChoice&) {
        return FontChoice{QFont(QStringLiteral("Other")), QColor(Qt::green)};
    });
    click(again.get("Button11"));
    again.closeBox();
    QCOMPARE(s.Font.Name, std::string("DejaVu Serif"));
    QCOMPARE(s.BaseF, 0x0000FFu);
}

void TSetFTest::soundChoiceAndTest()
{
    Harness h;
    h.state.settings.WavOn = 1;
    h.state.settings.WavFile = "/old.wav";
    Open open(h.state);
    FileRequest asked;
    StandardDialogs::answerNextFiles([&](const FileRequest& request) {
        asked = request;
        return QStringList{QStringLiteral("/sounds/チャイム.wav")};
    });
    click(open.get("Button4"));
    QCOMPARE(asked.title, QStringLiteral("音データの指定"));
    QCOMPARE(asked.filters, QStringList{QStringLiteral("Wav files (*.wav)")});
    QVERIFY(!asked.multiple);
    QCOMPARE(open.get<QLineEdit>("WavF")->text(), QStringLiteral("/sounds/チャイム.wav"));

    click(open.get("Button5"));
    QCOMPARE(h.pane.sounds, std::vector<std::string>{"/sounds/チャイム.wav"});

    StandardDialogs::answerNextFiles([](const FileRequest&) { return QStringList(); });
    click(open.get("Button4")); // cancelled: unchanged
    open.ok();
    QCOMPARE(h.state.settings.WavFile, std::string("/sounds/チャイム.wav"));
    QCOMPARE(int(h.state.settings.WavOn), 1);

    // An empty file name plays nothing.
    Harness quiet;
    quiet.state.settings.WavOn = 1;
    Open silent(quiet.state);
    silent.box("CheckBox8")->setChecked(true);
    click(silent.get("Button5"));
    QVERIFY(quiet.pane.sounds.empty());
}

void TSetFTest::editorChoice()
{
    Harness h;
    Open open(h.state);
    click(open.box("CheckBox17"));
    FileRequest asked;
    StandardDialogs::answerNextFiles([&](const FileRequest& request) {
        asked = request;
        return QStringList{QStringLiteral("/opt/my editor/bin/edit")};
    });
    click(open.get("Button1"));
    QCOMPARE(asked.title, QStringLiteral("データファイルを編集するテキストエディタの指定"));
    QCOMPARE(asked.filters.size(), 1);
    QVERIFY(asked.filters.first().startsWith(QStringLiteral("Program Files (")));
    open.ok();
    QCOMPARE(h.state.settings.Edit, std::string("/opt/my editor/bin/edit"));
    QCOMPARE(int(h.state.settings.EditOk), 1);
}

void TSetFTest::closeBoxDiscardsUnderExec()
{
    Harness h;
    h.state.settings.AutoEnd = 120;
    TSetF dialog(h.state.settings, h.state.home(), PlaySound());
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* open = qobject_cast<TSetF*>(QApplication::activeModalWidget());
        QVERIFY(open);
        seen = true;
        click(open->findChild<QCheckBox*>(QStringLiteral("CheckBox1")));
        click(open->findChild<QCheckBox*>(QStringLiteral("CheckBox14")));
        click(open->findChild<QCheckBox*>(QStringLiteral("CheckBox4")));
        QTest::keyClick(open, Qt::Key_Escape);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY(seen);
    QCOMPARE(h.state.settings.AutoEnd, 120);
    QCOMPARE(int(h.state.settings.Sotowaku), 0);
    QCOMPARE(int(h.state.settings.Birthday), 1);
    QCOMPARE(int(h.state.settings.Age), 0); // written through
}

// Every row of the binding table, in a fresh dialog each: the setting shows in its control,
// and a changed control reaches the setting through "Ok". Every control that edits a
// setting is in the table.
void TSetFTest::bindingTableCopiesEverySettingInAndOut()
{
    QStringList bound;
    for (const SetFBinding& binding : TSetF::bindings()) {
        const QString name = QString::fromLatin1(binding.control);
        bound << name;
        Harness h;
        Settings& s = h.state.settings;
        s.WavFile = "/sounds/alarm.wav"; // the switches that need their text have it
        s.Edit = "/usr/bin/editor";
        Open open(h.state);
        switch (binding.kind) {
        case SetFBinding::Kind::Colour: {
            h.state.settings.*binding.colour = 0x00123456;
            Open again(h.state);
            QCOMPARE(again.swatch(binding.control)->colour(), 0x00123456u);
            again.swatch(binding.control)->setColour(0x00654321);
            again.ok();
            QVERIFY2(s.*binding.colour == 0x00654321u, qPrintable(name));
            break;
        }
        case SetFBinding::Kind::Text: {
            auto* edit = open.get<QLineEdit>(binding.control);
            QVERIFY2(edit->text() == QString::fromStdString(s.*binding.text), qPrintable(name));
            edit->setText(QStringLiteral("/elsewhere/file"));
            open.ok();
            QVERIFY2(s.*binding.text == "/elsewhere/file", qPrintable(name));
            break;
        }
        case SetFBinding::Kind::Switch: {
            QCheckBox* box = open.box(binding.control);
            QVERIFY2(box->isChecked() == (s.*binding.flag != 0), qPrintable(name));
            const bool wanted = !box->isChecked();
            box->setChecked(wanted);
            open.ok();
            QVERIFY2(s.*binding.flag == (wanted ? 1 : 0), qPrintable(name));
            break;
        }
        case SetFBinding::Kind::Seconds: {
            s.*binding.seconds = 45;
            Open again(h.state);
            QVERIFY(again.box(binding.control)->isChecked());
            QCOMPARE(again.get<QLabel>("EByou")->text(), QStringLiteral("45"));
            again.box(binding.control)->setChecked(false);
            again.ok();
            QVERIFY2(s.*binding.seconds == 0, qPrintable(name));
            break;
        }
        }
    }
    Harness h;
    Open open(h.state);
    QStringList editing;
    for (QCheckBox* box : open.dialog.findChildren<QCheckBox*>())
        editing << box->objectName();
    for (ColourSwatch* swatch : open.dialog.findChildren<ColourSwatch*>())
        editing << swatch->objectName();
    for (QLineEdit* edit : open.dialog.findChildren<QLineEdit*>())
        editing << edit->objectName();
    editing.sort();
    bound.sort();
    QCOMPARE(bound, editing);
}

// Tab walks each page in the order of its layout, over every swatch; Space and Enter on a
// swatch open its colour choice.
void TSetFTest::keyboardReachesEverySwatchInLayoutOrder()
{
    Harness h;
    h.state.settings.HistMeiTan = 1; // 生誕 and 命日 shown
    h.state.settings.Koumoku = 1;    // the five kinds shown
    TSetF dialog(h.state.settings, h.state.home(), PlaySound());
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* pages = dialog.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    const QStringList chains[] = {
        {"CheckBox4", "CheckBox10", "CheckBox5", "CheckBox15", "CheckBox3", "CheckBox7",
         "CheckBox2", "STAN", "SMEI", "CheckBox6"},
        {"CheckBox1", "UpDown1", "CheckBox11", "CheckBox12"},
        {"SBaseFC", "SStopFC", "SZengFC", "SBackFC", "Button11", "CheckBox9", "CheckBox16", "SB",
         "SS", "SE", "SH", "SW"},
        {"SBaseBC", "SStopBC", "SZengBC", "CheckBox14"},
        {"CheckBox8", "Button5", "Button4", "CheckBox13", "CheckBox17", "EditProg", "Button1"},
    };
    int opened = 0;
    for (int page = 0; page < 5; ++page) {
        pages->setCurrentIndex(page);
        // every control enabled, so that the whole chain is a tab stop
        for (QWidget* widget : pages->widget(page)->findChildren<QWidget*>())
            widget->setEnabled(true);
        pages->tabBar()->setFocus(Qt::TabFocusReason);
        QStringList chain;
        for (int press = 0; press < chains[page].size(); ++press) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            chain << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(chain, chains[page]);

        for (const QString& name : chains[page]) {
            auto* swatch = dialog.findChild<ColourSwatch*>(name);
            if (!swatch) continue;
            swatch->setFocus(Qt::TabFocusReason);
            bool asked = false;
            StandardDialogs::answerNextColour([&](const QColor&) -> std::optional<QColor> {
                asked = true;
                return QColor(0x10, 0x20, 0x30);
            });
            QTest::keyClick(swatch, opened % 2 == 0 ? Qt::Key_Space : Qt::Key_Return);
            QVERIFY2(asked, qPrintable(name));
            QCOMPARE(swatch->colour(), 0x302010u);
            QVERIFY(dialog.isVisible()); // Enter chose a colour, it did not press "Ok"
            ++opened;
        }
    }
    QCOMPARE(opened, 14);
}

void TSetFTest::everyControlHasAnAccessibleName()
{
    Harness h;
    TSetF dialog(h.state.settings, h.state.home(), PlaySound());
    tira::test::expectAccessibleNames(dialog);
    // a swatch says which colour it sets
    QCOMPARE(tira::test::accessibleName(dialog.findChild<ColourSwatch*>(QStringLiteral("SBaseFC"))),
             QStringLiteral("通常文字色"));
    QCOMPARE(tira::test::accessibleName(dialog.findChild<ColourSwatch*>(QStringLiteral("SB"))),
             QStringLiteral("誕生日の文字色"));
    // a swatch is a button that can be pressed; the arrows of the seconds have names
    auto* swatch = dialog.findChild<ColourSwatch*>(QStringLiteral("SW"));
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(swatch);
    QCOMPARE(face->role(), QAccessible::Button);
    QSignalSpy pressed(swatch, &ColourSwatch::clicked);
    StandardDialogs::answerNextColour([](const QColor&) { return std::optional<QColor>(); });
    face->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(pressed.count(), 1);
    for (const char* arrow : {"down", "up"})
        QVERIFY2(!tira::test::accessibleName(dialog.findChild<QToolButton*>(arrow)).isEmpty(),
                 arrow);
}

// Under a dark palette the emphasised texts take the palette's text colour, which reads on
// it; the seconds control tabbed to draws a focus frame in the highlight colour.
void TSetFTest::darkPaletteReadsAndFocusShows()
{
    const QPalette before = QApplication::palette();
    QPalette dark = before;
    dark.setColor(QPalette::Window, QColor(53, 53, 53));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    QApplication::setPalette(dark);
    {
        Harness h;
        h.state.settings.AutoEnd = 45; // the arrows in use, so a tab stop
        Open open(h.state);
        QCOMPARE(open.get<QLabel>("EByou")->palette().color(QPalette::WindowText),
                 QColor(230, 230, 230));
        THiF date(h.state.reportDate, nullptr);
        QCOMPARE(date.findChild<QLabel*>(QStringLiteral("Label4"))
                     ->palette()
                     .color(QPalette::WindowText),
                 QColor(230, 230, 230));

        auto* upDown = open.get<UpDown>("UpDown1");
        showPageOf(upDown);
        open.dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&open.dialog));
        open.box("CheckBox1")->setFocus();
        QTest::keyClick(open.box("CheckBox1"), Qt::Key_Tab);
        QVERIFY(upDown->hasFocus());
        QCOMPARE(upDown->grab().toImage().pixelColor(1, upDown->height() / 2),
                 QColor(42, 130, 218));
    }
    QApplication::setPalette(before);
}

void TSetFTest::growsWithALargerFont()
{
    Harness h;
    h.state.settings.HistMeiTan = 1;
    h.state.settings.Koumoku = 1;
    tira::test::expectNothingCutAtLargerFont<TSetF>(QSize(510, 314), h.state.settings,
                                                    h.state.home(), PlaySound());
}

QTEST_MAIN(TSetFTest)
#include "set_fm_test.moc"
