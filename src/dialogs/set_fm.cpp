#include "dialogs/set_fm.h"

#include "dialogs/dialog_widgets.h"
#include "dialogs/qt_helpers.h"
#include "dialogs/standard_dialogs.h"
#include "ui_set_fm.h"

#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <array>
#include <cmath>
#include <utility>

namespace tira {
namespace {

constexpr int kAutoEndMinimum = 30;
constexpr int kAutoEndMaximum = 600;
constexpr QSize kClientSize(510, 314); // at the default font

std::uint8_t switchValue(const QCheckBox* box)
{
    return box->isChecked() ? 1 : 0;
}

QFont toQFont(const Settings::FontKeys& keys)
{
    QFont font(QString::fromStdString(keys.Name));
    if (keys.Size > 0) font.setPointSize(keys.Size);
    applyFontStyle(font, keys.Style);
    return font;
}

Settings::FontKeys fromQFont(const QFont& font)
{
    Settings::FontKeys keys;
    keys.Name = font.family().toStdString();
    keys.Size = font.pointSize() > 0 ? font.pointSize()
                                     : static_cast<std::int32_t>(std::lround(font.pointSizeF()));
    keys.Style = fontStyleBits(font);
    return keys;
}

void keepPlaceWhenHidden(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

// The seconds of the automatic exit: bold navy where navy reads, room for three digits.
void styleSeconds(QLabel& label)
{
    QFont bold = label.font();
    bold.setBold(true);
    label.setFont(bold);
    setEmphasisColour(label, QColor(0x00, 0x00, 0x80));
    label.setMinimumWidth(label.fontMetrics().horizontalAdvance(QStringLiteral("0000")));
}

} // namespace

TSetF::~TSetF() = default;

TSetF::TSetF(Settings& settings, std::string home, PlaySound playSound, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_home(std::move(home)),
      m_playSound(std::move(playSound)), m_ui(std::make_unique<Ui::TSetF>())
{
    m_ui->setupUi(this);
    for (QWidget* widget : {static_cast<QWidget*>(m_ui->Label9), static_cast<QWidget*>(m_ui->STAN),
                            static_cast<QWidget*>(m_ui->Label10), static_cast<QWidget*>(m_ui->SMEI),
                            static_cast<QWidget*>(m_ui->KoumokuG)})
        keepPlaceWhenHidden(widget);
    setFourHistoryColoursVisible(false);
    styleSeconds(*m_ui->EByou);
    m_ui->UpDown1->setRange(kAutoEndMinimum, kAutoEndMaximum);
    m_ui->UpDown1->setPosition(kAutoEndMinimum);
    m_ui->EditProg->setText(QString::fromStdString(defaultEditor()));
    fitToContents(*this, kClientSize);

    // Rules are connected after the controls have their initial states, so that only the
    // changes made from now on run them.
    connectHandlers();
    FormCreate();
}

void TSetF::connectHandlers()
{
    const struct
    {
        QCheckBox* box;
        void (TSetF::*rule)();
    } rules[] = {
        {m_ui->CheckBox1, &TSetF::CheckBox1Click},   {m_ui->CheckBox2, &TSetF::CheckBox2Click},
        {m_ui->CheckBox4, &TSetF::CheckBox4Click},   {m_ui->CheckBox5, &TSetF::CheckBox5Click},
        {m_ui->CheckBox7, &TSetF::CheckBox7Click},   {m_ui->CheckBox8, &TSetF::CheckBox8Click},
        {m_ui->CheckBox9, &TSetF::CheckBox9Click},   {m_ui->CheckBox11, &TSetF::CheckBox11Click},
        {m_ui->CheckBox16, &TSetF::CheckBox16Click}, {m_ui->CheckBox17, &TSetF::CheckBox17Click},
    };
    // toggled fires for a click and for a change from code alike, never without a change.
    for (const auto& entry : rules)
        connect(entry.box, &QCheckBox::toggled, this, entry.rule);

    connect(m_ui->UpDown1, &UpDown::clicked, this, &TSetF::UpDown1Click);
    for (ColourSwatch* plain :
         {m_ui->SBaseFC, m_ui->SStopFC, m_ui->SZengFC, m_ui->SBackFC, m_ui->SBaseBC, m_ui->SStopBC,
          m_ui->SZengBC, m_ui->SB, m_ui->SS, m_ui->SE, m_ui->SH, m_ui->SW})
        connect(plain, &ColourSwatch::clicked, this, [this, plain] { colourClick(plain, true); });
    connect(m_ui->STAN, &ColourSwatch::clicked, this, &TSetF::STANClick);
    connect(m_ui->SMEI, &ColourSwatch::clicked, this, &TSetF::SMEIClick);
    connect(m_ui->Label9, &ClickableLabel::clicked, this, &TSetF::Label9Click);
    connect(m_ui->Label10, &ClickableLabel::clicked, this, &TSetF::Label10Click);
    connect(m_ui->Button11, &QPushButton::clicked, this, &TSetF::Button11Click);
    connect(m_ui->Button4, &QPushButton::clicked, this, &TSetF::Button4Click);
    connect(m_ui->Button5, &QPushButton::clicked, this, &TSetF::Button5Click);
    connect(m_ui->Button1, &QPushButton::clicked, this, &TSetF::Button1Click);
    connect(m_ui->Button6, &QPushButton::clicked, this, &TSetF::Button6Click);
}

void TSetF::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_placed) return;
    m_placed = true;
    fitToContents(*this, kClientSize); // again, now that the style has polished every control
    centreOnScreen(*this);
}

namespace {

using K = SetFBinding::Kind;

// A binding with its control as the dialog holds it: a colour swatch, a check box or an edit
// (as its kind says), and for a switch that shows as on only with an edit filled, that edit.
struct BoundControl
{
    SetFBinding binding;
    ColourSwatch* Ui::TSetF::*swatch = nullptr;
    QCheckBox* Ui::TSetF::*box = nullptr;
    QLineEdit* Ui::TSetF::*edit = nullptr;
    QLineEdit* Ui::TSetF::*needsText = nullptr;
};

// In the order of copying in: a check box set from code runs its rule, and the rules reach
// other controls and write some settings through.
constexpr BoundControl kBoundControls[] = {
    {.binding = {.control = "SBaseBC", .kind = K::Colour, .colour = &Settings::BaseB},
     .swatch = &Ui::TSetF::SBaseBC},
    {.binding = {.control = "SStopBC", .kind = K::Colour, .colour = &Settings::StopB},
     .swatch = &Ui::TSetF::SStopBC},
    {.binding = {.control = "SZengBC", .kind = K::Colour, .colour = &Settings::ZengoB},
     .swatch = &Ui::TSetF::SZengBC},
    {.binding = {.control = "SBaseFC", .kind = K::Colour, .colour = &Settings::BaseF},
     .swatch = &Ui::TSetF::SBaseFC},
    {.binding = {.control = "SStopFC", .kind = K::Colour, .colour = &Settings::StopF},
     .swatch = &Ui::TSetF::SStopFC},
    {.binding = {.control = "SZengFC", .kind = K::Colour, .colour = &Settings::ZengoF},
     .swatch = &Ui::TSetF::SZengFC},
    {.binding = {.control = "SBackFC", .kind = K::Colour, .colour = &Settings::BackF},
     .swatch = &Ui::TSetF::SBackFC},
    {.binding = {.control = "STAN", .kind = K::Colour, .colour = &Settings::Tanjyou},
     .swatch = &Ui::TSetF::STAN},
    {.binding = {.control = "SMEI", .kind = K::Colour, .colour = &Settings::Meinichi},
     .swatch = &Ui::TSetF::SMEI},
    {.binding = {.control = "SB", .kind = K::Colour, .colour = &Settings::BFC},
     .swatch = &Ui::TSetF::SB},
    {.binding = {.control = "SS", .kind = K::Colour, .colour = &Settings::SFC},
     .swatch = &Ui::TSetF::SS},
    {.binding = {.control = "SE", .kind = K::Colour, .colour = &Settings::EFC},
     .swatch = &Ui::TSetF::SE},
    {.binding = {.control = "SH", .kind = K::Colour, .colour = &Settings::HFC},
     .swatch = &Ui::TSetF::SH},
    {.binding = {.control = "SW", .kind = K::Colour, .colour = &Settings::WFC},
     .swatch = &Ui::TSetF::SW},
    {.binding = {.control = "CheckBox4", .kind = K::Switch, .flag = &Settings::Birthday},
     .box = &Ui::TSetF::CheckBox4},
    {.binding = {.control = "CheckBox5", .kind = K::Switch, .flag = &Settings::Schedule},
     .box = &Ui::TSetF::CheckBox5},
    {.binding = {.control = "CheckBox3", .kind = K::Switch, .flag = &Settings::Event},
     .box = &Ui::TSetF::CheckBox3},
    {.binding = {.control = "CheckBox7", .kind = K::Switch, .flag = &Settings::History},
     .box = &Ui::TSetF::CheckBox7},
    {.binding = {.control = "CheckBox6", .kind = K::Switch, .flag = &Settings::Week},
     .box = &Ui::TSetF::CheckBox6},
    {.binding = {.control = "CheckBox10", .kind = K::Switch, .flag = &Settings::Age},
     .box = &Ui::TSetF::CheckBox10},
    {.binding = {.control = "CheckBox15", .kind = K::Switch, .flag = &Settings::Comment},
     .box = &Ui::TSetF::CheckBox15},
    {.binding = {.control = "CheckBox2", .kind = K::Switch, .flag = &Settings::HistMeiTan},
     .box = &Ui::TSetF::CheckBox2},
    {.binding = {.control = "CheckBox16", .kind = K::Switch, .flag = &Settings::Koumoku},
     .box = &Ui::TSetF::CheckBox16},
    {.binding = {.control = "CheckBox1", .kind = K::Seconds, .seconds = &Settings::AutoEnd},
     .box = &Ui::TSetF::CheckBox1},
    {.binding = {.control = "CheckBox11", .kind = K::Switch, .flag = &Settings::StopEnd},
     .box = &Ui::TSetF::CheckBox11},
    {.binding = {.control = "CheckBox12", .kind = K::Switch, .flag = &Settings::ZengEnd},
     .box = &Ui::TSetF::CheckBox12},
    {.binding = {.control = "CheckBox9", .kind = K::Switch, .flag = &Settings::Yuusen},
     .box = &Ui::TSetF::CheckBox9},
    {.binding = {.control = "CheckBox14", .kind = K::Switch, .flag = &Settings::Sotowaku},
     .box = &Ui::TSetF::CheckBox14},
    {.binding = {.control = "WavF", .kind = K::Text, .text = &Settings::WavFile},
     .edit = &Ui::TSetF::WavF},
    {.binding = {.control = "CheckBox8", .kind = K::Switch, .flag = &Settings::WavOn},
     .box = &Ui::TSetF::CheckBox8,
     .needsText = &Ui::TSetF::WavF},
    {.binding = {.control = "CheckBox13", .kind = K::Switch, .flag = &Settings::TopOn},
     .box = &Ui::TSetF::CheckBox13},
    {.binding = {.control = "EditProg", .kind = K::Text, .text = &Settings::Edit},
     .edit = &Ui::TSetF::EditProg},
    {.binding = {.control = "CheckBox17", .kind = K::Switch, .flag = &Settings::EditOk},
     .box = &Ui::TSetF::CheckBox17,
     .needsText = &Ui::TSetF::EditProg},
};

constexpr auto kBindings = [] {
    std::array<SetFBinding, std::size(kBoundControls)> bindings{};
    for (std::size_t i = 0; i < bindings.size(); ++i)
        bindings[i] = kBoundControls[i].binding;
    return bindings;
}();

} // namespace

std::span<const SetFBinding> TSetF::bindings()
{
    return kBindings;
}

void TSetF::FormCreate()
{
    m_ui->PageControl1->setCurrentIndex(0);
    m_chosenFont = m_settings.Font;

    // The settings are read afresh at every step: a rule may have written one through.
    const Settings& s = m_settings;
    const Ui::TSetF& ui = *m_ui;
    for (const BoundControl& bound : kBoundControls) {
        const SetFBinding& binding = bound.binding;
        switch (binding.kind) {
        case SetFBinding::Kind::Colour: (ui.*bound.swatch)->setColour(s.*binding.colour); break;
        case SetFBinding::Kind::Text:
            (ui.*bound.edit)->setText(QString::fromStdString(s.*binding.text));
            break;
        case SetFBinding::Kind::Switch: {
            const bool filled =
                bound.needsText == nullptr || !(ui.*bound.needsText)->text().isEmpty();
            (ui.*bound.box)->setChecked(s.*binding.flag != 0 && filled);
            break;
        }
        case SetFBinding::Kind::Seconds: {
            const std::int32_t seconds = s.*binding.seconds;
            (ui.*bound.box)->setChecked(seconds > 0);
            // switched off, the seconds keep their last position for the next time
            if (seconds > 0) {
                m_ui->EByou->setText(QString::number(seconds));
                m_ui->UpDown1->setPosition(seconds);
            }
            break;
        }
        }
    }
    // What a check box set to the state it already had does not do by its rule.
    setFourHistoryColoursVisible(m_ui->CheckBox2->isChecked());
    m_ui->KoumokuG->setVisible(m_ui->CheckBox16->isChecked());
    if (s.StopEnd == 0) m_ui->CheckBox12->setEnabled(false);
    CheckBox8Click();
    CheckBox9Click();
    CheckBox17Click();
}

void TSetF::Button6Click()
{
    Settings& s = m_settings;
    s.Font = m_chosenFont;
    const Ui::TSetF& ui = *m_ui;
    for (const BoundControl& bound : kBoundControls) {
        const SetFBinding& binding = bound.binding;
        switch (binding.kind) {
        case SetFBinding::Kind::Colour: s.*binding.colour = (ui.*bound.swatch)->colour(); break;
        case SetFBinding::Kind::Text:
            s.*binding.text = (ui.*bound.edit)->text().toStdString();
            break;
        case SetFBinding::Kind::Switch: s.*binding.flag = switchValue(ui.*bound.box); break;
        case SetFBinding::Kind::Seconds:
            s.*binding.seconds = (ui.*bound.box)->isChecked() ? m_ui->UpDown1->position() : 0;
            break;
        }
    }
    accept();
}

void TSetF::CheckBox4Click()
{
    enableUnder(*m_ui->CheckBox10, m_ui->CheckBox4->isChecked(), true);
    if (!m_ui->CheckBox4->isChecked()) m_settings.Age = 0;
}

void TSetF::CheckBox5Click()
{
    enableUnder(*m_ui->CheckBox15, m_ui->CheckBox5->isChecked(), true);
    if (!m_ui->CheckBox5->isChecked()) m_settings.Comment = 0;
}

void TSetF::CheckBox7Click()
{
    const bool on = m_ui->CheckBox7->isChecked();
    enableUnder(*m_ui->CheckBox2, on, true);
    if (on) setFourHistoryColoursVisible(true);
    m_settings.HistMeiTan = on ? 1 : 0;
}

void TSetF::CheckBox2Click()
{
    setFourHistoryColoursVisible(m_ui->CheckBox2->isChecked());
}

void TSetF::CheckBox1Click()
{
    const bool on = m_ui->CheckBox1->isChecked();
    m_ui->CheckBox11->setChecked(false);
    enableUnder(*m_ui->CheckBox11, on);
    enableUnder(*m_ui->CheckBox12, false);
    m_ui->UpDown1->setEnabled(on);
}

void TSetF::CheckBox11Click()
{
    enableUnder(*m_ui->CheckBox12, m_ui->CheckBox11->isChecked(), true);
}

void TSetF::CheckBox9Click()
{
    enableUnder(*m_ui->CheckBox16, m_ui->CheckBox9->isChecked());
}

void TSetF::CheckBox16Click()
{
    m_ui->KoumokuG->setVisible(m_ui->CheckBox16->isChecked());
    m_settings.Koumoku = switchValue(m_ui->CheckBox16);
}

void TSetF::CheckBox8Click()
{
    const bool on = m_ui->CheckBox8->isChecked();
    m_ui->Button4->setEnabled(on);
    m_ui->Button5->setEnabled(on);
    m_ui->WavF->setEnabled(on);
}

void TSetF::CheckBox17Click()
{
    const bool on = m_ui->CheckBox17->isChecked();
    m_ui->Button1->setEnabled(on);
    m_ui->EditProg->setEnabled(on);
}

void TSetF::UpDown1Click(int position)
{
    m_ui->EByou->setText(QString::number(position));
}

void TSetF::colourClick(ColourSwatch* swatch, bool pressedLook)
{
    if (pressedLook) swatch->setLowered(true);
    const auto chosen = StandardDialogs::chooseColour(this, toQColor(swatch->colour()));
    if (chosen) swatch->setColour(fromQColor(*chosen));
    if (pressedLook) swatch->setLowered(false);
}

void TSetF::STANClick()
{
    m_ui->STAN->setLowered(true);
    Label9Click();
    m_ui->STAN->setLowered(false);
}

void TSetF::SMEIClick()
{
    m_ui->SMEI->setLowered(true);
    Label10Click();
    m_ui->SMEI->setLowered(false);
}

void TSetF::Label9Click()
{
    colourClick(m_ui->STAN, false);
}
void TSetF::Label10Click()
{
    colourClick(m_ui->SMEI, false);
}

void TSetF::Button11Click()
{
    // Preset with the pane's font as it is now, in the colour the base swatch shows.
    const FontChoice preset{toQFont(m_settings.Font), toQColor(m_ui->SBaseFC->colour())};
    const auto chosen = StandardDialogs::chooseFont(this, preset);
    if (!chosen) return;
    m_chosenFont = fromQFont(chosen->font);
    m_ui->SBaseFC->setColour(fromQColor(chosen->colour));
}

void TSetF::Button4Click()
{
    const QStringList files = StandardDialogs::chooseFiles(
        this, {QStringLiteral("音データの指定"),
               {QStringLiteral("Wav files (*.wav)")},
               false,
               browseFolder(m_ui->WavF->text(), QString::fromStdString(m_home))});
    if (!files.isEmpty()) m_ui->WavF->setText(files.first());
}

void TSetF::Button5Click()
{
    // The main window's player starts the sound and returns at once.
    if (!m_ui->WavF->text().isEmpty() && m_playSound) m_playSound(m_ui->WavF->text().toStdString());
}

void TSetF::Button1Click()
{
#ifdef _WIN32
    const QString programs = QStringLiteral("Program Files (*.exe)");
#else
    const QString programs = QStringLiteral("Program Files (*)"); // programs carry no suffix
#endif
    const QStringList files = StandardDialogs::chooseFiles(
        this, {QStringLiteral("データファイルを編集するテキストエディタの指定"),
               {programs},
               false,
               browseFolder(m_ui->EditProg->text(), QString::fromStdString(m_home))});
    if (!files.isEmpty()) m_ui->EditProg->setText(files.first());
}

void TSetF::setFourHistoryColoursVisible(bool visible)
{
    m_ui->Label9->setVisible(visible);
    m_ui->Label10->setVisible(visible);
    m_ui->STAN->setVisible(visible);
    m_ui->SMEI->setVisible(visible);
}

} // namespace tira
