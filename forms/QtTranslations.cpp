#include "forms/QtTranslations.h"

#include <locale.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>

namespace {

const QString translatorName = QStringLiteral("zw_qtbase_de");

} // namespace

bool loadQtGermanTranslations()
{
    // Dates, numbers and the texts Qt takes from the locale (file types, month names) as well.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr)
        return false;
    if (application->findChild<QTranslator*>(translatorName, Qt::FindDirectChildrenOnly) != nullptr)
        return true;
    auto* translator = new QTranslator(application);
    translator->setObjectName(translatorName);
    if (!translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

bool germanSystemLocaleInstalled()
{
    const locale_t german = newlocale(LC_TIME_MASK, "de_DE.UTF-8", static_cast<locale_t>(nullptr));
    if (german == static_cast<locale_t>(nullptr))
        return false;
    freelocale(german);
    return true;
}

void preferGermanSystemDates()
{
    // A locale the system lacks would make the whole locale fail at start-up, leaving plain ASCII
    // for every category (window titles with umlauts included).
    if (!germanSystemLocaleInstalled())
        return;
    const QByteArray all = qgetenv("LC_ALL");
    if (!all.isEmpty()) {
        for (const char* category :
             {"LANG", "LC_CTYPE", "LC_NUMERIC", "LC_COLLATE", "LC_MONETARY", "LC_MESSAGES"})
            qputenv(category, all);
        qunsetenv("LC_ALL");
    }
    qputenv("LC_TIME", "de_DE.UTF-8");
}
