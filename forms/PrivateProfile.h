#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// A settings file in the Windows private-profile dialect: "[Section]" lines and "Key=Value" lines,
// section and key names matched without regard to case, missing entries read as the default,
// every write on disk at once with all other lines kept.
class PrivateProfile
{
public:
    explicit PrivateProfile(QString path);

    const QString& path() const { return m_path; }

    QString readString(const QString& section, const QString& key, const QString& fallback) const;
    // Decimal, or hexadecimal with "0x"/"0X"; anything else reads as the fallback.
    int readInteger(const QString& section, const QString& key, int fallback) const;
    // Any non-zero integer is true.
    bool readBool(const QString& section, const QString& key, bool fallback) const;

    // False when the system refuses the write; a standard error box naming the file has then shown it.
    bool writeString(const QString& section, const QString& key, const QString& value);
    bool writeInteger(const QString& section, const QString& key, int value);
    bool writeBool(const QString& section, const QString& key, bool value);

private:
    struct Position
    {
        int section = -1;    // line of the section header, -1 when missing
        int key = -1;        // line of the key, -1 when missing
        int sectionEnd = -1; // line behind the last entry of the section
    };

    void reloadIfChanged() const;
    Position find(const QString& section, const QString& key) const;

    QString m_path;
    mutable QStringList m_lines;
    mutable QDateTime m_loadedModified;
    mutable qint64 m_loadedSize = -1;
    mutable bool m_crlf = false;
};
