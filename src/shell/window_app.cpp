#include "shell/window_app.h"

#include "cli/home_folder.h"
#include "report/clock.h"
#include "shell/app_info.h"
#include "shell/main_fm.h"
#include "shell/platform.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>

namespace tira {

int runWindow(int argc, char** argv)
{
    platform::catchTerminationRequests();
    // Before anything else: a second copy ends at once, with no window and no message.
    const auto instance = platform::acquireInstanceLock(QStringLiteral("MutexObjectForTira"));
    if (!instance) return 0;

    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tira"));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(kVersionText));

    // The standard colour, font, file and message dialogs speak Japanese like the rest.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslator);

    QCommandLineParser parser;
    const QCommandLineOption home(QStringLiteral("home"), QStringLiteral("Home folder."),
                                  QStringLiteral("DIR"));
    parser.addOption(home);
    parser.process(app);
    if (parser.isSet(home) && !QFileInfo(parser.value(home)).isDir()) {
        std::fprintf(stderr, "tira: home folder not found: %s\n",
                     parser.value(home).toLocal8Bit().constData());
        return 2;
    }

    const SystemClock clock;
    TMainF window(resolveHomeFolder(parser.value(home)), clock);
    platform::endOnTerminationRequest();
    return QApplication::exec();
}

} // namespace tira
