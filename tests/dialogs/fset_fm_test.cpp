#include "dialog_test_support.h"
#include "dialogs/fset_fm.h"
#include "dialogs/standard_dialogs.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>

using namespace tira;
using tira::test::click;
using tira::test::Harness;
using tira::test::MessageBoxCatcher;
using tira::test::showPageOf;

namespace {

// Per kind: page, order label, list, 追加, 削除, 上へ, 表示順あげる.
const char* const kNames[kKindCount][7] = {
    {"BTab", "BJyun", "BF", "Button6", "Button7", "Button8", "Button9"},
    {"STab", "SJyun", "SF", "Button14", "Button15", "Button16", "Button17"},
    {"ETab", "EJyun", "EF", "Button2", "Button3", "Button4", "Button5"},
    {"HTab", "HJyun", "HF", "Button18", "Button19", "Button20", "Button21"},
    {"WTab", "WJyun", "WF", "Button10", "Button11", "Button12", "Button13"},
};
enum Part
{
    Tab,
    Jyun,
    List,
    Add,
    Remove,
    Up,
    Raise
};

std::string touch(const Harness& h, const QString& name)
{
    const std::string path = h.file(name);
    QFile file(QString::fromStdString(path));
    file.open(QIODevice::WriteOnly);
    return path;
}

struct Open
{
    explicit Open(MainState& state) : dialog(state.settings, state.home())
    {
        dialog.show();
        exposed = QTest::qWaitForWindowExposed(&dialog);
    }
    template <class T = QWidget> T* get(const char* name) const
    {
        return dialog.findChild<T*>(QString::fromLatin1(name));
    }
    template <class T = QWidget> T* of(Kind kind, Part part) const
    {
        return get<T>(kNames[static_cast<int>(kind)][part]);
    }
    QListWidget* list(Kind kind) const { return of<QListWidget>(kind, List); }
    QStringList entries(Kind kind) const
    {
        QStringList texts;
        for (int row = 0; row < list(kind)->count(); ++row)
            texts << list(kind)->item(row)->text();
        return texts;
    }
    // Page names in display order, その他 included.
    QStringList pageOrder() const
    {
        auto* pages = get<QTabWidget>("PageControl1");
        QStringList names;
        for (int i = 0; i < pages->count(); ++i)
            names << pages->widget(i)->objectName();
        return names;
    }
    QStringList orderLabels() const // birthdays, schedules, events, history, weekly
    {
        QStringList labels;
        for (std::size_t k = 0; k < kKindCount; ++k)
            labels << of<QLabel>(static_cast<Kind>(k), Jyun)->text();
        return labels;
    }
    void selectRow(Kind kind, int row) const
    {
        QListWidget* files = list(kind);
        showPageOf(files);
        QTest::mouseClick(files->viewport(), Qt::LeftButton, Qt::NoModifier,
                          files->visualItemRect(files->item(row)).center());
    }
    void doubleClickRow(Kind kind, int row) const
    {
        selectRow(kind, row);
        QListWidget* files = list(kind);
        QTest::mouseDClick(files->viewport(), Qt::LeftButton, Qt::NoModifier,
                           files->visualItemRect(files->item(row)).center());
    }
    void ok() const { click(get<QPushButton>("Button1")); }
    void closeBox() { dialog.close(); }

    TFSetF dialog;
    bool exposed = false;
};

std::vector<std::string> paths(std::initializer_list<std::string> list)
{
    return list;
}

} // namespace

class TFSetFTest : public QObject
{
    Q_OBJECT

  private slots:
    void initTestCase();
    void captionsNamesAndSize();
    void copyInDropsMissingFiles();
    void addCountsEverySelectedFile();
    void addGoesToItsOwnKind();
    void removeAndMoveUp();
    void raiseDisplayOrder();
    void displayOrderFromSettings_data();
    void displayOrderFromSettings();
    void repairKeepsValidSlots();
    void limitOfFilesPerKind();
    void monthlyFiles();
    void holidayFieldAndShownFields();
    void doubleClickShowsPathWithoutEditor();
    void doubleClickWithoutSelectionDoesNothing();
    void editorGetsThePathAsOneArgument();
    void bareEditorNameIsSearchedInPath();
    void editorGetsAnAbsolutePath();
    void failedEditorStartIsSilent();
    void closeBoxUnderExecCopiesOut();
    void everyControlHasAnAccessibleName();
    void growsWithALargerFont();

  private:
    // A stand-in editor: records its arguments, then waits for a release file.
    QString writeEditor(const QString& folder, const QString& name);
    // Double clicks an entry and, while the editor runs, checks the dialog and releases it.
    void runEditorOn(Open& open, Kind kind, int row, const QString& folder);
    bool m_sawDisabled = false;
    int m_ticksWhileRunning = 0;
};

void TFSetFTest::initTestCase()
{
    QGuiApplication::setApplicationDisplayName(QStringLiteral("TIRA  Version 0.1.0"));
}

void TFSetFTest::captionsNamesAndSize()
{
    Harness h;
    Open open(h.state);
    QVERIFY(open.exposed);
    QCOMPARE(open.dialog.windowTitle(), QStringLiteral("ﾌｧｲﾙの設定"));
    QCOMPARE(open.dialog.size(), QSize(473, 394));
    auto* pages = open.get<QTabWidget>("PageControl1");
    QStringList tabs;
    for (int i = 0; i < pages->count(); ++i)
        tabs << pages->tabText(i);
    QCOMPARE(tabs, (QStringList{"誕生日", "ｽｹｼﾞｭｰﾙ", "ｲﾍﾞﾝﾄ", "歴史", "週間", "その他"}));
    QCOMPARE(pages->currentIndex(), 0);
    QCOMPARE(open.orderLabels(), (QStringList{"1", "2", "3", "4", "5"}));
    for (std::size_t k = 0; k < kKindCount; ++k) {
        const Kind kind = static_cast<Kind>(k);
        QVERIFY(open.list(kind));
        QCOMPARE(open.of<QPushButton>(kind, Add)->text(), QStringLiteral("追加"));
        QCOMPARE(open.of<QPushButton>(kind, Remove)->text(), QStringLiteral("削除"));
        QCOMPARE(open.of<QPushButton>(kind, Up)->text(), QStringLiteral("上へ"));
        QCOMPARE(open.of<QPushButton>(kind, Raise)->text(), QStringLiteral("表示順あげる"));
        const QFont font = open.of<QLabel>(kind, Jyun)->font();
        QVERIFY(font.bold());
        QCOMPARE(font.family(), QStringLiteral("Arial"));
    }
    for (const char* name : {"IncMNc", "IncMHc"})
        QCOMPARE(open.get<QCheckBox>(name)->text(),
                 QStringLiteral("月番号が含まれているﾌｧｲﾙも使う"));
    for (const char* name : {"EYsen", "HYsen"})
        QCOMPARE(open.get<QCheckBox>(name)->text(), QStringLiteral("こちらを優先"));
    QVERIFY(open.get<QLineEdit>("EveM"));
    QVERIFY(open.get<QLineEdit>("HisM"));
    QVERIFY(open.get<QLineEdit>("Syuku"));
    QCOMPARE(open.get<QPushButton>("Button22")->text(), QStringLiteral("参照"));
    QCOMPARE(open.get<QPushButton>("Button1")->text(), QStringLiteral("Ok"));
    QStringList labels;
    for (const QLabel* label : open.dialog.findChildren<QLabel*>())
        labels << label->text();
    QVERIFY(labels.contains(QStringLiteral("祝日ファイル")));
    QCOMPARE(labels.count(QStringLiteral("表示順")), 5);
}

void TFSetFTest::copyInDropsMissingFiles()
{
    Harness h;
    const std::string first = touch(h, "BIRTH.TBL");
    const std::string second = touch(h, "FRIENDS.TBL");
    auto& birthdays = h.state.settings.filesOf(Kind::Birthday);
    birthdays = {first, h.file("GONE.TBL"), ".\\FRIENDS.TBL", h.file("ALSO_GONE.TBL")};
    h.state.settings.filesOf(Kind::Week) = {h.file("NONE.TBL")};
    Open open(h.state);
    QCOMPARE(open.entries(Kind::Birthday),
             (QStringList{QString::fromStdString(first), QString::fromStdString(second)}));
    QCOMPARE(birthdays.size(), 2u); // the count falls at once
    QVERIFY(h.state.settings.filesOf(Kind::Week).empty());
    open.closeBox();
    QCOMPARE(birthdays, paths({first, second}));
}

void TFSetFTest::addCountsEverySelectedFile()
{
    Harness h;
    const std::string existing = touch(h, "A.TBL");
    h.state.settings.filesOf(Kind::Birthday) = {existing};
    Open open(h.state);
    FileRequest asked;
    StandardDialogs::answerNextFiles([&](const FileRequest& request) {
        asked = request;
        return QStringList{"/t/B.TBL", "/t/C.TBL", "/t/A.TBL"};
    });
    click(open.of(Kind::Birthday, Add));
    QVERIFY(asked.multiple);
    QCOMPARE(asked.filters, (QStringList{"*.TBL (*.TBL)", "*.* (*)"}));
    QCOMPARE(asked.folder, h.home.path()); // nothing selected: the home folder
    QCOMPARE(h.state.settings.filesOf(Kind::Birthday).size(), 4u);
    QCOMPARE(open.entries(Kind::Birthday),
             (QStringList{QString::fromStdString(existing), "/t/B.TBL", "/t/C.TBL", "/t/A.TBL"}));

    StandardDialogs::answerNextFiles([](const FileRequest&) { return QStringList(); });
    click(open.of(Kind::Birthday, Add));
    QCOMPARE(h.state.settings.filesOf(Kind::Birthday).size(), 4u);

    // The same file twice is allowed. The dialog opens where the selected file lies; a
    // selected file whose folder is gone leaves it in the home folder.
    QVERIFY(QDir(h.home.path()).mkdir(QStringLiteral("sub")));
    const std::string nested = touch(h, "sub/D.TBL");
    open.list(Kind::Birthday)->addItem(QString::fromStdString(nested));
    open.list(Kind::Birthday)->setCurrentRow(4);
    StandardDialogs::answerNextFiles([&](const FileRequest& request) {
        asked = request;
        return QStringList{"/t/B.TBL"};
    });
    click(open.of(Kind::Birthday, Add));
    QCOMPARE(asked.folder, h.home.filePath(QStringLiteral("sub")));
    open.list(Kind::Birthday)->setCurrentRow(1); // /t/B.TBL
    StandardDialogs::answerNextFiles([&](const FileRequest& request) {
        asked = request;
        return QStringList();
    });
    click(open.of(Kind::Birthday, Add));
    QCOMPARE(asked.folder, h.home.path());
    delete open.list(Kind::Birthday)->takeItem(4); // only the dialog's own adds count
    open.ok();
    QCOMPARE(h.state.settings.filesOf(Kind::Birthday),
             paths({existing, "/t/B.TBL", "/t/C.TBL", "/t/A.TBL", "/t/B.TBL"}));
}

void TFSetFTest::addGoesToItsOwnKind()
{
    for (std::size_t k = 0; k < kKindCount; ++k) {
        Harness h;
        Open open(h.state);
        const Kind kind = static_cast<Kind>(k);
        StandardDialogs::answerNextFiles([](const FileRequest&) { return QStringList{"/x.TBL"}; });
        click(open.of(kind, Add));
        open.ok();
        for (std::size_t other = 0; other < kKindCount; ++other)
            QVERIFY2(h.state.settings.files[other].size() == (other == k ? 1u : 0u),
                     kNames[k][Add]);
    }
}

void TFSetFTest::removeAndMoveUp()
{
    Harness h;
    const std::string a = touch(h, "A.TBL");
    const std::string b = touch(h, "B.TBL");
    const std::string c = touch(h, "C.TBL");
    auto& events = h.state.settings.filesOf(Kind::Event);
    events = {a, b, c};
    Open open(h.state);
    QListWidget* list = open.list(Kind::Event);

    click(open.of(Kind::Event, Up)); // nothing selected
    click(open.of(Kind::Event, Remove));
    QCOMPARE(events, paths({a, b, c}));
    QCOMPARE(list->count(), 3);

    open.selectRow(Kind::Event, 0);
    click(open.of(Kind::Event, Up)); // already first
    QCOMPARE(list->item(0)->text(), QString::fromStdString(a));

    open.selectRow(Kind::Event, 2);
    click(open.of(Kind::Event, Up));
    QCOMPARE(open.entries(Kind::Event),
             (QStringList{QString::fromStdString(a), QString::fromStdString(c),
                          QString::fromStdString(b)}));
    QVERIFY(list->item(1)->isSelected()); // the moved file stays selected
    click(open.of(Kind::Event, Up));
    QCOMPARE(list->item(0)->text(), QString::fromStdString(c));

    open.selectRow(Kind::Event, 1);
    click(open.of(Kind::Event, Remove));
    QCOMPARE(events.size(), 2u); // at once
    QCOMPARE(list->selectedItems().size(), 0);
    click(open.of(Kind::Event, Remove)); // nothing selected any more
    QCOMPARE(events.size(), 2u);
    open.ok();
    QCOMPARE(events, paths({c, b}));
}

void TFSetFTest::raiseDisplayOrder()
{
    Harness h;
    Open open(h.state);
    click(open.of(Kind::Birthday, Raise)); // first page: nothing
    QCOMPARE(open.orderLabels(), (QStringList{"1", "2", "3", "4", "5"}));

    click(open.of(Kind::Event, Raise));
    QCOMPARE(open.orderLabels(), (QStringList{"1", "3", "2", "4", "5"}));
    QCOMPARE(open.pageOrder(), (QStringList{"BTab", "ETab", "STab", "HTab", "WTab", "HoTab"}));
    QCOMPARE(open.get<QTabWidget>("PageControl1")->currentWidget()->objectName(),
             QStringLiteral("ETab")); // the raised page stays in front
    open.closeBox();
    QCOMPARE(h.state.settings.Jyun, (std::array<std::uint8_t, 5>{1, 3, 2, 4, 5}));

    // The weekly page raised to the front; その他 stays last.
    Open again(h.state);
    for (int i = 0; i < 6; ++i)
        click(again.of(Kind::Week, Raise));
    QCOMPARE(again.pageOrder(), (QStringList{"WTab", "BTab", "ETab", "STab", "HTab", "HoTab"}));
    QCOMPARE(again.orderLabels(), (QStringList{"2", "4", "3", "5", "1"}));
    again.ok();
    QCOMPARE(h.state.settings.Jyun, (std::array<std::uint8_t, 5>{5, 1, 3, 2, 4}));
}

void TFSetFTest::displayOrderFromSettings_data()
{
    QTest::addColumn<QList<int>>("jyun");
    QTest::addColumn<QStringList>("pages");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QList<int>>("stored");
    QTest::newRow("reversed") << QList<int>{5, 4, 3, 2, 1}
                              << QStringList{"WTab", "HTab", "ETab", "STab", "BTab", "HoTab"}
                              << QStringList{"5", "4", "3", "2", "1"} << QList<int>{5, 4, 3, 2, 1};
    QTest::newRow("not a permutation")
        << QList<int>{3, 3, 9, 0, 1} << QStringList{"ETab", "STab", "HTab", "WTab", "BTab", "HoTab"}
        << QStringList{"5", "2", "1", "3", "4"} << QList<int>{3, 2, 4, 5, 1};
    QTest::newRow("all zero") << QList<int>{0, 0, 0, 0, 0}
                              << QStringList{"BTab", "STab", "ETab", "HTab", "WTab", "HoTab"}
                              << QStringList{"1", "2", "3", "4", "5"} << QList<int>{1, 2, 3, 4, 5};
}

void TFSetFTest::displayOrderFromSettings()
{
    QFETCH(QList<int>, jyun);
    QFETCH(QStringList, pages);
    QFETCH(QStringList, labels);
    QFETCH(QList<int>, stored);
    Harness h;
    for (std::size_t slot = 0; slot < 5; ++slot)
        h.state.settings.Jyun[slot] = static_cast<std::uint8_t>(jyun[static_cast<int>(slot)]);
    Open open(h.state);
    QCOMPARE(open.pageOrder(), pages);
    QCOMPARE(open.orderLabels(), labels);
    QCOMPARE(open.get<QTabWidget>("PageControl1")->currentWidget()->objectName(), pages[0]);
    open.closeBox();
    for (std::size_t slot = 0; slot < 5; ++slot)
        QCOMPARE(int(h.state.settings.Jyun[slot]), stored[static_cast<int>(slot)]);
}

void TFSetFTest::repairKeepsValidSlots()
{
    using Order = std::array<std::uint8_t, 5>;
    const struct
    {
        Order in;
        Order out;
    } cases[] = {
        {{1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}}, {{2, 5, 1, 4, 3}, {2, 5, 1, 4, 3}},
        {{3, 3, 9, 0, 1}, {3, 2, 4, 5, 1}}, {{0, 0, 0, 0, 0}, {1, 2, 3, 4, 5}},
        {{2, 2, 2, 2, 2}, {2, 1, 3, 4, 5}}, {{255, 5, 5, 1, 6}, {2, 5, 3, 1, 4}},
    };
    for (const auto& c : cases)
        QCOMPARE(repairDisplayOrder(c.in), c.out);
}

void TFSetFTest::limitOfFilesPerKind()
{
    Harness h;
    const std::string one = touch(h, "ONE.TBL");
    auto& schedules = h.state.settings.filesOf(Kind::Schedule);
    schedules.assign(kMaxFilesPerKind - 1, one);
    Open open(h.state);
    MessageBoxCatcher boxes;
    StandardDialogs::answerNextFiles([](const FileRequest&) {
        return QStringList{"/a.TBL", "/b.TBL", "/c.TBL"};
    });
    click(open.of(Kind::Schedule, Add));
    QCOMPARE(schedules.size(), kMaxFilesPerKind);
    QCOMPARE(open.list(Kind::Schedule)->count(), int(kMaxFilesPerKind));
    QCOMPARE(open.list(Kind::Schedule)->item(int(kMaxFilesPerKind) - 1)->text(),
             QStringLiteral("/a.TBL"));
    QCOMPARE(boxes.shown.size(), 1u);
    QVERIFY(boxes.shown[0].text.contains(QStringLiteral("1024")));
    QVERIFY(boxes.shown[0].text.contains(QStringLiteral("2個")));

    StandardDialogs::answerNextFiles([](const FileRequest&) { return QStringList{"/d.TBL"}; });
    click(open.of(Kind::Schedule, Add)); // full: the 1025th is refused
    QCOMPARE(schedules.size(), kMaxFilesPerKind);
    QCOMPARE(boxes.shown.size(), 2u);
    open.ok();
    QCOMPARE(schedules.size(), kMaxFilesPerKind);
    QCOMPARE(schedules.back(), std::string("/a.TBL"));
}

void TFSetFTest::monthlyFiles()
{
    Harness h;
    Settings& s = h.state.settings;
    s.IncME = 0;
    s.YsenE = 1;
    s.IncMH = 1;
    s.YsenH = 0;
    s.HisMFile = "/h/HIST%m.TBL";
    Open open(h.state);
    auto* incME = open.get<QCheckBox>("IncMNc");
    auto* ysenE = open.get<QCheckBox>("EYsen");
    auto* incMH = open.get<QCheckBox>("IncMHc");
    auto* ysenH = open.get<QCheckBox>("HYsen");
    // IncME off: the rule did not run, so こちらを優先 is enabled and shows YsenE.
    QVERIFY(!incME->isChecked());
    QVERIFY(ysenE->isEnabled());
    QVERIFY(ysenE->isChecked());
    QVERIFY(incMH->isChecked());
    QVERIFY(ysenH->isEnabled());
    QVERIFY(!ysenH->isChecked());
    QCOMPARE(open.get<QLineEdit>("HisM")->text(), QStringLiteral("/h/HIST%m.TBL"));
    QCOMPARE(open.get<QLineEdit>("EveM")->text(), QString::fromStdString(s.EveMFile));

    click(incME);
    click(incME);
    QVERIFY(!ysenE->isChecked());
    QVERIFY(!ysenE->isEnabled());
    click(incMH);
    QVERIFY(!ysenH->isEnabled());

    auto* eveM = open.get<QLineEdit>("EveM");
    showPageOf(eveM);
    eveM->clear();
    QTest::keyClicks(eveM, QStringLiteral("/e/EV%M.TBL"));
    open.closeBox();
    QCOMPARE(int(s.IncME), 0);
    QCOMPARE(int(s.YsenE), 0);
    QCOMPARE(s.EveMFile, std::string("/e/EV%M.TBL"));
    QCOMPARE(int(s.IncMH), 0);
    QCOMPARE(int(s.YsenH), 0);
    QCOMPARE(s.HisMFile, std::string("/h/HIST%m.TBL"));
}

void TFSetFTest::holidayFieldAndShownFields()
{
    Harness h;
    h.state.settings.Holiday = "/old/TIRAHOLI.TBL";
    Open open(h.state);
    auto* field = open.get<QLineEdit>("Syuku");
    QCOMPARE(field->text(), QStringLiteral("/old/TIRAHOLI.TBL"));

    MessageBoxCatcher boxes;
    showPageOf(field);
    QTest::mouseDClick(field, Qt::LeftButton);
    QCOMPARE(boxes.shown.size(), 1u);
    QCOMPARE(boxes.shown[0].text, QStringLiteral("/old/TIRAHOLI.TBL"));
    auto* hisM = open.get<QLineEdit>("HisM");
    showPageOf(hisM);
    QTest::mouseDClick(hisM, Qt::LeftButton);
    QCOMPARE(boxes.shown.size(), 2u);
    QCOMPARE(boxes.shown[1].text, hisM->text());

    StandardDialogs::answerNextFiles([](const FileRequest&) {
        return QStringList{"/new/HOLI.TBL", "/new/OTHER.TBL"};
    });
    click(open.get("Button22"));
    QCOMPARE(field->text(), QStringLiteral("/new/HOLI.TBL"));
    StandardDialogs::answerNextFiles([](const FileRequest&) { return QStringList(); });
    click(open.get("Button22"));
    QCOMPARE(field->text(), QStringLiteral("/new/HOLI.TBL"));
    open.ok();
    QCOMPARE(h.state.settings.Holiday, std::string("/new/HOLI.TBL"));
}

void TFSetFTest::doubleClickShowsPathWithoutEditor()
{
    const struct
    {
        std::uint8_t editOk;
        const char* edit;
    } cases[] = {{0, "gedit"}, {1, ""}};
    for (const auto& c : cases) {
        Harness h;
        const std::string path = touch(h, "WEEK.TBL");
        h.state.settings.filesOf(Kind::Week) = {path};
        h.state.settings.EditOk = c.editOk;
        h.state.settings.Edit = c.edit;
        Open open(h.state);
        MessageBoxCatcher boxes;
        open.doubleClickRow(Kind::Week, 0);
        QCOMPARE(boxes.shown.size(), 1u);
        QCOMPARE(boxes.shown[0].text, QString::fromStdString(path));
        QCOMPARE(boxes.shown[0].title, QStringLiteral("TIRA  Version 0.1.0"));
        QCOMPARE(boxes.shown[0].icon, QMessageBox::NoIcon);
        QCOMPARE(boxes.shown[0].buttons, 1);
    }
}

void TFSetFTest::doubleClickWithoutSelectionDoesNothing()
{
    QTemporaryDir bin;
    const QString editor = writeEditor(bin.path(), QStringLiteral("editor"));
    Harness h;
    h.state.settings.EditOk = 1;
    h.state.settings.Edit = editor.toStdString();
    Open open(h.state);
    MessageBoxCatcher boxes;
    QListWidget* empty = open.list(Kind::History);
    showPageOf(empty);
    QTest::mouseDClick(empty->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    h.state.settings.EditOk = 0;
    QTest::mouseDClick(empty->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QVERIFY(boxes.shown.empty());
    QVERIFY(!QFile::exists(bin.path() + QStringLiteral("/args.txt")));
    QVERIFY(open.dialog.isEnabled());
}

QString TFSetFTest::writeEditor(const QString& folder, const QString& name)
{
    const QString path = folder + u'/' + name;
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly)) return QString();
    const QByteArray dir = folder.toUtf8();
    script.write("#!/bin/sh\n"
                 "{ echo \"$#\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > '" +
                 dir +
                 "/args.txt'\n"
                 "i=0\n"
                 "while [ ! -e '" +
                 dir + "/release' ] && [ $i -lt 600 ]; do sleep 0.05; i=$((i+1)); done\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

void TFSetFTest::runEditorOn(Open& open, Kind kind, int row, const QString& folder)
{
    m_sawDisabled = false;
    m_ticksWhileRunning = 0;
    bool released = false;
    QTimer poll;
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, [&] {
        ++m_ticksWhileRunning; // the program keeps answering while it waits
        if (released) return;
        if (QFile::exists(folder + QStringLiteral("/args.txt")) || m_ticksWhileRunning > 1000) {
            m_sawDisabled = !open.dialog.isEnabled();
            QFile release(folder + QStringLiteral("/release"));
            release.open(QIODevice::WriteOnly);
            released = true;
        }
    });
    poll.start();
    open.doubleClickRow(kind, row);
    poll.stop();
}

void TFSetFTest::editorGetsThePathAsOneArgument()
{
    QTemporaryDir bin;
    const QString editor = writeEditor(bin.path(), QStringLiteral("my editor"));
    Harness h;
    // Were the path handed to a shell, this would remove x.TBL from the working folder.
    const std::string hostile = touch(h, QStringLiteral("a b;rm -rf x.TBL"));
    const std::string bystander = touch(h, QStringLiteral("x.TBL"));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(h.home.path());
    h.state.settings.filesOf(Kind::Birthday) = {bystander, hostile};
    h.state.settings.EditOk = 1;
    h.state.settings.Edit = editor.toStdString();
    {
        Open open(h.state);
        runEditorOn(open, Kind::Birthday, 1, bin.path());
        QVERIFY(m_sawDisabled);
        QVERIFY(m_ticksWhileRunning > 1);
        QVERIFY(open.dialog.isEnabled());
    }
    QDir::setCurrent(previous);
    QFile args(bin.path() + QStringLiteral("/args.txt"));
    QVERIFY(args.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(args.readAll()),
             QStringLiteral("1\n") + QString::fromStdString(hostile) + u'\n');
    QVERIFY(QFile::exists(QString::fromStdString(bystander)));
}

void TFSetFTest::bareEditorNameIsSearchedInPath()
{
    QTemporaryDir bin;
    writeEditor(bin.path(), QStringLiteral("tira-stand-in-editor"));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8() + ':' + path);
    Harness h;
    const std::string table = touch(h, "HIST.TBL");
    h.state.settings.filesOf(Kind::History) = {table};
    h.state.settings.EditOk = 1;
    h.state.settings.Edit = "tira-stand-in-editor";
    {
        Open open(h.state);
        runEditorOn(open, Kind::History, 0, bin.path());
        QVERIFY(m_sawDisabled);
    }
    qputenv("PATH", path);
    QFile args(bin.path() + QStringLiteral("/args.txt"));
    QVERIFY(args.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(args.readAll()),
             QStringLiteral("1\n") + QString::fromStdString(table) + u'\n');
}

// A relative name starting with "-" or "+" would be an option to the editor ("+!cmd" makes vim
// run a command).
void TFSetFTest::editorGetsAnAbsolutePath()
{
    QTemporaryDir bin;
    const QString editor = writeEditor(bin.path(), QStringLiteral("editor"));
    Harness h;
    touch(h, QStringLiteral("-x.TBL"));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(h.home.path());
    h.state.settings.filesOf(Kind::Week) = {"-x.TBL"};
    h.state.settings.EditOk = 1;
    h.state.settings.Edit = editor.toStdString();
    {
        Open open(h.state);
        runEditorOn(open, Kind::Week, 0, bin.path());
    }
    QDir::setCurrent(previous);
    QFile args(bin.path() + QStringLiteral("/args.txt"));
    QVERIFY(args.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(args.readAll()),
             QStringLiteral("1\n") + QDir(h.home.path()).filePath(QStringLiteral("-x.TBL")) +
                 u'\n');
}

void TFSetFTest::failedEditorStartIsSilent()
{
    for (const char* edit : {"/no/such/folder/editor", "no-such-editor-for-tira"}) {
        Harness h;
        h.state.settings.filesOf(Kind::Event) = {touch(h, "EVENT.TBL")};
        h.state.settings.EditOk = 1;
        h.state.settings.Edit = edit;
        Open open(h.state);
        MessageBoxCatcher boxes;
        QElapsedTimer clock;
        clock.start();
        open.doubleClickRow(Kind::Event, 0);
        QVERIFY2(clock.elapsed() < 5000, edit);
        QVERIFY2(open.dialog.isEnabled(), edit);
        QVERIFY2(boxes.shown.empty(), edit);
    }
}

void TFSetFTest::closeBoxUnderExecCopiesOut()
{
    Harness h;
    TFSetF dialog(h.state.settings, h.state.home());
    QTimer::singleShot(0, [&] {
        auto* open = qobject_cast<TFSetF*>(QApplication::activeModalWidget());
        QVERIFY(open);
        StandardDialogs::answerNextFiles([](const FileRequest&) { return QStringList{"/w.TBL"}; });
        click(open->findChild<QPushButton*>(QStringLiteral("Button10")));
        click(open->findChild<QPushButton*>(QStringLiteral("Button13")));
        QTest::keyClick(open, Qt::Key_Escape);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(h.state.settings.filesOf(Kind::Week), paths({"/w.TBL"}));
    QCOMPARE(h.state.settings.Jyun, (std::array<std::uint8_t, 5>{1, 2, 3, 5, 4}));
}

void TFSetFTest::everyControlHasAnAccessibleName()
{
    Harness h;
    TFSetF dialog(h.state.settings, h.state.home());
    tira::test::expectAccessibleNames(dialog);
    // a list says whose files it holds
    QCOMPARE(tira::test::accessibleName(dialog.findChild<QWidget*>(QStringLiteral("BF"))),
             QStringLiteral("誕生日のファイル"));
}

void TFSetFTest::growsWithALargerFont()
{
    Harness h;
    tira::test::expectNothingCutAtLargerFont<TFSetF>(QSize(473, 394), h.state.settings,
                                                     h.state.home());
}

QTEST_MAIN(TFSetFTest)
#include "fset_fm_test.moc"
