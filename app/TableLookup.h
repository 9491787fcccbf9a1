#pragma once

#include <QString>
#include <QStringList>

// Finds a chord table given by a relative name: in the working folder first, then in further folders
// in turn (beside the program, the installed data folder).
class TableLookup
{
public:
    // The working folder only.
    TableLookup() = default;
    explicit TableLookup(QStringList folders);

    // Beside the executable, then the data folder relative to it, then the data folder of the
    // configured install prefix.
    static TableLookup installed();

    // The absolute path of the first folder's file of that name; an absolute name, or one found
    // nowhere, comes back unchanged so that the open reports it by the name it was given.
    QString find(const QString& name) const;

    const QStringList& folders() const { return m_folders; }

private:
    QStringList m_folders;
};
