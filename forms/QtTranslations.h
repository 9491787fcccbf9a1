#pragma once

// Makes German the program's locale and installs Qt's own German texts (file dialogs, standard buttons, shortcut names such as "Strg+S") into
// the running application, whatever the system's locale. Installs once per application; false when
// there is no application or the translation file cannot be found.
bool loadQtGermanTranslations();
