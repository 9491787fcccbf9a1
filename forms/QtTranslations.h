#pragma once

// Makes German the program's locale and installs Qt's own German texts (file dialogs, standard buttons, shortcut names such as "Strg+S") into
// the running application, whatever the system's locale. Installs once per application; false when
// there is no application or the translation file cannot be found.
bool loadQtGermanTranslations();

// Qt's file dialog writes dates in the system locale, which Qt reads from the environment when the
// application starts: called before, this makes those dates German and leaves every other category as
// the user set it (LC_ALL is spread over the others). Does nothing where the system has no German
// locale installed.
void preferGermanSystemDates();
bool germanSystemLocaleInstalled();
