#pragma once

#include "report/main_state.h"
#include "settings/settings.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace tira {

class ClickableLabel;
class ColourSwatch;
class UpDown;

// 各種設定: the general settings dialog. Created with the main window's state, it copies
// the settings into its controls; "Ok" copies them back. The close box discards everything
// but the four switches some check boxes write through at once (Age, Comment, HistMeiTan,
// Koumoku).
class TSetF : public QDialog
{
    Q_OBJECT
  public:
    explicit TSetF(MainState& state, QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildDisplayPage(QWidget* page);
    void buildExitPage(QWidget* page);
    void buildTextPage(QWidget* page);
    void buildFramePage(QWidget* page);
    void buildOtherPage(QWidget* page);
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

    MainState& m_state;
    Settings::FontKeys m_chosenFont; // the pane font until a font is chosen

    QTabWidget* PageControl1 = nullptr;
    // 表示
    QCheckBox* CheckBox4 = nullptr;  // 誕生日表示: Birthday
    QCheckBox* CheckBox10 = nullptr; // 年齢表示: Age
    QCheckBox* CheckBox5 = nullptr;  // ｽｹｼﾞｭｰﾙ表示: Schedule
    QCheckBox* CheckBox15 = nullptr; // ｺﾒﾝﾄ表示: Comment
    QCheckBox* CheckBox3 = nullptr;  // ｲﾍﾞﾝﾄ表示: Event
    QCheckBox* CheckBox7 = nullptr;  // 歴史表示: History
    QCheckBox* CheckBox2 = nullptr;  // 生誕, 命日は色をかえる: HistMeiTan
    ClickableLabel* Label9 = nullptr;
    ColourSwatch* STAN = nullptr; // Tanjyou
    ClickableLabel* Label10 = nullptr;
    ColourSwatch* SMEI = nullptr;   // Meinichi
    QCheckBox* CheckBox6 = nullptr; // 週間表示: Week
    // 終了
    QCheckBox* CheckBox1 = nullptr; // 起動後自動終了: AutoEnd > 0
    QLabel* EByou = nullptr;        // the seconds of UpDown1
    UpDown* UpDown1 = nullptr;
    QCheckBox* CheckBox11 = nullptr; // StopEnd
    QCheckBox* CheckBox12 = nullptr; // ZengEnd
    // 文字
    ColourSwatch* SBaseFC = nullptr; // BaseF
    ColourSwatch* SStopFC = nullptr; // StopF
    ColourSwatch* SZengFC = nullptr; // ZengoF
    ColourSwatch* SBackFC = nullptr; // BackF
    QPushButton* Button11 = nullptr; // ﾌｫﾝﾄの変更
    QCheckBox* CheckBox9 = nullptr;  // この設定を優先する: Yuusen
    QCheckBox* CheckBox16 = nullptr; // 通常の文字色は各項目ごとかえる: Koumoku
    QGroupBox* KoumokuG = nullptr;
    ColourSwatch* SB = nullptr; // BFC
    ColourSwatch* SS = nullptr; // SFC
    ColourSwatch* SE = nullptr; // EFC
    ColourSwatch* SH = nullptr; // HFC
    ColourSwatch* SW = nullptr; // WFC
    // 外枠
    ColourSwatch* SBaseBC = nullptr; // BaseB
    ColourSwatch* SStopBC = nullptr; // StopB
    ColourSwatch* SZengBC = nullptr; // ZengoB
    QCheckBox* CheckBox14 = nullptr; // 外枠色を変える: Sotowaku
    // その他
    QCheckBox* CheckBox8 = nullptr;  // ｽﾄｯﾌﾟｲﾍﾞﾝﾄは音で知らせる: WavOn
    QPushButton* Button5 = nullptr;  // テスト
    QLineEdit* WavF = nullptr;       // WavFile
    QPushButton* Button4 = nullptr;  // 参照 (sound)
    QCheckBox* CheckBox13 = nullptr; // 常に一番上に表示する: TopOn
    QCheckBox* CheckBox17 = nullptr; // データファイルの編集を行う: EditOk
    QLineEdit* EditProg = nullptr;   // Edit
    QPushButton* Button1 = nullptr;  // 参照 (editor)

    QPushButton* Button6 = nullptr; // Ok
    bool m_placed = false;
};

} // namespace tira
