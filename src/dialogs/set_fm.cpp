#include "dialogs/set_fm.h"

#include "dialogs/dialog_widgets.h"
#include "dialogs/standard_dialogs.h"

#include <QCheckBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cmath>

namespace tira {
namespace {

constexpr int kAutoEndMinimum = 30;
constexpr int kAutoEndMaximum = 600;

std::uint8_t switchValue(const QCheckBox* box)
{
    return box->isChecked() ? 1 : 0;
}

QFont toQFont(const Settings::FontKeys& keys)
{
    QFont font(QString::fromStdString(keys.Name));
    if (keys.Size > 0) font.setPointSize(keys.Size);
    font.setBold((keys.Style & 1) != 0);
    font.setItalic((keys.Style & 2) != 0);
    font.setUnderline((keys.Style & 4) != 0);
    font.setStrikeOut((keys.Style & 8) != 0);
    return font;
}

Settings::FontKeys fromQFont(const QFont& font)
{
    Settings::FontKeys keys;
    keys.Name = font.family().toStdString();
    keys.Size = font.pointSize() > 0 ? font.pointSize()
                                     : static_cast<std::int32_t>(std::lround(font.pointSizeF()));
    keys.Style = (font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) | (font.underline() ? 4 : 0) |
                 (font.strikeOut() ? 8 : 0);
    return keys;
}

template <class Widget> Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QCheckBox* checkBox(QWidget* page, const char* name, const char* caption, bool checked)
{
    auto* box = named(new QCheckBox(QString::fromUtf8(caption), page), name);
    box->setChecked(checked);
    return box;
}

ColourSwatch* swatch(QWidget* parent, const char* name)
{
    return named(new ColourSwatch(parent), name);
}

// A framed row of the 表示 page.
QHBoxLayout* framedRow(QWidget* page, QVBoxLayout* rows)
{
    auto* frame = new QFrame(page);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    rows->addWidget(frame);
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(8, 3, 8, 3);
    return row;
}

// A swatch followed by its caption, one row of a grid.
void addSwatchRow(QGridLayout* grid, int row, ColourSwatch* swatch, QWidget* page,
                  const char* caption)
{
    grid->addWidget(swatch, row, 0);
    grid->addWidget(new QLabel(QString::fromUtf8(caption), page), row, 1);
}

void keepPlaceWhenHidden(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

} // namespace

TSetF::TSetF(MainState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("SetF"));
    setWindowTitle(QStringLiteral("各種設定"));
    setFixedSize(510, 314);

    PageControl1 = named(new QTabWidget(this), "PageControl1");
    const char* const captions[] = {"表示", "終了", "文字", "外枠", "その他"};
    QWidget* pages[5];
    for (int i = 0; i < 5; ++i) {
        pages[i] = new QWidget(PageControl1);
        PageControl1->addTab(pages[i], QString::fromUtf8(captions[i]));
    }
    buildDisplayPage(pages[0]);
    buildExitPage(pages[1]);
    buildTextPage(pages[2]);
    buildFramePage(pages[3]);
    buildOtherPage(pages[4]);

    Button6 = named(new QPushButton(QStringLiteral("Ok"), this), "Button6");
    Button6->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button6);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(PageControl1);
    layout->addLayout(buttons);

    // Rules are connected after the controls have their initial states, so that only the
    // changes made from now on run them.
    connectHandlers();
    FormCreate();
}

void TSetF::buildDisplayPage(QWidget* page)
{
    auto* rows = new QVBoxLayout(page);
    rows->setSpacing(4);

    QHBoxLayout* row = framedRow(page, rows);
    CheckBox4 = checkBox(page, "CheckBox4", "誕生日表示", true);
    CheckBox10 = checkBox(page, "CheckBox10", "年齢表示", true);
    row->addWidget(CheckBox4, 1);
    row->addWidget(CheckBox10, 3);

    row = framedRow(page, rows);
    CheckBox5 = checkBox(page, "CheckBox5", "ｽｹｼﾞｭｰﾙ表示", true);
    CheckBox15 = checkBox(page, "CheckBox15", "ｺﾒﾝﾄ表示", true);
    row->addWidget(CheckBox5, 1);
    row->addWidget(CheckBox15, 3);

    row = framedRow(page, rows);
    CheckBox3 = checkBox(page, "CheckBox3", "ｲﾍﾞﾝﾄ表示", true);
    row->addWidget(CheckBox3);

    row = framedRow(page, rows);
    CheckBox7 = checkBox(page, "CheckBox7", "歴史表示", true);
    CheckBox2 = checkBox(page, "CheckBox2", "生誕, 命日は色をかえる", false);
    Label9 = named(new ClickableLabel(QStringLiteral("生誕"), page), "Label9");
    STAN = swatch(page, "STAN");
    Label10 = named(new ClickableLabel(QStringLiteral("命日"), page), "Label10");
    SMEI = swatch(page, "SMEI");
    row->addWidget(CheckBox7, 1);
    row->addWidget(CheckBox2, 2);
    for (QWidget* widget : {static_cast<QWidget*>(Label9), static_cast<QWidget*>(STAN),
                            static_cast<QWidget*>(Label10), static_cast<QWidget*>(SMEI)}) {
        keepPlaceWhenHidden(widget);
        row->addWidget(widget);
    }
    setFourHistoryColoursVisible(false);

    row = framedRow(page, rows);
    CheckBox6 = checkBox(page, "CheckBox6", "週間表示", true);
    row->addWidget(CheckBox6);
}

void TSetF::buildExitPage(QWidget* page)
{
    auto* layout = new QVBoxLayout(page);
    CheckBox1 = checkBox(page, "CheckBox1", "起動後自動終了", true);
    layout->addWidget(CheckBox1);

    EByou = named(new QLabel(QStringLiteral("30"), page), "EByou");
    QFont bold = EByou->font();
    bold.setBold(true);
    EByou->setFont(bold);
    QPalette navy = EByou->palette();
    navy.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    EByou->setPalette(navy);
    EByou->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    EByou->setMinimumWidth(EByou->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
    UpDown1 = named(new UpDown(page), "UpDown1");
    UpDown1->setRange(kAutoEndMinimum, kAutoEndMaximum);
    UpDown1->setPosition(kAutoEndMinimum);
    auto* seconds = new QHBoxLayout;
    seconds->setContentsMargins(24, 0, 0, 0);
    seconds->addWidget(EByou);
    seconds->addWidget(new QLabel(QStringLiteral("秒"), page));
    seconds->addSpacing(6);
    seconds->addWidget(UpDown1);
    seconds->addStretch();
    layout->addLayout(seconds);

    CheckBox11 = checkBox(page, "CheckBox11", "ｽﾄｯﾌﾟｲﾍﾞﾝﾄがあるときは自動終了解除", false);
    CheckBox12 = checkBox(page, "CheckBox12", "ｽﾄｯﾌﾟｲﾍﾞﾝﾄ前のときは自動終了解除", false);
    auto* indented = new QVBoxLayout;
    indented->setContentsMargins(24, 8, 0, 0);
    indented->addWidget(CheckBox11);
    indented->addWidget(CheckBox12);
    layout->addLayout(indented);
    layout->addStretch();
}

void TSetF::buildTextPage(QWidget* page)
{
    auto* columns = new QHBoxLayout(page);

    auto* left = new QGridLayout;
    SBaseFC = swatch(page, "SBaseFC");
    SStopFC = swatch(page, "SStopFC");
    SZengFC = swatch(page, "SZengFC");
    SBackFC = swatch(page, "SBackFC");
    addSwatchRow(left, 0, SBaseFC, page, "通常文字色");
    addSwatchRow(left, 1, SStopFC, page, "ｽﾄｯﾌﾟｲﾍﾞﾝﾄ日の文字色");
    addSwatchRow(left, 2, SZengFC, page, "ｽﾄｯﾌﾟｲﾍﾞﾝﾄ前の文字色");
    addSwatchRow(left, 3, SBackFC, page, "文字表示部背景色");
    Button11 = named(new QPushButton(QStringLiteral("ﾌｫﾝﾄの変更"), page), "Button11");
    left->addWidget(Button11, 4, 0, 1, 2, Qt::AlignLeft);
    left->setRowStretch(5, 1);
    columns->addLayout(left);
    columns->addSpacing(12);

    auto* right = new QVBoxLayout;
    CheckBox9 = checkBox(page, "CheckBox9", "この設定を優先する", true);
    CheckBox16 = checkBox(page, "CheckBox16", "通常の文字色は各項目ごとかえる", false);
    right->addWidget(CheckBox9);
    right->addWidget(CheckBox16);
    KoumokuG = named(new QGroupBox(QStringLiteral("項目ごとに設定"), page), "KoumokuG");
    keepPlaceWhenHidden(KoumokuG);
    auto* kinds = new QGridLayout(KoumokuG);
    SB = swatch(KoumokuG, "SB");
    SS = swatch(KoumokuG, "SS");
    SE = swatch(KoumokuG, "SE");
    SH = swatch(KoumokuG, "SH");
    SW = swatch(KoumokuG, "SW");
    const struct
    {
        const char* caption;
        ColourSwatch* swatch;
    } kindRows[] = {{"誕生日", SB}, {"ｽｹｼﾞｭｰﾙ", SS}, {"イベント", SE}, {"歴史", SH}, {"週間", SW}};
    for (int i = 0; i < 5; ++i) {
        const int gridRow = i / 2;
        const int gridColumn = (i % 2) * 2;
        kinds->addWidget(new QLabel(QString::fromUtf8(kindRows[i].caption), KoumokuG), gridRow,
                         gridColumn);
        kinds->addWidget(kindRows[i].swatch, gridRow, gridColumn + 1);
    }
    right->addWidget(KoumokuG);
    right->addStretch();
    columns->addLayout(right, 1);
}

void TSetF::buildFramePage(QWidget* page)
{
    auto* layout = new QVBoxLayout(page);
    auto* grid = new QGridLayout;
    SBaseBC = swatch(page, "SBaseBC");
    SStopBC = swatch(page, "SStopBC");
    SZengBC = swatch(page, "SZengBC");
    addSwatchRow(grid, 0, SBaseBC, page, "通常の外枠色");
    addSwatchRow(grid, 1, SStopBC, page, "ｽﾄｯﾌﾟｲﾍﾞﾝﾄ日の外枠色");
    addSwatchRow(grid, 2, SZengBC, page, "ｽﾄｯﾌﾟｲﾍﾞﾝﾄ前の外枠色");
    grid->setColumnStretch(2, 1);
    layout->addLayout(grid);
    layout->addSpacing(8);
    CheckBox14 = checkBox(page, "CheckBox14", "外枠色を変える", false);
    layout->addWidget(CheckBox14);
    layout->addStretch();
}

void TSetF::buildOtherPage(QWidget* page)
{
    auto* layout = new QVBoxLayout(page);

    CheckBox8 = checkBox(page, "CheckBox8", "ｽﾄｯﾌﾟｲﾍﾞﾝﾄは音で知らせる", false);
    Button5 = named(new QPushButton(QStringLiteral("テスト"), page), "Button5");
    Button5->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    Button5->setFixedWidth(Button5->fontMetrics().horizontalAdvance(Button5->text()) + 24);
    auto* soundRow = new QHBoxLayout;
    soundRow->addWidget(CheckBox8);
    soundRow->addWidget(Button5);
    soundRow->addStretch();
    layout->addLayout(soundRow);

    WavF = named(new QLineEdit(page), "WavF");
    WavF->setReadOnly(true);
    WavF->setFocusPolicy(Qt::ClickFocus); // readable, but not a tab stop
    Button4 = named(new QPushButton(QStringLiteral("参照"), page), "Button4");
    auto* wavRow = new QHBoxLayout;
    wavRow->setContentsMargins(24, 0, 0, 0);
    wavRow->addWidget(WavF, 1);
    wavRow->addWidget(Button4);
    layout->addLayout(wavRow);

    layout->addSpacing(6);
    CheckBox13 = checkBox(page, "CheckBox13", "常に一番上に表示する", false);
    layout->addWidget(CheckBox13);
    layout->addSpacing(6);

    CheckBox17 = checkBox(page, "CheckBox17", "データファイルの編集を行う", false);
    layout->addWidget(CheckBox17);
    EditProg = named(new QLineEdit(QString::fromStdString(defaultEditor()), page), "EditProg");
    EditProg->setReadOnly(true);
    Button1 = named(new QPushButton(QStringLiteral("参照"), page), "Button1");
    auto* editRow = new QHBoxLayout;
    editRow->setContentsMargins(24, 0, 0, 0);
    editRow->addWidget(EditProg, 1);
    editRow->addWidget(Button1);
    layout->addLayout(editRow);
    layout->addStretch();
}

void TSetF::connectHandlers()
{
    const struct
    {
        QCheckBox* box;
        void (TSetF::*rule)();
    } rules[] = {
        {CheckBox1, &TSetF::CheckBox1Click},   {CheckBox2, &TSetF::CheckBox2Click},
        {CheckBox4, &TSetF::CheckBox4Click},   {CheckBox5, &TSetF::CheckBox5Click},
        {CheckBox7, &TSetF::CheckBox7Click},   {CheckBox8, &TSetF::CheckBox8Click},
        {CheckBox9, &TSetF::CheckBox9Click},   {CheckBox11, &TSetF::CheckBox11Click},
        {CheckBox16, &TSetF::CheckBox16Click}, {CheckBox17, &TSetF::CheckBox17Click},
    };
    // toggled fires for a click and for a change from code alike, never without a change.
    for (const auto& entry : rules)
        connect(entry.box, &QCheckBox::toggled, this, entry.rule);

    connect(UpDown1, &UpDown::clicked, this, &TSetF::UpDown1Click);
    for (ColourSwatch* plain :
         {SBaseFC, SStopFC, SZengFC, SBackFC, SBaseBC, SStopBC, SZengBC, SB, SS, SE, SH, SW})
        connect(plain, &ColourSwatch::clicked, this, [this, plain] { colourClick(plain, true); });
    connect(STAN, &ColourSwatch::clicked, this, &TSetF::STANClick);
    connect(SMEI, &ColourSwatch::clicked, this, &TSetF::SMEIClick);
    connect(Label9, &ClickableLabel::clicked, this, &TSetF::Label9Click);
    connect(Label10, &ClickableLabel::clicked, this, &TSetF::Label10Click);
    connect(Button11, &QPushButton::clicked, this, &TSetF::Button11Click);
    connect(Button4, &QPushButton::clicked, this, &TSetF::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TSetF::Button5Click);
    connect(Button1, &QPushButton::clicked, this, &TSetF::Button1Click);
    connect(Button6, &QPushButton::clicked, this, &TSetF::Button6Click);
}

void TSetF::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_placed) return;
    m_placed = true;
    centreOnScreen(*this);
}

void TSetF::FormCreate()
{
    const Settings& s = m_state.settings;
    PageControl1->setCurrentIndex(0);

    SBaseBC->setColour(s.BaseB);
    SStopBC->setColour(s.StopB);
    SZengBC->setColour(s.ZengoB);
    SBaseFC->setColour(s.BaseF);
    SStopFC->setColour(s.StopF);
    SZengFC->setColour(s.ZengoF);
    SBackFC->setColour(s.BackF);
    STAN->setColour(s.Tanjyou);
    SMEI->setColour(s.Meinichi);
    SB->setColour(s.BFC);
    SS->setColour(s.SFC);
    SE->setColour(s.EFC);
    SH->setColour(s.HFC);
    SW->setColour(s.WFC);

    m_chosenFont = s.Font;

    // Each of these may run a rule that writes a setting through, so the settings are read
    // afresh after every step.
    CheckBox4->setChecked(s.Birthday != 0);
    CheckBox5->setChecked(s.Schedule != 0);
    CheckBox3->setChecked(s.Event != 0);
    CheckBox7->setChecked(s.History != 0);
    CheckBox6->setChecked(s.Week != 0);
    CheckBox10->setChecked(s.Age != 0);
    CheckBox15->setChecked(s.Comment != 0);

    CheckBox2->setChecked(s.HistMeiTan != 0);
    setFourHistoryColoursVisible(s.HistMeiTan != 0);

    CheckBox16->setChecked(s.Koumoku != 0);
    KoumokuG->setVisible(s.Koumoku != 0);

    if (s.AutoEnd <= 0) {
        CheckBox1->setChecked(false);
    } else {
        CheckBox1->setChecked(true);
        EByou->setText(QString::number(s.AutoEnd));
        UpDown1->setPosition(s.AutoEnd);
    }

    CheckBox11->setChecked(s.StopEnd != 0);
    if (s.StopEnd == 0) CheckBox12->setEnabled(false);
    CheckBox12->setChecked(s.ZengEnd != 0);

    CheckBox9->setChecked(s.Yuusen != 0);
    CheckBox14->setChecked(s.Sotowaku != 0);

    WavF->setText(QString::fromStdString(s.WavFile));
    CheckBox8->setChecked(s.WavOn != 0 && !WavF->text().isEmpty());

    CheckBox13->setChecked(s.TopOn != 0);

    EditProg->setText(QString::fromStdString(s.Edit));
    CheckBox17->setChecked(s.EditOk != 0 && !EditProg->text().isEmpty());

    CheckBox8Click();
    CheckBox9Click();
    CheckBox17Click();
}

void TSetF::Button6Click()
{
    Settings& s = m_state.settings;
    s.Font = m_chosenFont;

    s.BaseB = SBaseBC->colour();
    s.StopB = SStopBC->colour();
    s.ZengoB = SZengBC->colour();
    s.BaseF = SBaseFC->colour();
    s.StopF = SStopFC->colour();
    s.ZengoF = SZengFC->colour();
    s.BackF = SBackFC->colour();
    s.Tanjyou = STAN->colour();
    s.Meinichi = SMEI->colour();
    s.BFC = SB->colour();
    s.SFC = SS->colour();
    s.EFC = SE->colour();
    s.HFC = SH->colour();
    s.WFC = SW->colour();

    s.Birthday = switchValue(CheckBox4);
    s.Schedule = switchValue(CheckBox5);
    s.Event = switchValue(CheckBox3);
    s.History = switchValue(CheckBox7);
    s.HistMeiTan = switchValue(CheckBox2);
    s.Week = switchValue(CheckBox6);
    s.Age = switchValue(CheckBox10);
    s.Comment = switchValue(CheckBox15);

    s.AutoEnd = CheckBox1->isChecked() ? UpDown1->position() : 0;

    s.StopEnd = switchValue(CheckBox11);
    s.ZengEnd = switchValue(CheckBox12);
    s.Yuusen = switchValue(CheckBox9);
    s.Sotowaku = switchValue(CheckBox14);
    s.WavOn = switchValue(CheckBox8);
    s.TopOn = switchValue(CheckBox13);
    s.EditOk = switchValue(CheckBox17);
    s.Koumoku = switchValue(CheckBox16);

    s.WavFile = WavF->text().toStdString();
    s.Edit = EditProg->text().toStdString();
    accept();
}

void TSetF::CheckBox4Click()
{
    if (CheckBox4->isChecked()) {
        CheckBox10->setChecked(true);
        CheckBox10->setEnabled(true);
    } else {
        CheckBox10->setChecked(false);
        CheckBox10->setEnabled(false);
        m_state.settings.Age = 0;
    }
}

void TSetF::CheckBox5Click()
{
    if (CheckBox5->isChecked()) {
        CheckBox15->setChecked(true);
        CheckBox15->setEnabled(true);
    } else {
        CheckBox15->setChecked(false);
        CheckBox15->setEnabled(false);
        m_state.settings.Comment = 0;
    }
}

void TSetF::CheckBox7Click()
{
    if (CheckBox7->isChecked()) {
        CheckBox2->setChecked(true);
        CheckBox2->setEnabled(true);
        setFourHistoryColoursVisible(true);
        m_state.settings.HistMeiTan = 1;
    } else {
        CheckBox2->setChecked(false);
        CheckBox2->setEnabled(false);
        m_state.settings.HistMeiTan = 0;
    }
}

void TSetF::CheckBox2Click()
{
    setFourHistoryColoursVisible(CheckBox2->isChecked());
}

void TSetF::CheckBox1Click()
{
    if (CheckBox1->isChecked()) {
        CheckBox11->setChecked(false);
        CheckBox11->setEnabled(true);
        CheckBox12->setChecked(false);
        CheckBox12->setEnabled(false);
        UpDown1->setEnabled(true);
    } else {
        CheckBox11->setChecked(false);
        CheckBox11->setEnabled(false);
        CheckBox12->setChecked(false);
        CheckBox12->setEnabled(false);
        UpDown1->setEnabled(false);
    }
}

void TSetF::CheckBox11Click()
{
    CheckBox12->setChecked(CheckBox11->isChecked());
    CheckBox12->setEnabled(CheckBox11->isChecked());
}

void TSetF::CheckBox9Click()
{
    if (CheckBox9->isChecked()) {
        CheckBox16->setEnabled(true);
    } else {
        CheckBox16->setChecked(false);
        CheckBox16->setEnabled(false);
    }
}

void TSetF::CheckBox16Click()
{
    KoumokuG->setVisible(CheckBox16->isChecked());
    m_state.settings.Koumoku = switchValue(CheckBox16);
}

void TSetF::CheckBox8Click()
{
    const bool on = CheckBox8->isChecked();
    Button4->setEnabled(on);
    Button5->setEnabled(on);
    WavF->setEnabled(on);
}

void TSetF::CheckBox17Click()
{
    const bool on = CheckBox17->isChecked();
    Button1->setEnabled(on);
    EditProg->setEnabled(on);
}

void TSetF::UpDown1Click(int position)
{
    EByou->setText(QString::number(position));
}

void TSetF::colourClick(ColourSwatch* swatch, bool pressedLook)
{
    if (pressedLook) swatch->setLowered(true);
    const auto chosen =
        StandardDialogs::chooseColour(this, ColourSwatch::toQColor(swatch->colour()));
    if (chosen) swatch->setColour(ColourSwatch::fromQColor(*chosen));
    if (pressedLook) swatch->setLowered(false);
}

void TSetF::STANClick()
{
    STAN->setLowered(true);
    Label9Click();
    STAN->setLowered(false);
}

void TSetF::SMEIClick()
{
    SMEI->setLowered(true);
    Label10Click();
    SMEI->setLowered(false);
}

void TSetF::Label9Click()
{
    colourClick(STAN, false);
}
void TSetF::Label10Click()
{
    colourClick(SMEI, false);
}

void TSetF::Button11Click()
{
    // Preset with the pane's font as it is now, in the colour the base swatch shows.
    const FontChoice preset{toQFont(m_state.settings.Font),
                            ColourSwatch::toQColor(SBaseFC->colour())};
    const auto chosen = StandardDialogs::chooseFont(this, preset);
    if (!chosen) return;
    m_chosenFont = fromQFont(chosen->font);
    SBaseFC->setColour(ColourSwatch::fromQColor(chosen->colour));
}

void TSetF::Button4Click()
{
    const QStringList files = StandardDialogs::chooseFiles(
        this, {QStringLiteral("音データの指定"), {QStringLiteral("Wav files (*.wav)")}, false});
    if (!files.isEmpty()) WavF->setText(files.first());
}

void TSetF::Button5Click()
{
    // The main window's player starts the sound and returns at once.
    if (!WavF->text().isEmpty()) m_state.window().playSound(WavF->text().toStdString());
}

void TSetF::Button1Click()
{
#ifdef _WIN32
    const QString programs = QStringLiteral("Program Files (*.exe)");
#else
    const QString programs = QStringLiteral("Program Files (*)"); // programs carry no suffix
#endif
    const QStringList files = StandardDialogs::chooseFiles(
        this,
        {QStringLiteral("データファイルを編集するテキストエディタの指定"), {programs}, false});
    if (!files.isEmpty()) EditProg->setText(files.first());
}

void TSetF::setFourHistoryColoursVisible(bool visible)
{
    Label9->setVisible(visible);
    Label10->setVisible(visible);
    STAN->setVisible(visible);
    SMEI->setVisible(visible);
}

} // namespace tira
