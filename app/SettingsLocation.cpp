#include "app/SettingsLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString SettingsLocation::choose(const QString& programFolder, const QString& configFolder)
{
    const QFileInfo folder(programFolder);
    if (folder.isDir() && folder.isWritable())
        return QDir(programFolder).filePath(fileName());
    QDir().mkpath(configFolder);
    return QDir(configFolder).filePath(fileName());
}

QString SettingsLocation::userConfigFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Zupfwerk");
}
