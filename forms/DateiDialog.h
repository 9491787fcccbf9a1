#pragma once

#include <QString>

#include <functional>

class QWidget;

// The open and save dialogs for chord tables, behind one seam that tests answer with a path.
struct DateiDialogAnfrage
{
    bool speichern = false;
    QString filter; // Qt's form of "Zupfwerk Grifftabellen (*.cho)|*.cho|Alle Dateien (*.*)|*.*"
};

// Answers with the path typed or chosen, empty for a cancelled dialog.
using DateiDialogBeantworter = std::function<QString(const DateiDialogAnfrage&)>;
// Installs the answer (empty: real dialogs again) and returns the previous one.
DateiDialogBeantworter SetzeDateiDialogAntwort(DateiDialogBeantworter answer);

// The chosen path, with ".cho" appended to a name typed without extension; empty when cancelled.
// The save dialog asks before an existing file is overwritten.
QString OD_LadenAusfuehren(QWidget* owner);
QString SD_SpeichernAusfuehren(QWidget* owner);

// The filter list turned into Qt's form.
QString grifftabellenFilter();
