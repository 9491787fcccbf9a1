#include "forms/DateiDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <utility>

#include "forms/MeldungZeigen.h"

namespace {

DateiDialogBeantworter& installed()
{
    static DateiDialogBeantworter answer;
    return answer;
}

// The extension of a filter's first pattern ("Bilder (*.png)" gives "png"), empty for "*".
QString filterExtension(const QString& filter)
{
    const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    const QRegularExpressionMatch match = pattern.match(filter);
    return match.hasMatch() ? match.captured(1).toLower() : QString();
}

QString withExtension(const QString& path, const QString& endung)
{
    if (path.isEmpty() || endung.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + endung;
}

// chosen receives the filter chosen; it outlives the call, since request keeps pointing at it.
QString dialogRun(QWidget* owner, DateiDialogAnfrage& request, QString& chosen)
{
    chosen.clear();
    request.gewaehlterFilter = &chosen;
    QString path;
    if (installed()) {
        path = installed()(request);
    } else {
        // Qt's own dialog asks about the typed name; the name that is written is asked about below.
        const QFileDialog::Options options =
            request.speichern ? QFileDialog::DontConfirmOverwrite : QFileDialog::Options();
        path = request.speichern
                   ? QFileDialog::getSaveFileName(owner, QString(), request.verzeichnis, request.filter, &chosen,
                                                  options)
                   : QFileDialog::getOpenFileName(owner, QString(), request.verzeichnis, request.filter, &chosen,
                                                  options);
    }
    if (chosen.isEmpty())
        chosen = request.filter.section(QStringLiteral(";;"), 0, 0);
    return path;
}

bool replaceAllowed(QWidget* owner, const QString& path)
{
    if (!QFileInfo::exists(path))
        return true;
    return MeldungZeigen(owner, 2,
                         QStringLiteral("Die Datei '%1' ist schon vorhanden. Soll sie ersetzt werden?")
                             .arg(QDir::toNativeSeparators(path)),
                         QStringLiteral("Speichern unter"), 0) == 6;
}

// Runs the save dialog until a name is chosen that may be written, or the dialog is cancelled.
QString saveRun(QWidget* owner, DateiDialogAnfrage request, QString* gewaehlterFilter)
{
    QString chosen;
    for (;;) {
        const QString typed = dialogRun(owner, request, chosen);
        if (typed.isEmpty())
            return QString();
        QString extension = filterExtension(chosen);
        if (extension.isEmpty())
            extension = request.endung;
        const QString path = withExtension(typed, extension);
        if (replaceAllowed(owner, path)) {
            if (gewaehlterFilter)
                *gewaehlterFilter = chosen;
            return path;
        }
        request.verzeichnis = QFileInfo(path).absolutePath();
    }
}

} // namespace

DateiDialogBeantworter SetzeDateiDialogAntwort(DateiDialogBeantworter answer)
{
    DateiDialogBeantworter previous = std::move(installed());
    installed() = std::move(answer);
    return previous;
}

QString grifftabellenFilter()
{
    // "*.*" would hide the files without a dot on this platform; "*" shows every file.
    return QStringLiteral("Zupfwerk Grifftabellen (*.cho);;Alle Dateien (*)");
}

QString OD_LadenAusfuehren(QWidget* owner, const QString& verzeichnis)
{
    DateiDialogAnfrage request;
    request.filter = grifftabellenFilter();
    request.verzeichnis = verzeichnis;
    request.endung = QStringLiteral("cho");
    QString chosen;
    const QString path = dialogRun(owner, request, chosen);
    if (path.isEmpty() || QFileInfo::exists(path))
        return path;
    return withExtension(path, request.endung);
}

QString SD_SpeichernAusfuehren(QWidget* owner, const QString& verzeichnis)
{
    DateiDialogAnfrage request;
    request.speichern = true;
    request.filter = grifftabellenFilter();
    request.verzeichnis = verzeichnis;
    request.endung = QStringLiteral("cho");
    return saveRun(owner, request, nullptr);
}

QString SD_ExportAusfuehren(QWidget* owner, const QString& filter, const QString& endung,
                            QString* gewaehlterFilter, const QString& verzeichnis)
{
    DateiDialogAnfrage request;
    request.speichern = true;
    request.filter = filter;
    request.verzeichnis = verzeichnis;
    request.endung = endung;
    return saveRun(owner, request, gewaehlterFilter);
}

QString OD_DateiAusfuehren(QWidget* owner, const QString& filter, const QString& verzeichnis)
{
    DateiDialogAnfrage request;
    request.filter = filter;
    request.verzeichnis = verzeichnis;
    QString chosen;
    return dialogRun(owner, request, chosen);
}
