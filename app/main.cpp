#include <QApplication>
#include <QMessageBox>

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
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zupfwerk"));
    // Lets the desktop match the windows to the menu entry and its icon.
    QApplication::setDesktopFileName(QStringLiteral("de.zupfwerk.Zupfwerk"));
    // Qt's own dialogs and shortcut names speak German like the rest of the program.
    loadQtGermanTranslations();
    const CommandLine commandLine(QApplication::arguments());
    if (!commandLine.startsWindow()) {
        std::fputs(commandLine.message().toLocal8Bit().constData(), commandLine.isError() ? stderr : stdout);
        return commandLine.exitCode();
    }
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
