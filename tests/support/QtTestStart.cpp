// Linked into every Qt test: the application each test's main creates reads Qt's own texts in German,
// as the program's users see them.
#include <QCoreApplication>

#include "forms/QtTranslations.h"

namespace {

void startInGerman()
{
    loadQtGermanTranslations();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startInGerman)
