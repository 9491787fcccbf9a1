#include <iostream>
#include <string>
#include <vector>

#include <QGuiApplication>

#include "export/ExportCommand.h"

int main(int argc, char* argv[])
{
    // The exporter never shows a window: it runs without a display unless told otherwise.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication application(argc, argv);
    std::vector<std::string> args;
    for (const QString& arg : QGuiApplication::arguments().mid(1))
        args.push_back(arg.toStdString());
    return ExportCommand::run(args, std::cout, std::cerr);
}
