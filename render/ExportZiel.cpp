#include "render/ExportZiel.h"

#include <cerrno>
#include <utility>

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "render/DateiGrund.h"

namespace {

// The first bytes of chord-table files, of this format and of the old one.
constexpr const char* tableMagics[] = {"ZW02", "ZW01"};

bool statOf(const QString& path, struct stat& info)
{
    return ::stat(QFile::encodeName(path).constData(), &info) == 0;
}

// Reads the first bytes of a regular file without blocking; empty when it cannot be read.
QByteArray fileStart(const QString& path, int count)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return QByteArray();
    QByteArray bytes(count, '\0');
    const ssize_t got = ::read(fd, bytes.data(), static_cast<size_t>(count));
    ::close(fd);
    bytes.resize(got > 0 ? static_cast<qsizetype>(got) : 0);
    return bytes;
}

QString quoted(const QString& path)
{
    return QStringLiteral("'%1'").arg(QDir::toNativeSeparators(path));
}

QString writeFailure(const QString& path, const QString& reason)
{
    return QStringLiteral("Die Datei %1 konnte nicht geschrieben werden.\n%2").arg(quoted(path), reason);
}

bool writeAll(int fd, const QByteArray& bytes, int& error)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            error = written < 0 ? errno : ENOSPC;
            return false;
        }
        data += written;
        left -= written;
    }
    if (::fsync(fd) != 0 && errno != EINVAL) {
        error = errno;
        return false;
    }
    return true;
}

} // namespace

ExportZiel::ExportZiel(QString pfad, QString tabelle) : m_pfad(std::move(pfad)), m_tabelle(std::move(tabelle))
{
}

QString ExportZiel::Verweigerung() const
{
    const QString again = QStringLiteral("\nBitte einen anderen Namen wählen.");
    struct stat target = {};
    if (!statOf(m_pfad, target))
        return QString();
    if (!S_ISREG(target.st_mode))
        return QStringLiteral(
                   "%1 ist keine gewöhnliche Datei (ein Ordner, ein Gerät oder eine Pipe) und wird "
                   "nicht beschrieben.")
                   .arg(quoted(m_pfad)) +
               again;
    struct stat table = {};
    if (!m_tabelle.isEmpty() && statOf(m_tabelle, table) && table.st_dev == target.st_dev &&
        table.st_ino == target.st_ino)
        return QStringLiteral("%1 ist die geöffnete Grifftabelle und wird nicht überschrieben.")
                   .arg(quoted(m_pfad)) +
               again;
    const QByteArray start = fileStart(m_pfad, 4);
    for (const char* magic : tableMagics) {
        if (start == QByteArray(magic))
            return QStringLiteral("%1 ist eine Grifftabelle und wird nicht überschrieben.")
                       .arg(quoted(m_pfad)) +
                   again;
    }
    return QString();
}

bool ExportZiel::Schreiben(const QByteArray& inhalt, QString* fehler) const
{
    if (fehler)
        fehler->clear();
    const QString refusal = Verweigerung();
    if (!refusal.isEmpty()) {
        if (fehler)
            *fehler = refusal;
        return false;
    }
    QSaveFile file(m_pfad);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int error = errno;
        if (fehler)
            *fehler = writeFailure(m_pfad, error != 0 ? Grund(error) : file.errorString());
        return false;
    }
    int error = 0;
    if (!writeAll(file.handle(), inhalt, error)) {
        file.cancelWriting();
        if (fehler)
            *fehler = writeFailure(m_pfad, Grund(error));
        return false;
    }
    errno = 0;
    if (!file.commit()) {
        error = errno;
        if (fehler)
            *fehler = writeFailure(m_pfad, error != 0 ? Grund(error) : file.errorString());
        return false;
    }
    return true;
}

bool ExportZiel::Schreiben(const std::function<bool(QIODevice&)>& schreiber, QString* fehler) const
{
    if (fehler)
        fehler->clear();
    // Refused before the work is done, not after.
    const QString refusal = Verweigerung();
    if (!refusal.isEmpty()) {
        if (fehler)
            *fehler = refusal;
        return false;
    }
    QByteArray inhalt;
    {
        QBuffer buffer(&inhalt);
        buffer.open(QIODevice::WriteOnly);
        if (!schreiber(buffer))
            return false;
    }
    return Schreiben(inhalt, fehler);
}

QString ExportZiel::Grund(int fehler)
{
    return DateiGrund(fehler);
}
