#include "forms/PrivateProfile.h"

#include "forms/MeldungZeigen.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <utility>

namespace {

bool isSectionLine(const QString& trimmed)
{
    return trimmed.startsWith(QLatin1Char('[')) && trimmed.contains(QLatin1Char(']'));
}

QString sectionName(const QString& trimmed)
{
    return trimmed.mid(1, trimmed.indexOf(QLatin1Char(']')) - 1).trimmed();
}

// The key of an entry line, or an empty string for blank lines and comments.
QString keyName(const QString& trimmed)
{
    if (trimmed.startsWith(QLatin1Char(';')))
        return {};
    const int equals = trimmed.indexOf(QLatin1Char('='));
    return equals <= 0 ? QString() : trimmed.left(equals).trimmed();
}

QString valueOf(const QString& line)
{
    QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    // Like the Windows reader, a value enclosed in matching quotes loses them.
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

} // namespace

PrivateProfile::PrivateProfile(QString path) : m_path(std::move(path)) {}

void PrivateProfile::reloadIfChanged() const
{
    const QFileInfo info(m_path);
    const qint64 size = info.exists() ? info.size() : -1;
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    if (size == m_loadedSize && modified == m_loadedModified)
        return;
    m_loadedSize = size;
    m_loadedModified = modified;
    m_lines.clear();
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QString text = QString::fromUtf8(file.readAll());
    m_crlf = text.contains(QLatin1String("\r\n"));
    m_lines = text.split(QLatin1Char('\n'));
    for (QString& line : m_lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    if (!m_lines.isEmpty() && m_lines.back().isEmpty())
        m_lines.removeLast();
}

PrivateProfile::Position PrivateProfile::find(const QString& section, const QString& key) const
{
    Position position;
    for (int i = 0; i < m_lines.size(); ++i) {
        const QString trimmed = m_lines[i].trimmed();
        if (isSectionLine(trimmed)) {
            if (position.section >= 0)
                break;
            if (sectionName(trimmed).compare(section, Qt::CaseInsensitive) == 0) {
                position.section = i;
                position.sectionEnd = i + 1;
            }
            continue;
        }
        if (position.section < 0)
            continue;
        const QString name = keyName(trimmed);
        if (name.isEmpty())
            continue;
        position.sectionEnd = i + 1;
        if (position.key < 0 && name.compare(key, Qt::CaseInsensitive) == 0)
            position.key = i;
    }
    return position;
}

QString PrivateProfile::readString(const QString& section, const QString& key, const QString& fallback) const
{
    reloadIfChanged();
    const Position position = find(section, key);
    return position.key < 0 ? fallback : valueOf(m_lines[position.key]);
}

int PrivateProfile::readInteger(const QString& section, const QString& key, int fallback) const
{
    const QString text = readString(section, key, QString());
    bool ok = false;
    int value = 0;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = static_cast<int>(text.mid(2).toUInt(&ok, 16));
    else
        value = text.toInt(&ok, 10);
    return ok ? value : fallback;
}

bool PrivateProfile::readBool(const QString& section, const QString& key, bool fallback) const
{
    return readInteger(section, key, fallback ? 1 : 0) != 0;
}

bool PrivateProfile::writeString(const QString& section, const QString& key, const QString& value)
{
    // Read afresh: another program may have changed the file since.
    m_loadedSize = -2;
    reloadIfChanged();
    QStringList lines = m_lines;
    const Position position = find(section, key);
    const QString entry = key + QLatin1Char('=') + value;
    if (position.key >= 0) {
        lines[position.key] = entry;
    } else if (position.section >= 0) {
        lines.insert(position.sectionEnd, entry);
    } else {
        lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
    }

    const QString newline = m_crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QSaveFile file(m_path);
    bool written = file.open(QIODevice::WriteOnly);
    if (written) {
        file.write(lines.join(newline).toUtf8() + newline.toUtf8());
        written = file.commit();
    }
    if (!written) {
        FehlerMeldungZeigen(
            QStringLiteral("Die Einstellungsdatei \"%1\" kann nicht geschrieben werden.").arg(m_path));
        return false;
    }
    m_lines = lines;
    const QFileInfo info(m_path);
    m_loadedSize = info.size();
    m_loadedModified = info.lastModified();
    return true;
}

bool PrivateProfile::writeInteger(const QString& section, const QString& key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool PrivateProfile::writeBool(const QString& section, const QString& key, bool value)
{
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}
