#pragma once

#include <QString>

// Where "Zupfwerk.ini" lives: beside the program when that folder can be written, otherwise in the
// user's configuration folder, so that an installed program keeps its settings without complaint.
class SettingsLocation
{
public:
    static QString fileName() { return QStringLiteral("Zupfwerk.ini"); }

    // The settings file for a program in programFolder; configFolder is created when it is chosen and
    // missing. A folder that cannot be created is left for the first write to report.
    static QString choose(const QString& programFolder, const QString& configFolder);

    // The user's configuration folder for Zupfwerk: $XDG_CONFIG_HOME/Zupfwerk, by default ~/.config/Zupfwerk.
    static QString userConfigFolder();
};
