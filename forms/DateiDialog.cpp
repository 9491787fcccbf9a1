#include "forms/DateiDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include <utility>

namespace {

DateiDialogBeantworter& installed()
{
    static DateiDialogBeantworter answer;
    return answer;
}

QString withExtension(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QStringLiteral(".cho");
}

QString run(QWidget* owner, bool save)
{
    DateiDialogAnfrage request;
    request.speichern = save;
    request.filter = grifftabellenFilter();
    if (installed())
        return withExtension(installed()(request));
    const QString path = save ? QFileDialog::getSaveFileName(owner, QString(), QString(), request.filter)
                              : QFileDialog::getOpenFileName(owner, QString(), QString(), request.filter);
    return withExtension(path);
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
    // "Name|Pattern|Name|Pattern" becomes "Name;;Name": Qt reads the patterns from the names.
    const QStringList parts =
        QStringLiteral("Zupfwerk Grifftabellen (*.cho)|*.cho|Alle Dateien (*.*)|*.*").split(QLatin1Char('|'));
    QStringList names;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        names << parts[i];
    return names.join(QStringLiteral(";;"));
}

QString OD_LadenAusfuehren(QWidget* owner)
{
    return run(owner, false);
}

QString SD_SpeichernAusfuehren(QWidget* owner)
{
    return run(owner, true);
}
