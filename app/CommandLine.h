#pragma once

#include <QString>
#include <QStringList>

// The program's command line: at most one chord table to open instead of the last one, and the
// usual help and version options. Anything else ends the program with a short usage text.
class CommandLine
{
public:
    // arguments: as QCoreApplication::arguments() gives them, the program itself first.
    explicit CommandLine(const QStringList& arguments);

    // False when the program ends at once: message() then goes to standard output (help, version)
    // or, for a usage error, to standard error, and exitCode() is what the program returns.
    bool startsWindow() const { return m_startsWindow; }
    // The chord table named on the command line as an absolute path; empty when none was given.
    const QString& file() const { return m_file; }
    const QString& message() const { return m_message; }
    bool isError() const { return m_exitCode != 0; }
    int exitCode() const { return m_exitCode; }

    static QString usage();

    // A usage error ends the program with this code, as for most command-line tools.
    static constexpr int usageErrorCode = 2;

private:
    bool m_startsWindow = true;
    QString m_file;
    QString m_message;
    int m_exitCode = 0;
};
