#pragma once

#include "report/main_state.h"
#include "shell/rich_text_pane.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <memory>
#include <string>

class QAction;
class QSoundEffect;
class QTextEdit;
class QTimer;

namespace tira {

class TAgendaF;

// The main window: shows the daily report in the pane `Info`, counts down to its own close
// and offers the menu commands. It owns every setting and all report state (`m_state`).
class TMainF : public QMainWindow, public ReportWindow
{
    Q_OBJECT

  public:
    // Loads TIRA.ini from `home`, shows the window and builds the first report.
    TMainF(const QString& home, const Clock& clock, QWidget* parent = nullptr);
    ~TMainF() override;
    TMainF(const TMainF&) = delete;
    TMainF& operator=(const TMainF&) = delete;
    TMainF(TMainF&&) = delete;
    TMainF& operator=(TMainF&&) = delete;

    MainState& state() noexcept { return m_state; }
    RichTextPane& pane() noexcept { return m_pane; }
    // The sound of the last alert, or nullptr when none was started.
    const QSoundEffect* sound() const noexcept { return m_sound.get(); }
    // How often a report with a stop entry of the day asked the desktop for attention.
    int attentionRequests() const noexcept { return m_attentionRequests; }

    // The pane's place in a client area: 3 % margins, 94 % size, halves rounded to even.
    static QRect paneGeometry(QSize client);
    // Where the help page is expected: help/index.html beside the program.
    static QString helpPath();

    // ReportWindow: the frame around the pane, the pane background and the alert.
    // final: the constructor paints the frame before the first report
    void setBackground(WinColour colour) final;
    WinColour background() const override { return m_background; }
    void setPaneBackground(WinColour colour) override;
    void playSound(const std::string& path) override;

  public slots:            // NOLINT(readability-redundant-access-specifiers): moc reads the slots
    void R2Click();        // 再表示
    void D1Click();        // 日付を指定して再表示
    void U1Click();        // 今後の予定
    void Exit1Click();     // 終了
    void S1Click();        // 各種設定
    void F1Click();        // ﾌｧｲﾙの設定
    void Contents1Click(); // 目次
    void About1Click();    // ﾊﾞｰｼﾞｮﾝ情報
    void Timer1Timer();    // once a second: new day, top-most, countdown, caption, close

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void FormCreate();
    bool FormClose();
    void FormResize();
    void FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at);

    void buildMenus();
    void applyPlace(int wantedLeft, int wantedTop, int wantedWidth, int wantedHeight);
    void storePlace();
    void applyPaneFont();
    // Tirawa with its error shown in a notice; the window stays usable.
    void buildReport(std::uint8_t flag);
    // Paints what the report left and asks for attention on the day of a stop entry.
    void finishReport();
    bool saveAtClose();
    // Sets the window caption and has a title bar the program draws itself show it at once.
    void setCaption(const QString& caption);

    // A new day on the clock rebuilds a report that shows the clock's date.
    void followTheDay();

    std::string m_iniPath;
    const Clock& m_clock;
    QWidget* m_frame = nullptr;
    QTextEdit* m_info = nullptr; // Info
    QTimer* m_timer = nullptr;   // Timer1
    QAction* m_d1 = nullptr;
    QPointer<TAgendaF> m_agenda; // 今後の予定, while open
    RichTextPane m_pane;
    MainState m_state;
    WinColour m_background = 0;
    std::unique_ptr<QSoundEffect> m_sound;
    bool m_closed = false;
    bool m_saveFailed = false;
    bool m_dateByHand = false; // the report date came from the date dialog
    int m_attentionRequests = 0;
    bool m_hintShown = false; // the pane ends with the hint for a home that lists no table
};

} // namespace tira
