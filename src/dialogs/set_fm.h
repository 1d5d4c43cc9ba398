#pragma once

#include "settings/settings.h"

#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace Ui {
class TSetF;
}

namespace tira {

class ColourSwatch;

// One control of 各種設定 and the setting it shows and edits.
struct SetFBinding
{
    enum class Kind
    {
        Switch,  // check box: a byte 0 or 1
        Colour,  // colour swatch
        Text,    // read-only edit with a path
        Seconds, // check box with the up-down UpDown1: AutoEnd, 0 when unchecked
    };
    const char* control = nullptr; // object name
    Kind kind = Kind::Switch;
    std::uint8_t Settings::*flag = nullptr;
    WinColour Settings::*colour = nullptr;
    std::string Settings::*text = nullptr;
    std::int32_t Settings::*seconds = nullptr;
};

// Starts playing a sound file and returns at once (the main window's player).
using PlaySound = std::function<void(const std::string& path)>;

// 各種設定: the general settings dialog. Created with the settings it edits, it copies them
// into its controls; "Ok" copies them back. The close box discards everything but the four
// switches some check boxes write through at once (Age, Comment, HistMeiTan, Koumoku).
// `home` is where the file choices start; `playSound` plays the sound test.
class TSetF : public QDialog
{
    Q_OBJECT
  public:
    TSetF(Settings& settings, std::string home, PlaySound playSound, QWidget* parent = nullptr);
    ~TSetF() override;
    TSetF(const TSetF&) = delete;
    TSetF& operator=(const TSetF&) = delete;
    TSetF(TSetF&&) = delete;
    TSetF& operator=(TSetF&&) = delete;

    // Every control that edits a setting, in the order the dialog copies them in; "Ok"
    // copies them out through the same table.
    static std::span<const SetFBinding> bindings();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void connectHandlers();

    void FormCreate();   // copy in
    void Button6Click(); // "Ok": copy out, close

    // Dependency rules; a state set from code runs them only when it changes.
    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox4Click();
    void CheckBox5Click();
    void CheckBox7Click();
    void CheckBox8Click();
    void CheckBox9Click();
    void CheckBox11Click();
    void CheckBox16Click();
    void CheckBox17Click();

    void UpDown1Click(int position);
    // Colour choice of a swatch; with `pressedLook` it is lowered while the dialog runs.
    void colourClick(ColourSwatch* swatch, bool pressedLook);
    void STANClick();
    void SMEIClick();
    void Label9Click();
    void Label10Click();
    void Button11Click(); // font choice
    void Button4Click();  // sound file choice
    void Button5Click();  // sound test
    void Button1Click();  // editor choice

    void setFourHistoryColoursVisible(bool visible);

    Settings& m_settings;
    std::string m_home;
    PlaySound m_playSound;
    Settings::FontKeys m_chosenFont; // the pane font until a font is chosen
    std::unique_ptr<Ui::TSetF> m_ui; // the controls, named as in the settings they edit
    bool m_placed = false;
};

} // namespace tira
