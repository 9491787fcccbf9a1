// Takes the screenshot of the main window that the AppStream metainfo shows, at build time.
// Usage: zw_screenshot <chord table> <output.png>; the window opens that table with a fresh settings file.

#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>

#include <cstdio>

#include "app/MainForm.h"
#include "forms/MeldungZeigen.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: zw_screenshot <chord table> <output.png>\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zupfwerk"));

    QTemporaryDir folder;
    const QString settings = folder.filePath(QStringLiteral("Zupfwerk.ini"));
    QFile ini(settings);
    if (!folder.isValid() || !ini.open(QIODevice::WriteOnly))
        return 1;
    // A roomier window than the first start's, with the intervals beside the strings.
    ini.write("[Diagramm]\nRechteAnzeige=2\n"
              "[Computer]\nWindowTop1=0\nWindowLeft1=0\nWindowWidth1=560\nWindowHeight1=420\n"
              "[Grifftab]\nAnzeigen=0\n");
    ini.close();

    // Any question means the table did not open as it should; a build must never wait for an answer.
    bool asked = false;
    SetzeMeldungsAntwort([&asked](const MeldungsAnfrage& anfrage) {
        std::fprintf(stderr, "zw_screenshot: %s\n", qPrintable(anfrage.meldung));
        asked = true;
        return 2;
    });
    TF_Main window(settings, TableLookup(), QString::fromLocal8Bit(argv[1]));
    window.show();
    QApplication::processEvents();
    if (asked)
        return 1;
    if (!window.grab().save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "zw_screenshot: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
