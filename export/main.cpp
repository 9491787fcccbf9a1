#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include <QGuiApplication>

#include "export/ExportCommand.h"

namespace {

// Standard error carries the exporter's own messages. Qt's warnings (a missing runtime folder, font
// substitutions) say nothing about the export; what stops Qt itself is still told.
void qtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "zupfwerk-export: %s\n", message.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(qtMessages);
    // The exporter never shows a window: it runs without a display unless told otherwise.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication application(argc, argv);
    std::vector<std::string> args;
    for (const QString& arg : QGuiApplication::arguments().mid(1))
        args.push_back(arg.toStdString());
    return ExportCommand::run(args, std::cout, std::cerr);
}
