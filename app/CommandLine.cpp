#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QUrl>

namespace {

QString absoluteTablePath(const QString& argument)
{
    // File managers that pass URLs instead of paths are served as well.
    if (argument.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return QFileInfo(QUrl(argument).toLocalFile()).absoluteFilePath();
    return QFileInfo(argument).absoluteFilePath();
}

} // namespace

CommandLine::CommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    // Qt's own options ("-platform offscreen", "-style fusion") are read before the application
    // exists; single-dash words stay whole, as Qt writes them.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    for (const char* name :
         {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon",
          "qwindowtitle", "display", "geometry", "style", "stylesheet", "session", "name", "title"}) {
        QCommandLineOption qtOption(QString::fromLatin1(name), QString(), QStringLiteral("wert"));
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtOption);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption qtOption(QString::fromLatin1(name));
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtOption);
    }
    parser.addPositionalArgument(QStringLiteral("datei"), QString());

    QString error;
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        // The parser's other complaint is a Qt option at the end, without its value.
        error =
            unknown.isEmpty()
                ? QStringLiteral("Option %1 braucht einen Wert.").arg(arguments.value(arguments.size() - 1))
                : QStringLiteral("Unbekannte Option: %1")
                      .arg(unknown.first().size() == 1 ? QLatin1Char('-') + unknown.first()
                                                       : QStringLiteral("--") + unknown.first());
    } else if (parser.positionalArguments().size() > 1) {
        error = QStringLiteral("Es kann nur eine Grifftabelle geöffnet werden.");
    }

    if (!error.isEmpty()) {
        m_startsWindow = false;
        m_exitCode = usageErrorCode;
        m_message = QStringLiteral("zupfwerk: ") + error + QLatin1Char('\n') + usage();
        return;
    }
    if (parser.isSet(help)) {
        m_startsWindow = false;
        m_message = usage();
        return;
    }
    if (parser.isSet(version)) {
        m_startsWindow = false;
        m_message = QStringLiteral("Zupfwerk 1.4\n");
        return;
    }
    if (!parser.positionalArguments().isEmpty())
        m_file = absoluteTablePath(parser.positionalArguments().first());
}

QString CommandLine::usage()
{
    return QStringLiteral("Aufruf: zupfwerk [Optionen] [Grifftabelle.cho]\n"
                          "Öffnet die angegebene Grifftabelle, ohne Angabe die zuletzt benutzte.\n"
                          "  -h, --help     zeigt diese Hilfe\n"
                          "  -v, --version  zeigt die Version\n");
}
