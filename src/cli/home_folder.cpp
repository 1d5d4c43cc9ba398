#include "cli/home_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tira {

namespace {

QString helpPageName()
{
    return QStringLiteral("help/index.html");
}

} // namespace

QString resolveHomeFolder(const QString& requested)
{
    if (!requested.isEmpty()) return QDir(requested).absolutePath();
    QString programFolder = QCoreApplication::applicationDirPath();
    if (QFileInfo::exists(QDir(programFolder).filePath(QStringLiteral("TIRA.ini")))) {
        return programFolder;
    }
    // root may write to /usr/bin, which is still no place for settings
    if (installedDataFolder(programFolder).isEmpty() && QFileInfo(programFolder).isWritable())
        return programFolder;
    QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(config);
    return config;
}

QString iniPathIn(const QString& home)
{
    return QDir(home).filePath(QStringLiteral("TIRA.ini"));
}

QString installedDataFolder(const QString& programFolder)
{
    QString data =
        QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral(TIRA_DATA_FROM_BIN)));
    // an installation keeps its data apart from the program; a folder holding both is portable
    if (data == QDir::cleanPath(programFolder)) return QString();
    if (!QFileInfo::exists(QDir(data).filePath(helpPageName()))) return QString();
    return data;
}

QString helpPagePath(const QString& programFolder)
{
    QString beside = QDir(programFolder).filePath(helpPageName());
    if (QFileInfo::exists(beside)) return beside;
    const QString data = installedDataFolder(programFolder);
    if (!data.isEmpty()) return QDir(data).filePath(helpPageName());
    return beside;
}

} // namespace tira
