#include "cli/home_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tira {

QString resolveHomeFolder(const QString& requested)
{
    if (!requested.isEmpty()) return QDir(requested).absolutePath();
    const QString programFolder = QCoreApplication::applicationDirPath();
    if (QFileInfo::exists(QDir(programFolder).filePath(QStringLiteral("TIRA.ini"))) ||
        QFileInfo(programFolder).isWritable())
        return programFolder;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(config);
    return config;
}

QString iniPathIn(const QString& home)
{
    return QDir(home).filePath(QStringLiteral("TIRA.ini"));
}

} // namespace tira
