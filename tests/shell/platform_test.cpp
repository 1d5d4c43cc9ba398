#include "cli/home_folder.h"
#include "shell/platform.h"
#include "shell/show_requests.h"
#include "support/qt_support.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <functional>
#include <memory>
#ifndef _WIN32
#include <unistd.h>
#endif

using namespace tira;
using tira::test::readFile;
using tira::test::writeTextFile;

class PlatformTest : public QObject
{
    Q_OBJECT

  private:
    QTemporaryDir m_runtime; // stands in for the user's runtime folder
    QTemporaryDir m_home;
    QByteArray m_savedRuntime;

    QString lockPath() const
    {
        QDir dir(m_runtime.path());
        const QStringList locks = dir.entryList({QStringLiteral("MutexObjectForTira*.lock")});
        return locks.isEmpty() ? QString() : dir.filePath(locks.first());
    }

    // A started copy of the program on the offscreen platform over the test home.
    // `adjust` changes its environment; with `readErrors` its error output is kept to read.
    std::unique_ptr<QProcess> start(const std::function<void(QProcessEnvironment&)>& adjust = {},
                                    bool readErrors = false)
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        if (adjust) adjust(environment);
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(readErrors ? QProcess::SeparateChannels
                                                  : QProcess::ForwardedErrorChannel);
        process->start(QStringLiteral(TIRA_EXE), {QStringLiteral("--home"), m_home.path()});
        return process;
    }

    // Waits until a copy has taken the single-instance lock.
    bool waitForLock(qint64 pid)
    {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 20000) {
            const QString path = lockPath();
            if (!path.isEmpty() && readFile(path).startsWith(QByteArray::number(pid) + '\n'))
                return true;
            QTest::qWait(50);
        }
        return false;
    }

  private slots:
    void initTestCase()
    {
        QVERIFY(m_runtime.isValid());
        QVERIFY(m_home.isValid());
        m_savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
    }

    void cleanupTestCase()
    {
        if (m_savedRuntime.isEmpty())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", m_savedRuntime);
    }

    void lockIsHeldUntilReleased()
    {
        auto first = platform::acquireInstanceLock(QStringLiteral("MutexObjectForTira"));
        QVERIFY(first);
        QVERIFY(!lockPath().isEmpty());
        QVERIFY(!platform::acquireInstanceLock(QStringLiteral("MutexObjectForTira")));
        QVERIFY(platform::acquireInstanceLock(QStringLiteral("OtherName"))); // names differ
        first.reset();
        QVERIFY(lockPath().isEmpty() || !QFileInfo::exists(lockPath())); // released and removed
        QVERIFY(platform::acquireInstanceLock(QStringLiteral("MutexObjectForTira")));
    }

    // Never in a folder that other users can write to: they could keep the program from ever
    // starting by putting something in the lock's place.
    void lockLivesOnlyInAPrivateFolder()
    {
        QTemporaryDir cache;
        QTemporaryDir shared;
        QVERIFY(QFile::setPermissions(shared.path(), QFile::Permissions(0x7777)));
        const QByteArray savedCache = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", cache.path().toLocal8Bit());
        const QString cacheLocks = cache.filePath(QStringLiteral("tira"));
        const struct
        {
            const char* name;
            QString runtime;
            QString folder;
        } cases[] = {
            {"private runtime folder", m_runtime.path(), m_runtime.path()},
            {"runtime folder others may write to", shared.path(), cacheLocks},
            {"no runtime folder", QString(), cacheLocks},
        };
        for (const auto& c : cases) {
            if (c.runtime.isEmpty())
                qunsetenv("XDG_RUNTIME_DIR");
            else
                qputenv("XDG_RUNTIME_DIR", c.runtime.toLocal8Bit());
            auto lock = platform::acquireInstanceLock(QStringLiteral("LockPlaceTest"));
            QVERIFY2(lock, c.name);
            const QStringList pattern{QStringLiteral("LockPlaceTest*.lock")};
            QVERIFY2(QDir(c.folder).entryList(pattern).size() == 1, c.name);
            QVERIFY2(QDir(shared.path()).entryList(pattern).isEmpty(), c.name);
            QVERIFY2(!platform::acquireInstanceLock(QStringLiteral("LockPlaceTest")), c.name);
        }
        QCOMPARE(QFileInfo(cacheLocks).permissions() & 0x0077, QFile::Permissions());
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
        if (savedCache.isEmpty())
            qunsetenv("XDG_CACHE_HOME");
        else
            qputenv("XDG_CACHE_HOME", savedCache);
    }

    // Whatever a lock file of no live copy holds, it is taken over; a lock folder of the
    // user's with loose modes is tightened; with no safe place the lock is missing, and said.
    void staleOrUnsafeLockPlaces()
    {
#ifdef _WIN32
        QSKIP("a named mutex has no place to go stale");
#else
        QTemporaryDir cache;
        const QString folder = cache.filePath(QStringLiteral("tira"));
        const QString lock = folder + QStringLiteral("/StaleTest-") + QString::number(::getuid()) +
                             QStringLiteral(".lock");
        const QByteArray savedCache = qgetenv("XDG_CACHE_HOME");
        qunsetenv("XDG_RUNTIME_DIR");
        const struct
        {
            const char* name;
            std::function<void()> prepare;
            bool locked;
        } cases[] = {
            // QFile permission bits: 0x7000 the owner, 0x0070 the group, 0x0007 others
            {"loose cache folder",
             [&] { QFile::setPermissions(folder, QFile::Permissions(0x7555)); }, true},
            {"cache folder closed to the user",
             [&] { QFile::setPermissions(folder, QFile::Permissions(0x5000)); }, true},
            {"empty file", [&] { writeTextFile(lock, QString()); }, true},
            {"garbage", [&] { writeTextFile(lock, QStringLiteral("\x01junk\n-7\n")); }, true},
            {"another live process",
             [&] { writeTextFile(lock, QString::number(::getppid()) + "\ntira\n"); }, true},
            {"folder", [&] { QDir().mkpath(lock + QStringLiteral("/inside")); }, true},
            {"link", [&] { QFile::link(cache.path(), lock); }, true},
            {"cache is a file",
             [&] {
                 qputenv("XDG_CACHE_HOME", lock.toLocal8Bit());
                 writeTextFile(lock, QString());
             },
             false},
        };
        for (const auto& c : cases) {
            QDir(folder).removeRecursively();
            qputenv("XDG_CACHE_HOME", cache.path().toLocal8Bit());
            QDir().mkdir(folder);
            c.prepare();
            QString problem;
            auto held = platform::acquireInstanceLock(QStringLiteral("StaleTest"), &problem);
            QVERIFY2(held, c.name);
            QCOMPARE(problem.isEmpty(), c.locked);
            if (!c.locked) continue;
            QVERIFY2(readFile(lock).startsWith(
                         QByteArray::number(QCoreApplication::applicationPid()) + '\n'),
                     c.name);
            QCOMPARE(QFileInfo(folder).permissions() & 0x7077, QFile::Permissions(0x7000));
            QVERIFY2(!platform::acquireInstanceLock(QStringLiteral("StaleTest")), c.name);
        }
        // the program without a safe lock: a window all the same, and one line on stderr
        auto process = start(
            [&](QProcessEnvironment& environment) {
                environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
                environment.insert(QStringLiteral("XDG_CACHE_HOME"), lock);
            },
            true);
        QByteArray errors;
        QTRY_VERIFY_WITH_TIMEOUT(
            (errors += process->readAllStandardError()).contains("(no single-instance lock: "),
            20000);
        QCOMPARE(process->state(), QProcess::Running);
        process->terminate();
        QVERIFY(process->waitForFinished(10000));
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
        if (savedCache.isEmpty())
            qunsetenv("XDG_CACHE_HOME");
        else
            qputenv("XDG_CACHE_HOME", savedCache);
#endif
    }

    // A later start brings the running window out of the minimised state.
    void showRequestBringsTheWindowForward()
    {
        const QString name = platform::showRequestName(QStringLiteral("ShowTest"));
        QVERIFY(!name.isEmpty());
        QVERIFY(!askToShow(name)); // nobody listens yet
        QWidget window;
        window.showMinimized();
        QVERIFY(window.isMinimized());
        const ShowRequestServer server(name, window);
        QVERIFY(server.isListening());
        QVERIFY(askToShow(name));
        QTRY_VERIFY(!window.isMinimized());
        QVERIFY(window.isVisible());
    }

    void programFolderIsTheExecutablesFolder()
    {
        // found without Qt, it must agree with Qt
        QCOMPARE(QString::fromStdString(programFolder()), QCoreApplication::applicationDirPath());
    }

    void topMostKeepsPlaceAndVisibility()
    {
        QWidget window;
        window.setGeometry(40, 50, 300, 200);
        window.show();
        platform::keepTopMost(window);
        QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.isVisible());
        QCOMPARE(window.geometry(), QRect(40, 50, 300, 200));
        platform::keepTopMost(window); // again: nothing changes
        QVERIFY(window.isVisible());
        platform::releaseTopMost(window);
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.isVisible());
        QCOMPARE(window.geometry(), QRect(40, 50, 300, 200));
    }

    void secondCopyEndsAtOnceAndFirstKeepsRunning()
    {
        auto first = start();
        QVERIFY(first->waitForStarted());
        QVERIFY(waitForLock(first->processId()));

        QElapsedTimer took;
        took.start();
        auto second = start();
        QVERIFY(second->waitForFinished(10000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QVERIFY(took.elapsed() < 5000);
        QCOMPARE(first->state(), QProcess::Running);

        // The system asking the first copy to end closes it the ordinary way: settings saved.
        QFile::remove(m_home.filePath(QStringLiteral("TIRA.ini")));
        first->terminate();
        QVERIFY(first->waitForFinished(10000));
        QCOMPARE(first->exitStatus(), QProcess::NormalExit);
        QCOMPARE(first->exitCode(), 0);
        QVERIFY(readFile(m_home.filePath(QStringLiteral("TIRA.ini"))).contains("[Common]"));
    }

    // A request to end is never lost: not while the program starts, and not while the message
    // of a failed save waits for an answer.
    void terminationEndsTheProgramWhateverItIsDoing()
    {
        for (const int delay : {0, 30, 150}) { // in the middle of start-up
            auto starting = start();
            QVERIFY(starting->waitForStarted());
            QTest::qWait(delay);
            starting->terminate();
            QVERIFY2(starting->waitForFinished(10000), QByteArray::number(delay));
        }

        // the countdown closes the window, the save fails (its temporary file cannot be made)
        // and the message holds the window open
        writeTextFile(m_home.filePath(QStringLiteral("TIRA.ini")),
                      QStringLiteral("[Common]\nAutoEnd=1\n"));
        const QByteArray old = readFile(m_home.filePath(QStringLiteral("TIRA.ini")));
        QVERIFY(QDir(m_home.path()).mkdir(QStringLiteral("TIRA.ini.tmp")));
        auto held = start();
        QVERIFY(held->waitForStarted());
        QVERIFY(waitForLock(held->processId()));
        QTest::qWait(3000);
        QCOMPARE(held->state(), QProcess::Running);
        held->terminate();
        QVERIFY(held->waitForFinished(5000));
        QCOMPARE(readFile(m_home.filePath(QStringLiteral("TIRA.ini"))), old);
        QDir(m_home.path()).rmdir(QStringLiteral("TIRA.ini.tmp"));
        QFile::remove(m_home.filePath(QStringLiteral("TIRA.ini")));
    }

    void lockOfACrashedCopyDoesNotBlock()
    {
        auto crashed = start();
        QVERIFY(crashed->waitForStarted());
        QVERIFY(waitForLock(crashed->processId()));
        crashed->kill(); // SIGKILL: no clean-up at all
        QVERIFY(crashed->waitForFinished(10000));
        QVERIFY(!lockPath().isEmpty()); // the lock file is left behind

        auto next = start();
        QVERIFY(next->waitForStarted());
        QVERIFY(waitForLock(next->processId()));
        QCOMPARE(next->state(), QProcess::Running);
        next->terminate();
        QVERIFY(next->waitForFinished(10000));
    }
};

QTEST_MAIN(PlatformTest)
#include "platform_test.moc"
