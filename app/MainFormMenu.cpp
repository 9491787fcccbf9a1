#include "app/MainForm.h"

#include <QAction>
#include <QActionGroup>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

#include "app/RueckgaengigSchritt.h"
#include "app/RueckgaengigVerlauf.h"
#include "forms/GrifftabForm.h"
#include "forms/MeldungZeigen.h"
#include "forms/PrivateProfile.h"
#include "render/Griffbrett.h"
#include "table/AkkordDepot.h"

namespace {

QKeySequence key(int combination)
{
    return QKeySequence(combination);
}

} // namespace

QAction* TF_Main::createAction(const char* name, const QString& caption, const QString& hint)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setStatusTip(hint);
    action->setToolTip(hint);
    return action;
}

void TF_Main::createActions()
{
    MI_Neu = createAction("MI_Neu", QStringLiteral("&Neu"), QStringLiteral("Neue Grifftabelle anlegen"));
    MI_Laden = createAction("MI_Laden", QStringLiteral("Ö&ffnen"), QStringLiteral("Grifftabelle laden"));
    MI_Laden->setShortcut(key(Qt::CTRL | Qt::Key_O));
    MI_Speichern =
        createAction("MI_Speichern", QStringLiteral("&Speichern"), QStringLiteral("Grifftabelle speichern"));
    MI_Speichern->setShortcut(key(Qt::CTRL | Qt::Key_S));
    MI_SpeichernAls = createAction("MI_SpeichernAls", QStringLiteral("Speichern &als..."),
                                   QStringLiteral("Grifftabelle unter anderem Namen speichern"));
    MI_Beenden = createAction("MI_Beenden", QStringLiteral("&Beenden"), QStringLiteral("Programm beenden"));
    MI_Beenden->setShortcut(key(Qt::ALT | Qt::Key_F4));
    QFont bold = MI_Beenden->font();
    bold.setBold(true); // the default item
    MI_Beenden->setFont(bold);

    MI_Suchen = createAction("MI_Suchen", QStringLiteral("&Grifftabelle"),
                             QStringLiteral("Zur Grifftabelle wechseln"));
    MI_Suchen->setShortcut(key(Qt::Key_F12));
    // F12 also switches back from the chord-table window.
    MI_Suchen->setShortcutContext(Qt::ApplicationShortcut);
    MI_AkkVor = createAction("MI_AkkVor", QStringLiteral("&vor"),
                             QStringLiteral("Nächsten Akkord aus Grifftabelle holen"));
    MI_AkkZurueck = createAction("MI_AkkZurueck", QStringLiteral("&zurück"),
                                 QStringLiteral("Vorherigen Akkord aus Grifftabelle holen"));
    MI_AkkSpeichern = createAction("MI_AkkSpeichern", QStringLiteral("&Speichern"),
                                   QStringLiteral("Angezeigten Akkord in Grifftabelle speichern"));
    MI_AkkEntfernen = createAction("MI_AkkEntfernen", QStringLiteral("&Entfernen"),
                                   QStringLiteral("Angezeigten Akkord aus Grifftabelle entfernen"));
    MI_GriffeFinden = createAction("MI_GriffeFinden", QStringLiteral("Griffe &finden..."),
                                   QStringLiteral("Alle spielbaren Griffe eines Akkords suchen"));
    MI_GriffeFinden->setShortcut(key(Qt::CTRL | Qt::Key_D));
    MI_ErkVor =
        createAction("MI_ErkVor", QStringLiteral("&Nächster"), QStringLiteral("Der nächste erkannte Akkord"));
    MI_ErkVor->setEnabled(false);
    MI_AkkordErkOnOff = createAction("MI_AkkordErkOnOff", QStringLiteral("&Aktiv"),
                                     QStringLiteral("Akkorderkennung de-/aktivieren"));
    MI_AkkordErkOnOff->setCheckable(true);

    static const char* const startStringNames[8] = {
        "MI_ErkennungSaite0", "MI_ErkennungSaite1", "MI_ErkennungSaite2", "MI_ErkennungSaite3",
        "MI_ErkennungSaite4", "MI_ErkennungSaite5", "MI_ErkennungSaite6", "MI_ErkennungSaite7"};
    static const char* const ordinals[7] = {"",        "erster",  "zweiter", "dritter",
                                            "vierter", "fünfter", "sechster"};
    auto* startStrings = new QActionGroup(this);
    for (int n = 0; n <= StartSaiteBasston; ++n) {
        QString caption = QStringLiteral("&%1. Saite").arg(n);
        QString hint;
        if (n == 0) {
            caption = QStringLiteral("&Intervallanzahl");
            hint = QStringLiteral("Akkord mit den meisten Intervallen wird bevorzugt");
        } else if (n == StartSaiteBasston) {
            caption = QStringLiteral("&Basston");
            hint = QStringLiteral("Akkord über dem tiefsten klingenden Ton wird bevorzugt");
        } else {
            hint = QStringLiteral("Erkennung bei %1 Saite beginnen").arg(QString::fromUtf8(ordinals[n]));
        }
        MI_ErkennungSaite[n] = createAction(startStringNames[n], caption, hint);
        MI_ErkennungSaite[n]->setCheckable(true);
        MI_ErkennungSaite[n]->setShortcut(key(Qt::CTRL | (Qt::Key_0 + n)));
        startStrings->addAction(MI_ErkennungSaite[n]);
    }
    MI_ErkennungSaite[0]->setChecked(true);

    static const char* const fretNames[12] = {"MI_Bund01", "MI_Bund02", "MI_Bund03", "MI_Bund04",
                                              "MI_Bund05", "MI_Bund06", "MI_Bund07", "MI_Bund08",
                                              "MI_Bund09", "MI_Bund10", "MI_Bund11", "MI_Bund12"};
    for (int i = 0; i < 12; ++i) {
        const int fret = i + 1;
        QString caption;
        if (fret < 10)
            caption = QStringLiteral("  &%1. Bund").arg(fret);
        else if (fret == 10)
            caption = QStringLiteral("1&0. Bund");
        else if (fret == 11)
            caption = QStringLiteral("11. &Bund");
        else
            caption = QStringLiteral("12. B&und");
        MI_BundNr[i] = createAction(fretNames[i], caption,
                                    QStringLiteral("Griffbrett und/oder Finger zu Bund verschieben"));
        MI_BundNr[i]->setShortcut(key(Qt::SHIFT | (Qt::Key_F1 + i)));
    }
    // Shift+F10 opens the board's pop-up as everywhere else on the desktop; the tenth fret moves to
    // Ctrl+Shift+F10.
    MI_BundNr[9]->setShortcut(key(Qt::CTRL | Qt::SHIFT | Qt::Key_F10));
    m_kontextmenueTaste = new QAction(this);
    m_kontextmenueTaste->setObjectName(QStringLiteral("MI_Kontextmenue"));
    m_kontextmenueTaste->setShortcuts({key(Qt::Key_Menu), key(Qt::SHIFT | Qt::Key_F10)});
    MI_BundAdd = createAction("MI_BundAdd", QStringLiteral("Anzahl ver&größern"),
                              QStringLiteral("Griffbrettdarstellung um einen Bund erweitern"));
    MI_BundSub = createAction("MI_BundSub", QStringLiteral("Anzahl ver&kleinern"),
                              QStringLiteral("Griffbrettdarstellung um einen Bund verkleinern"));

    static const char* const nextNames[4] = {"MI_FingerNext1", "MI_FingerNext2", "MI_FingerNext3",
                                             "MI_FingerNext4"};
    static const char* const nextCaptions[4] = {"&1 Zeigefinger", "&2 Mittelfinger", "&3 Ringfinger",
                                                "&4 Kleiner Finger"};
    auto* nextFingers = new QActionGroup(this);
    for (int i = 0; i < 4; ++i) {
        MI_FingerNext[i] = createAction(nextNames[i], QString::fromUtf8(nextCaptions[i]),
                                        QStringLiteral("Finger, der als nächstes verwendet wird"));
        MI_FingerNext[i]->setCheckable(true);
        nextFingers->addAction(MI_FingerNext[i]);
    }
    MI_FingerNext[0]->setChecked(true);
    MI_FingerIns = createAction("MI_FingerIns", QStringLiteral("&Einfügen"),
                                QStringLiteral("Finger einfügen oder entfernen"));
    static const char* const fingerNames[4] = {"MI_Finger1", "MI_Finger2", "MI_Finger3", "MI_Finger4"};
    static const char* const fingerCaptions[4] = {"&Zeigefinger", "&Mittelfinger", "&Ringfinger",
                                                  "&kleiner Finger"};
    static const char* const fingerHints[4] = {
        "Zeigefinger wird ins Diagramm eingefügt", "Der Mittelfinger wird ins Diagramm eingefügt",
        "Der Ringfinger wird ins Diagramm eingefügt", "Der kleine Finger wird ins Diagramm eingefügt"};
    for (int i = 0; i < 4; ++i)
        MI_Finger[i] = createAction(fingerNames[i], QString::fromUtf8(fingerCaptions[i]),
                                    QString::fromUtf8(fingerHints[i]));
    MI_FingerEntfAlle = createAction("MI_FingerEntfAlle", QStringLiteral("&Alle Finger entfernen"),
                                     QStringLiteral("Alle FInger werden aus dem Griffbrett entfernt"));
    MI_FingerEntfAlle->setShortcut(key(Qt::SHIFT | Qt::Key_Delete));
    MI_Barre =
        createAction("MI_Barre", QStringLiteral("&Barrè"), QStringLiteral("Barre im Diagramm einfügen"));
    MI_Barre->setShortcut(key(Qt::CTRL | Qt::Key_R));

    // Both view items show Ctrl+U; one hidden action carries it, since Qt ignores a doubled shortcut.
    // The caption names the key as the menus do, in the translated form ("Strg+U").
    const QString viewKey = QLatin1Char('\t') + key(Qt::CTRL | Qt::Key_U).toString(QKeySequence::NativeText);
    auto* views = new QActionGroup(this);
    MI_ShowGriffbrett = createAction("MI_ShowGriffbrett", QStringLiteral("Griff&brett") + viewKey,
                                     QStringLiteral("Gesamtes Griffbrett anzeigen"));
    MI_ShowAkkord = createAction("MI_ShowAkkord", QStringLiteral("&Akkordgriff") + viewKey,
                                 QStringLiteral("Griffbrett ab Akkordgriff anzeigen"));
    for (QAction* view : {MI_ShowGriffbrett, MI_ShowAkkord}) {
        view->setCheckable(true);
        views->addAction(view);
    }
    MI_ShowGriffbrett->setChecked(true);
    m_ansichtWechseln = new QAction(this);
    m_ansichtWechseln->setShortcut(key(Qt::CTRL | Qt::Key_U));
    MI_GrifftabOnOff = createAction("MI_GrifftabOnOff", QStringLiteral("&Grifftabelle"),
                                    QStringLiteral("Grifftabelle ein-/ausblenden"));
    MI_GrifftabOnOff->setCheckable(true);
    MI_GrifftabOnOff->setShortcut(key(Qt::CTRL | Qt::Key_B));
    MI_StatuszeileOnOff = createAction("MI_StatuszeileOnOff", QStringLiteral("&Statuszeile"),
                                       QStringLiteral("Statuszeile ein-/ausblenden"));
    MI_StatuszeileOnOff->setCheckable(true);
    MI_KurzhinweisOnOff = createAction("MI_KurzhinweisOnOff", QStringLiteral("&Kurzhinweise"),
                                       QStringLiteral("Kurzhinweise über Bildschirmelemente"));
    MI_KurzhinweisOnOff->setCheckable(true);
    MI_WinMaximize = createAction("MI_WinMaximize", QStringLiteral("Fenster max oder normal"), QString());
    // The key right of P: Ü on a German keyboard, [ where the layout has no Ü.
    MI_WinMaximize->setShortcuts({key(Qt::CTRL | Qt::Key_Udiaeresis), key(Qt::CTRL | Qt::Key_BracketLeft)});
    MI_AkkordnameOnOff = createAction("MI_AkkordnameOnOff", QStringLiteral("Akk&ordname"),
                                      QStringLiteral("Akkordname über Diagramm einblenden"));
    MI_AkkordnameOnOff->setCheckable(true);
    MI_AkkordnameOnOff->setShortcut(key(Qt::CTRL | Qt::Key_M));
    MI_FingersatzOnOff = createAction("MI_FingersatzOnOff", QStringLiteral("&Fingerzahlen"),
                                      QStringLiteral("Die Fingerzahlen ein-/ausblenden"));
    MI_FingersatzOnOff->setCheckable(true);
    MI_FingersatzOnOff->setShortcut(key(Qt::CTRL | Qt::Key_F));
    MI_LagenpunkteOnOff =
        createAction("MI_LagenpunkteOnOff", QStringLiteral("&Lagenpunkte"),
                     QStringLiteral("Lagenpunkte und Bundzahlen im gesamten Griffbrett ein-/ausblenden"));
    MI_LagenpunkteOnOff->setCheckable(true);
    MI_LinkshaenderOnOff = createAction("MI_LinkshaenderOnOff", QStringLiteral("Links&händer"),
                                        QStringLiteral("Griffbrett für Linkshänder spiegeln"));
    MI_LinkshaenderOnOff->setCheckable(true);
    auto* annotations = new QActionGroup(this);
    MI_Radio1Aus = createAction("MI_Radio1Aus", QStringLiteral("&Aus"), QStringLiteral("Nichts anzeigen"));
    MI_Radio1Aus->setShortcut(key(Qt::CTRL | Qt::Key_A));
    MI_Radio1Intervall = createAction("MI_Radio1Intervall", QStringLiteral("&Intervalle"),
                                      QStringLiteral("Intervall, wenn ein Akkord erkannt wurde"));
    MI_Radio1Intervall->setShortcut(key(Qt::CTRL | Qt::Key_I));
    MI_Radio1Noten = createAction("MI_Radio1Noten", QStringLiteral("&Töne"),
                                  QStringLiteral("Die Töne, die auf den jeweiligen Saiten liegen"));
    MI_Radio1Noten->setShortcut(key(Qt::CTRL | Qt::Key_N));
    for (QAction* annotation : {MI_Radio1Aus, MI_Radio1Intervall, MI_Radio1Noten}) {
        annotation->setCheckable(true);
        annotations->addAction(annotation);
    }
    MI_Radio1Aus->setChecked(true);

    MI_HilfeInhalt = createAction("MI_HilfeInhalt", QStringLiteral("&Hilfe"), QString());
    MI_HilfeInhalt->setShortcut(key(Qt::Key_F1));
    MI_HilfeInhalt->setEnabled(false);
    MI_Info = createAction("MI_Info", QStringLiteral("&Info"),
                           QStringLiteral("Infos zur Grifftabelle und zum Programm"));
    MI_Speed = createAction("MI_Speed", QStringLiteral("&Geschwindigkeit"), QString());
    MI_Speed->setShortcut(key(Qt::Key_F9));

    // A and Shift+A are run-time keys, set by Tastenkuerzel.
    MI_Anhoeren =
        createAction("MI_Anhoeren", QStringLiteral("An&hören"), QStringLiteral("Angezeigten Akkord anschlagen"));
    MI_ZerlegtAnhoeren = createAction("MI_ZerlegtAnhoeren", QStringLiteral("Zer&legt anhören"),
                                      QStringLiteral("Angezeigten Akkord Saite für Saite spielen"));
    MI_KlangWav = createAction("MI_KlangWav", QStringLiteral("Klang als &WAV..."),
                               QStringLiteral("Angezeigten Akkord als WAV-Datei speichern"));
    MI_ZerlegtWav = createAction("MI_ZerlegtWav", QStringLiteral("&Zerlegt als WAV..."),
                                 QStringLiteral("Angezeigten Akkord Saite für Saite als WAV-Datei speichern"));

    MI_DiagrammExport = createAction("MI_DiagrammExport", QStringLiteral("Diagramm als &Bild..."),
                                     QStringLiteral("Angezeigtes Diagramm als PNG- oder SVG-Bild speichern"));
    MI_GrifftabellePdf = createAction("MI_GrifftabellePdf", QStringLiteral("Grifftabelle als &PDF..."),
                                      QStringLiteral("Griffblatt der Grifftabelle als PDF-Datei speichern"));
    MI_Kopieren = createAction("MI_Kopieren", QStringLiteral("Diagramm &kopieren"),
                               QStringLiteral("Angezeigtes Diagramm als Bild in die Zwischenablage kopieren"));
    MI_Kopieren->setShortcut(key(Qt::CTRL | Qt::Key_C));
    MI_Drucken = createAction("MI_Drucken", QStringLiteral("&Drucken..."),
                              QStringLiteral("Griffblatt der Grifftabelle drucken"));
    MI_Drucken->setShortcut(key(Qt::CTRL | Qt::Key_P));
    MI_ChordProExport = createAction("MI_ChordProExport", QStringLiteral("Als &ChordPro..."),
                                     QStringLiteral("Griffe als ChordPro-Akkorddefinitionen speichern"));
    MI_ChordProImport = createAction("MI_ChordProImport", QStringLiteral("&ChordPro-Akkorde..."),
                                     QStringLiteral("Akkorddefinitionen einer ChordPro-Datei als Griffe übernehmen"));
    MI_Liedblatt = createAction("MI_Liedblatt", QStringLiteral("&Liedblatt..."),
                                QStringLiteral("Die Akkorde eines ChordPro-Lieds mit Griffen als PDF oder ChordPro"));
    createUndoActions();
}

void TF_Main::connectActions()
{
    connect(MI_Neu, &QAction::triggered, this, &TF_Main::MI_NeuClick);
    connect(MI_Laden, &QAction::triggered, this, &TF_Main::MI_LadenClick);
    connect(MI_Speichern, &QAction::triggered, this, &TF_Main::MI_SpeichernClick);
    connect(MI_Info, &QAction::triggered, this, &TF_Main::MI_InfoClick);
    connect(MI_SpeichernAls, &QAction::triggered, this, &TF_Main::MI_SpeichernAlsClick);
    connect(MI_Beenden, &QAction::triggered, this, &TF_Main::MI_BeendenClick);

    connect(MI_AkkVor, &QAction::triggered, this, &TF_Main::MI_AkkVorClick);
    connect(MI_AkkZurueck, &QAction::triggered, this, &TF_Main::MI_AkkZurueckClick);
    connect(MI_AkkEntfernen, &QAction::triggered, this, &TF_Main::MI_AkkEntfernenClick);
    connect(MI_AkkSpeichern, &QAction::triggered, this, &TF_Main::MI_AkkSpeichernClick);
    connect(MI_GriffeFinden, &QAction::triggered, this, &TF_Main::MI_GriffeFindenClick);
    connect(MI_Suchen, &QAction::triggered, this, &TF_Main::MI_SuchenClick);
    connect(MI_ErkVor, &QAction::triggered, this, &TF_Main::MI_ErkVorClick);
    connect(MI_AkkordErkOnOff, &QAction::triggered, this, &TF_Main::MI_AkkordErkOnOffClick);
    for (QAction* item : MI_ErkennungSaite)
        connect(item, &QAction::triggered, this, [this, item] { MI_ErkennungSaite0Click(item); });

    for (QAction* item : MI_BundNr)
        connect(item, &QAction::triggered, this, [this, item] { MI_Bund01Click(item); });
    connect(m_kontextmenueTaste, &QAction::triggered, this, &TF_Main::KontextmenueOeffnen);
    connect(MI_BundAdd, &QAction::triggered, this, &TF_Main::MI_BundAddClick);
    connect(MI_BundSub, &QAction::triggered, this, &TF_Main::MI_BundSubClick);

    for (QAction* item : MI_FingerNext)
        connect(item, &QAction::triggered, this, [this, item] { MI_FingerNext1Click(item); });
    connect(MI_FingerIns, &QAction::triggered, this, [this] { FingerKlick(true, false); });
    for (int i = 0; i < 4; ++i)
        connect(MI_Finger[i], &QAction::triggered, this, [this, i] { FingerWaehlen(i + 1, true); });
    connect(MI_FingerEntfAlle, &QAction::triggered, this, &TF_Main::AlleFingerEntfernen);
    connect(MI_Barre, &QAction::triggered, this, &TF_Main::BarreEintragen);

    for (QAction* item : {MI_ShowGriffbrett, MI_ShowAkkord, m_ansichtWechseln})
        connect(item, &QAction::triggered, this, &TF_Main::AnsichtWechseln);
    connect(MI_GrifftabOnOff, &QAction::triggered, this, &TF_Main::MI_GrifftabOnOffClick);
    connect(MI_StatuszeileOnOff, &QAction::triggered, this, &TF_Main::MI_StatuszeileOnOffClick);
    connect(MI_KurzhinweisOnOff, &QAction::triggered, this, &TF_Main::MI_KurzhinweisOnOffClick);
    connect(MI_WinMaximize, &QAction::triggered, this, &TF_Main::MI_WinMaximizeClick);
    connect(MI_AkkordnameOnOff, &QAction::triggered, this, &TF_Main::MI_AkkordnameOnOffClick);
    connect(MI_FingersatzOnOff, &QAction::triggered, this, &TF_Main::MI_FingersatzOnOffClick);
    connect(MI_LagenpunkteOnOff, &QAction::triggered, this, &TF_Main::MI_LagenpunkteOnOffClick);
    connect(MI_LinkshaenderOnOff, &QAction::triggered, this, &TF_Main::MI_LinkshaenderOnOffClick);
    connect(MI_Radio1Aus, &QAction::triggered, this,
            [this] { annotationChoose(0, QStringLiteral("Anzeige am rechten Rand: nichts")); });
    connect(MI_Radio1Noten, &QAction::triggered, this,
            [this] { annotationChoose(1, QStringLiteral("Anzeige am rechten Rand: Töne")); });
    connect(MI_Radio1Intervall, &QAction::triggered, this,
            [this] { annotationChoose(2, QStringLiteral("Anzeige am rechten Rand: Intervalle")); });
    connect(MI_Speed, &QAction::triggered, this, &TF_Main::MI_SpeedClick);
    connect(MI_Anhoeren, &QAction::triggered, this, &TF_Main::MI_AnhoerenClick);
    connect(MI_ZerlegtAnhoeren, &QAction::triggered, this, &TF_Main::MI_ZerlegtAnhoerenClick);
    connect(MI_KlangWav, &QAction::triggered, this, &TF_Main::MI_KlangWavClick);
    connect(MI_ZerlegtWav, &QAction::triggered, this, &TF_Main::MI_ZerlegtWavClick);
    connect(MI_DiagrammExport, &QAction::triggered, this, &TF_Main::MI_DiagrammExportClick);
    connect(MI_GrifftabellePdf, &QAction::triggered, this, &TF_Main::MI_GrifftabellePdfClick);
    connect(MI_Kopieren, &QAction::triggered, this, &TF_Main::MI_KopierenClick);
    connect(MI_Drucken, &QAction::triggered, this, &TF_Main::MI_DruckenClick);
    connect(MI_ChordProExport, &QAction::triggered, this, &TF_Main::MI_ChordProExportClick);
    connect(MI_ChordProImport, &QAction::triggered, this, &TF_Main::MI_ChordProImportClick);
    connect(MI_Liedblatt, &QAction::triggered, this, &TF_Main::MI_LiedblattClick);
}

void TF_Main::createMenus()
{
    MI_Datei = menuBar()->addMenu(QStringLiteral("&Datei"));
    MI_Datei->setObjectName(QStringLiteral("MI_Datei"));
    MI_Datei->addActions({MI_Neu, MI_Laden, MI_Speichern, MI_SpeichernAls});
    MI_Exportieren = MI_Datei->addMenu(QStringLiteral("&Exportieren"));
    MI_Exportieren->setObjectName(QStringLiteral("MI_Exportieren"));
    MI_Exportieren->menuAction()->setObjectName(QStringLiteral("MI_Exportieren"));
    MI_Exportieren->addActions({MI_DiagrammExport, MI_GrifftabellePdf, MI_ChordProExport});
    MI_Exportieren->addAction(MI_KlangWav);
    MI_Exportieren->addAction(MI_ZerlegtWav);
    MI_Exportieren->addSeparator();
    MI_Exportieren->addAction(MI_Kopieren);
    MI_Datei->addAction(MI_Drucken);
    MI_Importieren = MI_Datei->addMenu(QStringLiteral("&Importieren"));
    MI_Importieren->setObjectName(QStringLiteral("MI_Importieren"));
    MI_Importieren->menuAction()->setObjectName(QStringLiteral("MI_Importieren"));
    MI_Importieren->addAction(MI_ChordProImport);
    MI_Datei->addAction(MI_Liedblatt);
    MI_Datei->addSeparator();
    MI_Datei->addAction(MI_Beenden);

    MI_Griff = menuBar()->addMenu(QStringLiteral("&Griff"));
    MI_Griff->setObjectName(QStringLiteral("MI_Griff"));
    MI_Griff->addActions({MI_Rueckgaengig, MI_Wiederholen});
    MI_Griff->addSeparator();
    MI_Griff->addActions({MI_Suchen, MI_AkkVor, MI_AkkZurueck});
    MI_Griff->addSeparator();
    MI_Griff->addActions({MI_AkkSpeichern, MI_AkkEntfernen});
    MI_Griff->addAction(MI_GriffeFinden);
    MI_Griff->addSeparator();
    MI_Erkennung = MI_Griff->addMenu(QStringLiteral("&Akkorderkennung"));
    MI_Erkennung->setObjectName(QStringLiteral("MI_Erkennung"));
    MI_Erkennung->menuAction()->setObjectName(QStringLiteral("MI_Erkennung"));
    MI_Erkennung->menuAction()->setStatusTip(QStringLiteral("Einstellungen zur Akkorderkennung"));
    MI_Erkennung->menuAction()->setShortcut(key(Qt::CTRL | Qt::Key_G));
    MI_Erkennung->addAction(MI_AkkordErkOnOff);
    MI_Erkennung->addSeparator();
    for (QAction* startString : MI_ErkennungSaite)
        MI_Erkennung->addAction(startString);
    MI_Griff->addAction(MI_ErkVor);
    MI_Griff->addSeparator();
    MI_Griff->addActions({MI_Anhoeren, MI_ZerlegtAnhoeren});

    MI_Bund = menuBar()->addMenu(QStringLiteral("&Bund"));
    MI_Bund->setObjectName(QStringLiteral("MI_Bund"));
    for (QAction* fret : MI_BundNr)
        MI_Bund->addAction(fret);
    MI_Bund->addSeparator();
    MI_Bund->addActions({MI_BundAdd, MI_BundSub});

    MI_Bearbeiten = menuBar()->addMenu(QStringLiteral("&Finger"));
    MI_Bearbeiten->setObjectName(QStringLiteral("MI_Bearbeiten"));
    for (QAction* next : MI_FingerNext)
        MI_Bearbeiten->addAction(next);
    MI_Bearbeiten->addSeparator();
    MI_Bearbeiten->addAction(MI_FingerEntfAlle);

    MI_Ansicht = menuBar()->addMenu(QStringLiteral("&Ansicht"));
    MI_Ansicht->setObjectName(QStringLiteral("MI_Ansicht"));
    MI_Ansicht->addActions({MI_ShowGriffbrett, MI_ShowAkkord});
    MI_Ansicht->addSeparator();
    MI_Ansicht->addActions({MI_GrifftabOnOff, MI_StatuszeileOnOff, MI_KurzhinweisOnOff});
    MI_Ansicht->addSeparator();
    MI_AnsichtDiagramm = MI_Ansicht->addMenu(QStringLiteral("&Diagramm"));
    MI_AnsichtDiagramm->setObjectName(QStringLiteral("MI_AnsichtDiagramm"));
    MI_AnsichtDiagramm->menuAction()->setStatusTip(QStringLiteral("Was im Diagramm angezeigt werden soll"));
    MI_AnsichtDiagramm->addActions({MI_AkkordnameOnOff, MI_FingersatzOnOff});
    MI_AnsichtDiagramm->addActions({MI_LagenpunkteOnOff, MI_LinkshaenderOnOff});
    MI_AnsichtDiagramm->addSeparator();
    MI_AnsichtDiagramm->addActions({MI_Radio1Aus, MI_Radio1Intervall, MI_Radio1Noten});

    MI_Hilfe = menuBar()->addMenu(QStringLiteral("&Info"));
    MI_Hilfe->setObjectName(QStringLiteral("MI_Hilfe"));
    MI_Hilfe->addAction(MI_Info);

    // Hidden items are not in the menus; added to the window, their shortcuts still work.
    addActions({MI_FingerIns, MI_Finger[0], MI_Finger[1], MI_Finger[2], MI_Finger[3], MI_Barre,
                m_ansichtWechseln, MI_WinMaximize, MI_HilfeInhalt, MI_Speed, m_kontextmenueTaste});
}

void TF_Main::Tastenkuerzel(bool an)
{
    const struct
    {
        QAction* item;
        int key;
    } singleKeys[] = {{MI_AkkVor, Qt::Key_V},    {MI_AkkZurueck, Qt::Key_Z},  {MI_ErkVor, Qt::Key_N},
                      {MI_Finger[0], Qt::Key_1}, {MI_Finger[1], Qt::Key_2},   {MI_Finger[2], Qt::Key_3},
                      {MI_Finger[3], Qt::Key_4}, {MI_AkkSpeichern, Qt::Key_S},
                      {MI_Anhoeren, Qt::Key_A},  {MI_ZerlegtAnhoeren, (Qt::SHIFT | Qt::Key_A).toCombined()}};
    for (const auto& entry : singleKeys)
        entry.item->setShortcut(an ? QKeySequence(entry.key) : QKeySequence());
}

void TF_Main::MI_BeendenClick()
{
    close();
}

void TF_Main::runItem(QAction* item)
{
    // Running an item is its click, which a disabled item ignores.
    if (item->isEnabled())
        item->trigger();
}

void TF_Main::keyPressEvent(QKeyEvent* event)
{
    FormKeyDown(event->key(), event->modifiers());
}

void TF_Main::FormKeyDown(int key, Qt::KeyboardModifiers shift)
{
    const bool control = shift.testFlag(Qt::ControlModifier);
    const bool shifted = shift.testFlag(Qt::ShiftModifier);
    const int bund = Zeichner->AktBund();
    const int saite = Zeichner->AktSaite();
    switch (key) {
    case Qt::Key_Left:
        if (control)
            runItem(MI_BundSub);
        else if (shifted)
            ZuBundGehen(Dokument->TiefsterBund() - 1);
        else
            StelleMitTasteWaehlen(bund - 1, saite);
        break;
    case Qt::Key_Right:
        if (control)
            runItem(MI_BundAdd);
        else if (shifted)
            ZuBundGehen(Dokument->TiefsterBund() + 1);
        else
            StelleMitTasteWaehlen(bund + 1, saite);
        break;
    case Qt::Key_Up:
        StelleMitTasteWaehlen(bund, saite + 1);
        break;
    case Qt::Key_Down:
        StelleMitTasteWaehlen(bund, saite - 1);
        break;
    case Qt::Key_Insert:
        runItem(MI_FingerIns);
        break;
    case Qt::Key_Delete:
        runItem(MI_AkkEntfernen);
        break;
    case Qt::Key_Plus:
        if (shift.testFlag(Qt::KeypadModifier))
            MI_AkkVorClick();
        break;
    case Qt::Key_Minus:
        if (shift.testFlag(Qt::KeypadModifier))
            MI_AkkZurueckClick();
        break;
    default:
        break;
    }
}

void TF_Main::MI_GrifftabOnOffClick()
{
    if (!Einstellungen->writeBool(QStringLiteral("Grifftab"), QStringLiteral("Anzeigen"),
                                  MI_GrifftabOnOff->isChecked()))
        return;
    grifftabSichtbar(MI_GrifftabOnOff->isChecked());
}

void TF_Main::MI_KurzhinweisOnOffClick()
{
    hintsShown(MI_KurzhinweisOnOff->isChecked());
    GrifftabFenster->HinweiseAnzeigen(MI_KurzhinweisOnOff->isChecked());
    Einstellungen->writeBool(QStringLiteral("Computer"), QStringLiteral("Kurzhinweise"),
                             MI_KurzhinweisOnOff->isChecked());
}

void TF_Main::MI_WinMaximizeClick()
{
    if (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))
        showNormal();
    else
        showMaximized();
}

void TF_Main::MI_AkkVorClick()
{
    gripStep(true);
}

void TF_Main::MI_AkkZurueckClick()
{
    gripStep(false);
}

void TF_Main::gripStep(bool vorwaerts)
{
    if (Ergebnis.Grundton == KeinTon)
        return;
    int position = -1;
    const int count = Dokument->GriffeZaehlen(&position);
    // Both ends wrap; a grip that is not stored (position -1) steps to the first stored grip.
    int target = 0;
    if (vorwaerts)
        target = position + 1 == count ? 0 : position + 1;
    else
        target = position == 0 ? count - 1 : position - 1;
    const RueckgaengigVerlauf::GriffKlammer schritt(*m_verlauf, QStringLiteral("Griff holen"), SchrittGriffHolen);
    if (Dokument->GriffHolen(Ergebnis.Grundton, Ergebnis.AkkordTyp, false, target) < 0)
        return;
    NachHolenAktualisieren();
    if (Ergebnis.AkkordTyp != -1)
        grifftabAuswahlSetzen();
}

void TF_Main::MI_AkkEntfernenClick()
{
    if (MeldungZeigen(this, 2, QStringLiteral("Soll der Griff wirklich entfernt werden? "),
                      QStringLiteral("Löschen?"), 0) != 6)
        return;
    auto schritt = m_verlauf->entfernenBeginnen(QStringLiteral("Griff entfernen"), Dokument->GriffSuchen());
    if (!Dokument->GriffEntfernen()) {
        Statusmeldung(QStringLiteral("Griff wurde nicht gelöscht!"));
        return;
    }
    NachHolenAktualisieren();
    m_verlauf->aufnehmen(std::move(schritt));
    if (Ergebnis.AkkordTyp != -1)
        grifftabAuswahlSetzen();
}
