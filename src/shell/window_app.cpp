#include "shell/window_app.h"

#include "dialogs/qt_helpers.h"
#include "report/clock.h"
#include "shell/main_fm.h"
#include "shell/platform.h"
#include "shell/show_requests.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace tira {

namespace {

constexpr const char* kInstanceName = "MutexObjectForTira";

constexpr const char* kNoDisplay = "tira: ディスプレイがありません。tira --print を使ってください "
                                   "(no display; use tira --print)\n";

// True where the window would need an X11 or Wayland display and none is named. A platform
// chosen through QT_QPA_PLATFORM (offscreen, vnc …) knows what it needs.
bool noDisplayNamed()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    return qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
           qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return false;
#endif
}

struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};

// Qt's messages while it connects to the display: held back, since a display that cannot be
// opened ends in a fatal message (an abort) that the user should see as one plain line.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables)
std::vector<HeldMessage> g_heldMessages;

void holdStartUpMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        std::fputs(kNoDisplay, stderr);
        std::_Exit(1);
    }
    g_heldMessages.push_back({type, QByteArray(context.category), text});
}

void releaseStartUpMessages()
{
    qInstallMessageHandler(nullptr);
    for (const HeldMessage& held : g_heldMessages) {
        const QMessageLogContext context(nullptr, 0, nullptr, held.category.constData());
        qt_message_output(held.type, context, held.text);
    }
    g_heldMessages.clear();
}

} // namespace

int runWindow(int argc, char** argv, const std::string& home)
{
    if (noDisplayNamed()) {
        std::fputs(kNoDisplay, stderr);
        return 1;
    }
    platform::catchTerminationRequests();
    const QString instanceName = QString::fromLatin1(kInstanceName);
    QString lockProblem;
    const auto instance = platform::acquireInstanceLock(instanceName, &lockProblem);
    if (!instance) {
        // A second copy asks the running one to show its window and ends without a word.
        const QCoreApplication core(argc, argv);
        platform::allowAnotherCopyToComeForward();
        askToShow(platform::showRequestName(instanceName));
        return 0;
    }
    if (!lockProblem.isEmpty()) {
        const QByteArray line = "tira: 二重起動を防げません。ロックなしで開きます "
                                "(no single-instance lock: " +
                                lockProblem.toLocal8Bit() + "; starting without it)\n";
        std::fputs(line.constData(), stderr);
    }

    qInstallMessageHandler(holdStartUpMessage);
    QApplication app(argc, argv);
    releaseStartUpMessages();
    QCoreApplication::setApplicationName(QStringLiteral("tira"));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(kVersionText));

    // The standard colour, font, file and message dialogs speak Japanese like the rest.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslator);

    const SystemClock clock;
    TMainF window(QString::fromStdString(home), clock);
    std::unique_ptr<ShowRequestServer> showRequests;
    if (lockProblem.isEmpty())
        showRequests =
            std::make_unique<ShowRequestServer>(platform::showRequestName(instanceName), window);
    platform::endOnTerminationRequest();
    return QApplication::exec();
}

} // namespace tira
