#include "cli/home_folder.h"
#include "shell/platform.h"
#include "support/qt_support.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <memory>

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
    std::unique_ptr<QProcess> start()
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
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
