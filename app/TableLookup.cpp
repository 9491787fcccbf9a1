#include "app/TableLookup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <utility>

TableLookup::TableLookup(QStringList folders) : m_folders(std::move(folders)) {}

TableLookup TableLookup::installed()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    QStringList folders{programFolder};
    // The relative data folder keeps a package that was installed under another prefix working.
    folders << QDir::cleanPath(programFolder + QStringLiteral("/" ZW_DATA_DIR_FROM_BIN));
    folders << QStringLiteral(ZW_DATA_DIR);
    folders.removeDuplicates();
    return TableLookup(folders);
}

QString TableLookup::find(const QString& name) const
{
    if (name.isEmpty() || QDir::isAbsolutePath(name))
        return name;
    const QFileInfo inWorkingFolder(QDir::current().absoluteFilePath(name));
    if (inWorkingFolder.isFile())
        return inWorkingFolder.absoluteFilePath();
    for (const QString& folder : m_folders) {
        const QFileInfo candidate(QDir(folder).absoluteFilePath(name));
        if (candidate.isFile())
            return candidate.absoluteFilePath();
    }
    return name;
}
