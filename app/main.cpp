#include <QApplication>
#include <QMessageBox>
#include <QStringList>

#include <cstdio>
#include <exception>

#include "app/CommandLine.h"
#include "app/MainForm.h"
#include "app/SettingsLocation.h"
#include "app/TableLookup.h"
#include "forms/MeldungZeigen.h"
#include "forms/QtTranslations.h"

int main(int argc, char** argv)
{
    // Help, version and usage errors need no display: the command line is read before Qt connects to one.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine commandLine(arguments);
    if (!commandLine.startsWindow()) {
        std::fputs(commandLine.message().toLocal8Bit().constData(), commandLine.isError() ? stderr : stdout);
        return commandLine.exitCode();
    }

    preferGermanSystemDates();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zupfwerk"));
    // Lets the desktop match the windows to the menu entry and its icon.
    QApplication::setDesktopFileName(QStringLiteral("de.zupfwerk.Zupfwerk"));
    // Qt's own dialogs and shortcut names speak German like the rest of the program.
    loadQtGermanTranslations();
    try {
        EinfacheMeldungAnbinden();
        TF_Main window(SettingsLocation::choose(QCoreApplication::applicationDirPath(),
                                                SettingsLocation::userConfigFolder()),
                       TableLookup::installed(), commandLine.file());
        window.show();
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Zupfwerk"), QString::fromLocal8Bit(error.what()));
        return 1;
    }
}
