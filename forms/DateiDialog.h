#pragma once

#include <QString>

#include <functional>

class QWidget;

// The open and save dialogs, behind one seam that tests answer with a path.
struct DateiDialogAnfrage
{
    bool speichern = false;
    QString filter;      // Qt's filter list, "Name (*.ext);;Name (*)"
    QString verzeichnis; // the folder the dialog starts in
    QString endung;      // without dot: appended to a name typed without extension
    // The answer may set the filter it chose; the first one counts otherwise.
    QString* gewaehlterFilter = nullptr;
};

// Answers with the path typed or chosen, empty for a cancelled dialog.
using DateiDialogBeantworter = std::function<QString(const DateiDialogAnfrage&)>;
// Installs the answer (empty: real dialogs again) and returns the previous one.
DateiDialogBeantworter SetzeDateiDialogAntwort(DateiDialogBeantworter answer);

// The chosen chord table, starting in verzeichnis; empty when cancelled. A name typed without
// extension opens that file when it exists, otherwise the one with ".cho".
QString OD_LadenAusfuehren(QWidget* owner, const QString& verzeichnis = QString());
// The name to save a chord table under, ".cho" appended to a name typed without extension; asks before
// that final name is replaced; empty when cancelled.
QString SD_SpeichernAusfuehren(QWidget* owner, const QString& verzeichnis = QString());
// The same for any other file: filter in Qt's form, endung the default extension without dot. A name
// typed without extension gets the extension of the chosen filter (or endung). gewaehlterFilter
// receives the filter chosen.
QString SD_ExportAusfuehren(QWidget* owner, const QString& filter, const QString& endung,
                            QString* gewaehlterFilter = nullptr, const QString& verzeichnis = QString());

// Any file to read, chosen with filter in Qt's form; empty when cancelled.
QString OD_DateiAusfuehren(QWidget* owner, const QString& filter, const QString& verzeichnis = QString());

// The chord-table filter list in Qt's form.
QString grifftabellenFilter();
