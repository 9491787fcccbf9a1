#pragma once

#include <functional>

#include <QString>

class QByteArray;
class QIODevice;

// The file an export, a print into a file or a sound goes to. It is checked before anything is written
// (never the open chord table, never another chord table, never a device, pipe or folder), and it is
// written through a temporary file beside it that replaces it only when complete, so a cancel or a
// failure leaves an existing file as it was.
class ExportZiel
{
public:
    // tabelle: the open chord table's file, empty when none is open.
    explicit ExportZiel(QString pfad, QString tabelle = QString());

    const QString& pfad() const { return m_pfad; }
    // Empty when the target may be written; otherwise why not, in German, naming the file.
    QString Verweigerung() const;
    // False with the reason in fehler (the refusal, or the system's reason for the failure).
    bool Schreiben(const QByteArray& inhalt, QString* fehler) const;
    // schreiber fills a buffer first; it returns false when it was cancelled, and then nothing is
    // written and fehler stays empty.
    bool Schreiben(const std::function<bool(QIODevice&)>& schreiber, QString* fehler) const;

    // The German reason for an errno value of a failed write.
    static QString Grund(int fehler);

private:
    QString m_pfad;
    QString m_tabelle;
};
