#include "shell/main_fm.h"

#include "cli/first_start.h"
#include "cli/home_folder.h"
#include "dialogs/about_fm.h"
#include "dialogs/agenda_fm.h"
#include "dialogs/fset_fm.h"
#include "dialogs/hi_fm.h"
#include "dialogs/qt_helpers.h"
#include "dialogs/set_fm.h"
#include "shell/platform.h"
#include "text/file_error.h"
#include "text/paths.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QSoundEffect>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <algorithm>

namespace tira {

namespace {

constexpr int kMinimumWidth = 120; // a hand-edited Place never gives a window too small to use
constexpr int kMinimumHeight = 120;
constexpr int kMaximumSize = 16384; // only when there is no screen to fit into

// The window's size within `room`: the size wanted, but at least a usable one where the room
// allows it.
QSize fittedSize(int wantedWidth, int wantedHeight, QSize room)
{
    return {std::clamp(wantedWidth, std::min(kMinimumWidth, room.width()), room.width()),
            std::clamp(wantedHeight, std::min(kMinimumHeight, room.height()), room.height())};
}

// round(value × percent / 100) in integers, halves to the even neighbour.
int percentOf(int value, int percent)
{
    const long long product = static_cast<long long>(value) * percent;
    long long quotient = product / 100;
    const long long remainder = product % 100;
    if (remainder > 50 || (remainder == 50 && quotient % 2 != 0)) ++quotient;
    return static_cast<int>(quotient);
}

// The countdown stands still while a modal dialog of the main window is open.
class DialogPause
{
  public:
    explicit DialogPause(MainState& state) : m_state(state), m_before(state.countdownEnabled)
    {
        m_state.countdownEnabled = 0;
    }
    ~DialogPause() { m_state.countdownEnabled = m_before; } // 今後の予定 may still hold it
    DialogPause(const DialogPause&) = delete;
    DialogPause& operator=(const DialogPause&) = delete;
    DialogPause(DialogPause&&) = delete;
    DialogPause& operator=(DialogPause&&) = delete;

  private:
    MainState& m_state;
    std::uint8_t m_before;
};

} // namespace

TMainF::TMainF(const QString& home, const Clock& clock, QWidget* parent)
    : QMainWindow(parent), m_iniPath(iniPathIn(home.toStdString())), m_clock(clock),
      m_frame(new QWidget(this)), m_info(new QTextEdit(m_frame)), m_timer(new QTimer(this)),
      m_pane(*m_info), m_state(home.toStdString(), m_pane, *this, clock)
{
    setObjectName(QStringLiteral("MainF"));
    m_frame->setObjectName(QStringLiteral("Frame"));
    m_frame->setAutoFillBackground(true);
    m_frame->installEventFilter(this);
    setCentralWidget(m_frame);

    m_info->setObjectName(QStringLiteral("Info"));
    m_info->setAccessibleName(QStringLiteral("今日のお知らせ"));
    m_info->setReadOnly(true);
    m_info->setFocusPolicy(Qt::ClickFocus);
    m_info->setTabChangesFocus(true);
    m_info->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_info->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_info->setLineWrapMode(QTextEdit::WidgetWidth);
    m_info->setFont(reportFont(Settings::FontKeys{}));

    setWindowIcon(QIcon(programPicture()));
    setBackground(0); // black until the first report
    buildMenus();

    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &TMainF::Timer1Timer);
    m_timer->start();

    // A session that ends without closing the window still keeps its settings.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (m_closed) return;
        m_closed = true;
        storePlace();
        try {
            saveSettings(m_state.settings, m_iniPath);
        } catch (const std::exception&) { // nobody is left to tell
        }
    });

    FormCreate();
}

TMainF::~TMainF() = default;

void TMainF::buildMenus()
{
    auto addItem = [this](QMenu* menu, const char* name, const QString& caption,
                          void (TMainF::*handler)(), const QKeySequence& shortcut = {}) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        // shown beside the caption by the menu; the caption itself stays as it is
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    QMenu* file1 = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    file1->setObjectName(QStringLiteral("File1"));
    addItem(file1, "R2", QStringLiteral("再表示(&R)"), &TMainF::R2Click, QKeySequence(Qt::Key_F5));
    m_d1 = addItem(file1, "D1", QStringLiteral("日付を指定して再表示(&D)"), &TMainF::D1Click);
    m_d1->setVisible(false); // revealed by Shift + right click on the frame
    addItem(file1, "U1", QStringLiteral("今後の予定(&U)…"), &TMainF::U1Click,
            QKeySequence(Qt::CTRL | Qt::Key_U));
    file1->addSeparator()->setObjectName(QStringLiteral("N1"));
    addItem(file1, "Exit1", QStringLiteral("終了(&X)"), &TMainF::Exit1Click,
            QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* option1 = menuBar()->addMenu(QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    option1->setObjectName(QStringLiteral("Option1"));
    addItem(option1, "S1", QStringLiteral("各種設定(&S)"), &TMainF::S1Click);
    addItem(option1, "F1", QStringLiteral("ﾌｧｲﾙの設定(&F)"), &TMainF::F1Click);

    QMenu* help1 = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    help1->setObjectName(QStringLiteral("Help1"));
    // No shortcut: the help switches the automatic exit off for good, never by accident.
    addItem(help1, "Contents1", QStringLiteral("目次(&C)"), &TMainF::Contents1Click);
    addItem(help1, "About1", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"), &TMainF::About1Click);
}

void TMainF::FormCreate()
{
    setWindowTitle(applicationTitle());

    m_state.settings = loadSettings(m_iniPath, m_state.home());
    const Settings::PlaceKeys& place = m_state.settings.Place;
    applyPlace(place.Left, place.Top, place.Width, place.Height);
    setPaneBackground(m_state.settings.BackF);
    platform::setStaysOnTop(*this, m_state.settings.TopOn != 0); // before the native window exists
    show();
    applyPlace(x(), y(), width(), height()); // again, now that the frame is known
    applyPaneFont();
    // The keys scroll the report from the start; the pane is still no tab stop.
    m_info->setFocus(Qt::OtherFocusReason);

    m_state.countdownEnabled = 1;
    try {
        m_state.Tirawa(1);
        finishReport();
    } catch (const TableFileError& error) {
        finishReport(); // the lines so far stay
        // told once the window is up and the event loop runs
        const QString text = QString::fromStdString(error.what());
        QTimer::singleShot(0, this, [this, text] { showPlainMessage(this, text); });
    }
}

void TMainF::applyPlace(int wantedLeft, int wantedTop, int wantedWidth, int wantedHeight)
{
    // Plain integers: Place values from the file may be anything a 32-bit number holds.
    QScreen* screen = QGuiApplication::screenAt(QPoint(wantedLeft, wantedTop));
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) { // no screen at all: take the values as they are
        move(wantedLeft, wantedTop);
        resize(fittedSize(wantedWidth, wantedHeight, QSize(kMaximumSize, kMaximumSize)));
        return;
    }
    // Fit the window, with its frame once it has one, into the screen it starts on, so that
    // it can always be seen and used.
    const QRect available = screen->availableGeometry();
    const QSize decoration = frameGeometry().size() - size();
    const QSize size = fittedSize(wantedWidth, wantedHeight,
                                  QSize(std::max(available.width() - decoration.width(), 1),
                                        std::max(available.height() - decoration.height(), 1)));
    const int width = size.width();
    const int height = size.height();
    const int left =
        std::clamp(wantedLeft, available.left(),
                   std::max(available.left(), available.right() + 1 - width - decoration.width()));
    const int top = std::clamp(
        wantedTop, available.top(),
        std::max(available.top(), available.bottom() + 1 - height - decoration.height()));
    move(left, top);
    resize(width, height);
}

void TMainF::storePlace()
{
    const bool normal = !isMinimized() && !isMaximized() && !isFullScreen();
    const QRect frame = normal ? QRect(pos(), size()) : normalGeometry();
    Settings::PlaceKeys& place = m_state.settings.Place;
    // A Wayland client neither places its window nor learns where it is: the saved place
    // stays for the next X11 or Windows session.
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        place.Left = std::max(frame.left(), 0);
        place.Top = std::max(frame.top(), 0);
    }
    place.Width = frame.width() <= 350 ? 350 : frame.width();
    place.Height = frame.height() <= 400 ? 400 : frame.height();
}

void TMainF::applyPaneFont()
{
    const Settings& settings = m_state.settings;
    const QFont font = reportFont(settings.Font);
    m_info->setFont(font);
    QPalette palette = m_info->palette();
    palette.setColor(QPalette::Text, toQColor(settings.BaseF));
    m_info->setPalette(palette);

    // Character height of the default attributes: point size × pixels per inch ÷ 72.
    QFont defaultFont = font;
    defaultFont.setPixelSize(std::max(1, font.pointSize() * logicalDpiY() / 72));
    m_pane.setDefaultFont(defaultFont);
    m_pane.setDefaultColour(settings.BaseF);
}

void TMainF::buildReport(std::uint8_t flag)
{
    if (flag == 1) m_dateByHand = false;
    try {
        m_state.Tirawa(flag);
        finishReport();
    } catch (const TableFileError& error) {
        finishReport(); // the lines so far stay
        showPlainMessage(this, QString::fromStdString(error.what()));
    }
}

void TMainF::finishReport()
{
    // a new home is told how to start, below the report and in the default colour
    const auto hint = firstStartHint(m_state.settings, m_state.home(), programFolder());
    m_hintShown = !hint.empty();
    if (m_hintShown) {
        m_pane.resetAttributes();
        m_pane.appendLine("");
    }
    for (const std::string& line : hint)
        m_pane.appendLine(line);
    m_pane.finish();
    // A window that came up behind others is not missed on the day of a stop entry.
    if (m_state.report.stopToday != 0) {
        ++m_attentionRequests;
        QApplication::alert(this);
    }
}

void TMainF::setBackground(WinColour colour)
{
    m_background = colour;
    QPalette palette = m_frame->palette();
    palette.setColor(QPalette::Window, toQColor(colour));
    m_frame->setPalette(palette);
}

void TMainF::setPaneBackground(WinColour colour)
{
    QPalette palette = m_info->palette();
    palette.setColor(QPalette::Base, toQColor(colour));
    m_info->setPalette(palette);
}

void TMainF::playSound(const std::string& path)
{
    std::string completed = path;
    completeProgramPath(completed, m_state.home());
    const QString file = QString::fromStdString(fromFsPath(toFsPath(completed)));
    if (m_sound) m_sound->stop();
    m_sound.reset();
    // Only an existing, readable file is handed to the player; a folder or a missing file
    // gives no sound and no message. A file that is not a WAV fails inside the player.
    const QFileInfo info(file);
    if (!info.isFile() || !info.isReadable()) return;
    if (platform::playWavAsync(info.absoluteFilePath())) return;
    m_sound = std::make_unique<QSoundEffect>();
    m_sound->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    m_sound->play(); // starts once loaded; the report does not wait
}

QRect TMainF::paneGeometry(QSize client)
{
    return QRect(percentOf(client.width(), 3), percentOf(client.height(), 3),
                 percentOf(client.width(), 94), percentOf(client.height(), 94));
}

QString TMainF::helpPath()
{
    // beside the program, or installed
    return QString::fromStdString(helpPagePath(programFolder()));
}

void TMainF::FormResize()
{
    m_info->setGeometry(paneGeometry(m_frame->size()));
}

void TMainF::FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at)
{
    // Only on the frame itself: a click that lands on the pane does not count.
    if (button == Qt::RightButton && modifiers.testFlag(Qt::ShiftModifier) &&
        m_frame->childAt(at) == nullptr)
        m_d1->setVisible(true);
}

void TMainF::keyPressEvent(QKeyEvent* event)
{
    // With the focus nowhere else (after a click on the frame, say), the reading keys still
    // scroll the report. A key the focused pane left is not sent back to it.
    if (m_info->hasFocus()) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End: QCoreApplication::sendEvent(m_info, event); return;
    default: QMainWindow::keyPressEvent(event);
    }
}

bool TMainF::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_frame) {
        if (event->type() == QEvent::Resize) {
            FormResize();
        } else if (event->type() == QEvent::MouseButtonPress) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            FormMouseDown(mouse->button(), mouse->modifiers(), mouse->position().toPoint());
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainF::R2Click()
{
    buildReport(1);
}

void TMainF::D1Click()
{
    {
        DialogPause pause(m_state);
        THiF dialog(m_state.reportDate, this);
        if (dialog.exec() == QDialog::Accepted) m_dateByHand = true;
    }
    buildReport(0); // the date the dialog left, also after its close box
}

void TMainF::U1Click()
{
    if (m_agenda != nullptr) {
        m_agenda->raise();
        m_agenda->activateWindow();
        return;
    }
    m_agenda = new TAgendaF(m_state, this);
    m_agenda->setAttribute(Qt::WA_DeleteOnClose);
    // the window stays while the list is read
    m_state.countdownEnabled = 0;
    connect(m_agenda, &QDialog::finished, this, [this] { m_state.countdownEnabled = 1; });
    m_agenda->show();
}

void TMainF::Exit1Click()
{
    close();
}

void TMainF::S1Click()
{
    {
        DialogPause pause(m_state);
        TSetF dialog(
            m_state.settings, m_state.home(), [this](const std::string& path) { playSound(path); },
            this);
        dialog.exec();
    }
    applyPaneFont();
    platform::setStaysOnTop(*this, m_state.settings.TopOn != 0);
    if (m_state.settings.TopOn == 0) platform::releaseTopMost(*this);
    buildReport(1);
}

void TMainF::F1Click()
{
    {
        DialogPause pause(m_state);
        TFSetF dialog(m_state.settings, m_state.home(), this);
        dialog.exec();
    }
    // file-list changes show at the next report; the start hint goes once a table is listed
    if (m_hintShown && firstStartHint(m_state.settings, m_state.home(), programFolder()).empty())
        buildReport(1);
}

void TMainF::Contents1Click()
{
    // Someone reading the help should not see the window vanish, now or at later starts.
    m_state.settings.AutoEnd = 0;
    m_state.countdown = kHeldCountdown;
    QDesktopServices::openUrl(QUrl::fromLocalFile(helpPath()));
}

void TMainF::About1Click()
{
    DialogPause pause(m_state);
    TAboutBox box(QString::fromUtf8(kProgramName), QString::fromUtf8(kVersionText), this);
    box.exec();
}

void TMainF::Timer1Timer()
{
    if (m_closed) return;
    const bool enabled = m_state.countdownEnabled == 1;
    // While a dialog is open the new day waits for its close.
    if (enabled) followTheDay();
    if (m_state.settings.TopOn != 0 && enabled) platform::keepTopMost(*this);

    std::int32_t& countdown = m_state.countdown;
    if (countdown >= 1 && countdown <= 600) {
        if (enabled) --countdown;
        setCaption(applicationTitle() + QStringLiteral("  (") + QString::number(countdown) +
                   QStringLiteral(")"));
    } else if (countdown != 0) {
        setCaption(applicationTitle()); // held
    } else if (enabled) {
        close(); // expired; while a dialog is open the close waits for it
    }
}

void TMainF::followTheDay()
{
    // Asked every second: a window left open overnight, or a machine woken from sleep, shows
    // the new day's report within a second of the date change.
    if (m_dateByHand) return;
    const ClockReading now = m_clock.now();
    if (now.date != m_state.reportDate) buildReport(1);
}

void TMainF::setCaption(const QString& caption)
{
    if (caption == windowTitle()) return;
    setWindowTitle(caption);
    // Under Wayland the title bar is drawn by the program into the window's own frames, and
    // only when the window paints: without a paint the count would stand still until the
    // pointer touched the window. One pixel is enough to have the bar painted again.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        update(QRect(0, 0, 1, 1));
}

void TMainF::closeEvent(QCloseEvent* event)
{
    if (m_closed || FormClose()) {
        m_closed = true;
        m_timer->stop();
        event->accept();
    } else {
        event->ignore();
    }
}

bool TMainF::FormClose()
{
    storePlace();
    return saveAtClose();
}

bool TMainF::saveAtClose()
{
    QString message;
    try {
        saveSettings(m_state.settings, m_iniPath);
        return true;
    } catch (const std::exception& error) {
        message = QString::fromStdString(error.what());
    }
    // The window stays open once, so the notice is read; the expired countdown is held so
    // that no further close (and notice) follows a second later. A second close goes through.
    const bool firstFailure = !m_saveFailed;
    m_saveFailed = true;
    m_state.countdown = kHeldCountdown;
    showPlainMessage(this, message);
    return !firstFailure;
}

} // namespace tira
