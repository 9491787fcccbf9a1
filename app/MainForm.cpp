#include "app/MainForm.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusTipEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "app/Bildschirmlage.h"
#include "app/PaintBox.h"
#include "app/RueckgaengigVerlauf.h"
#include "forms/DialogeOben.h"
#include "forms/GrifftabForm.h"
#include "forms/PrivateProfile.h"
#include "forms/ProgrammSymbol.h"
#include "forms/Statusleiste.h"
#include "render/Griffbrett.h"
#include "table/AkkordDepot.h"

namespace {

const QString diagramm = QStringLiteral("Diagramm");
const QString computer = QStringLiteral("Computer");
const QString grifftab = QStringLiteral("Grifftab");

} // namespace

TF_Main::TF_Main(const QString& settingsPath, QWidget* parent)
    : TF_Main(settingsPath, TableLookup(), QString(), parent)
{
}

TF_Main::TF_Main(const QString& settingsPath, const TableLookup& lookup, const QString& startDatei,
                 QWidget* parent)
    : QMainWindow(parent), m_tabellenSuche(lookup), m_startDatei(startDatei)
{
    // The chord-table window stays on top; every dialog of the program comes above it.
    qApp->installEventFilter(new DialogeOben(this));
    // Every window of the program, the chord-table window and the dialogs too, shows this icon.
    QApplication::setWindowIcon(ProgrammSymbol());
    createWidgets();
    createActions();
    createMenus();
    createPopupMenus();
    connectActions();
    minimumSizeSet();
    Dokument = std::make_unique<AkkordDepotClass>();
    verlaufErzeugen();
    Zeichner = std::make_unique<GriffbrettClass>(PB_Griffbrett->width(), PB_Griffbrett->height());
    Einstellungen = std::make_unique<PrivateProfile>(settingsPath);
    EinstellungenLaden();
    NaechsterFinger = 1;
    LetzterFinger = 0;
    GrifftabGeoeffnet = false;
    Zeichner->SetBundanzahl(Einstellungen->readInteger(diagramm, QStringLiteral("Bundanz%1").arg(Ansicht),
                                                       Ansicht == 1 ? 4 : 10));
    FormCreate();
}

TF_Main::~TF_Main()
{
    GrifftabFenster.reset();
    Zeichner.reset();
    Dokument.reset();
}

void TF_Main::createWidgets()
{
    setObjectName(QStringLiteral("TF_Main"));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    SBC_Griffbrett = new QWidget(central);
    SBC_Griffbrett->setObjectName(QStringLiteral("SBC_Griffbrett"));
    SBC_Griffbrett->setAutoFillBackground(true);
    QPalette background = SBC_Griffbrett->palette();
    background.setColor(QPalette::Window, background.color(QPalette::ToolTipBase));
    SBC_Griffbrett->setPalette(background);
    auto* boardLayout = new QVBoxLayout(SBC_Griffbrett);
    boardLayout->setContentsMargins(0, 0, 0, 0);
    PB_Griffbrett = new PaintBox(SBC_Griffbrett);
    PB_Griffbrett->setObjectName(QStringLiteral("PB_Griffbrett"));
    PB_Griffbrett->setStatusTip(QStringLiteral("Griffbrett"));
    PB_Griffbrett->onPaint = [this](QPainter& painter) { PB_GriffbrettPaint(painter); };
    PB_Griffbrett->onResize = [this] { FormResize(); };
    boardLayout->addWidget(PB_Griffbrett);
    layout->addWidget(SBC_Griffbrett, 1);

    SB_Statusbar = new Statusleiste(central);
    SB_Statusbar->setObjectName(QStringLiteral("SB_Statusbar"));
    SB_Statusbar->setStatusTip(
        QStringLiteral("Erkannter Akkord, sein Vorkommen in der Grifftab. und die akt. Statusmeldung"));
    layout->addWidget(SB_Statusbar);
    setCentralWidget(central);
    resize(273, 284 + menuBar()->sizeHint().height());
}

void TF_Main::minimumSizeSet()
{
    // The menu bar stays one row, and the board keeps room for four frets with legible texts.
    PB_Griffbrett->setMinimumSize(200, 150);
    setMinimumWidth(std::max(menuBar()->sizeHint().width(), PB_Griffbrett->minimumWidth()));
}

void TF_Main::EinstellungenLaden()
{
    MI_FingersatzOnOff->setChecked(Einstellungen->readBool(diagramm, QStringLiteral("Fingersatz"), true));
    switch (Einstellungen->readInteger(diagramm, QStringLiteral("RechteAnzeige"), 0)) {
    case 0:
        MI_Radio1Aus->setChecked(true);
        break;
    case 1:
        MI_Radio1Noten->setChecked(true);
        break;
    case 2:
        MI_Radio1Intervall->setChecked(true);
        break;
    default: // other values change no check mark
        break;
    }
    SB_Statusbar->setVisible(Einstellungen->readBool(computer, QStringLiteral("Statuszeile"), true));
    MI_AkkordnameOnOff->setChecked(Einstellungen->readBool(diagramm, QStringLiteral("Akkordname"), true));
    MI_LagenpunkteOnOff->setChecked(Einstellungen->readBool(diagramm, QStringLiteral("Lagenpunkte"), true));
    MI_LinkshaenderOnOff->setChecked(
        Einstellungen->readBool(diagramm, QStringLiteral("Linkshaender"), false));
    const bool followGrip = Einstellungen->readBool(diagramm, QStringLiteral("AkkordBestimmt"), true);
    Ansicht = followGrip ? 1 : 0;
    (followGrip ? MI_ShowAkkord : MI_ShowGriffbrett)->setChecked(true);
    MI_AkkordErkOnOff->setChecked(
        Einstellungen->readBool(QStringLiteral("Akkorderkennung"), QStringLiteral("Aktiv"), true));
    // A first start names chords from their bass, as songbooks do; a chosen mode is kept.
    if (Einstellungen->readInteger(QStringLiteral("Akkorderkennung"), QStringLiteral("Basston"), 1) != 0) {
        Dokument->SetzeStartSaite(StartSaiteBasston);
        MI_ErkennungSaite[StartSaiteBasston]->setChecked(true);
    }
    const bool hints = Einstellungen->readBool(computer, QStringLiteral("Kurzhinweise"), false);
    hintsShown(hints);
    MI_StatuszeileOnOff->setChecked(SB_Statusbar->isVisibleTo(this));
    MI_KurzhinweisOnOff->setChecked(hints);
}

void TF_Main::FormCreate()
{
    Tastenkuerzel(true);
    FensterLage(false);
    Zeichner->SetGroesseUndAnordnen(PB_Griffbrett->width(), PB_Griffbrett->height());
    setWindowTitle(QStringLiteral("Zupfwerk"));
    grifftabErzeugen();
    // A ChordPro file given to open goes into the last table, once the window is there.
    const bool chordPro = !m_startDatei.isEmpty() && istChordPro(m_startDatei);
    if (m_startDatei.isEmpty() || chordPro)
        OeffnenMitPfad(m_tabellenSuche.find(Einstellungen->readString(
            computer, QStringLiteral("LetzteDatei"), QStringLiteral("Gitarre, E-A-D-G-H-E.cho"))));
    else
        OeffnenMitPfad(m_startDatei);
    if (chordPro)
        QTimer::singleShot(0, this, [this] { chordProAnbieten(m_startDatei); });
    GrifftabLageLaden(false);
    selectedGripFetch();
    NachHolenAktualisieren();
    SB_Statusbar->update();
    BundanzahlAnwenden(Zeichner->Bundzahl());
    oeffnenMeldungZeigen();
}

void TF_Main::FensterLage(bool speichern)
{
    const QString v = QString::number(Ansicht);
    if (speichern) {
        Einstellungen->writeInteger(computer, QStringLiteral("WindowTop") + v, y()) &&
            Einstellungen->writeInteger(computer, QStringLiteral("WindowLeft") + v, x()) &&
            Einstellungen->writeInteger(computer, QStringLiteral("WindowHeight") + v, height()) &&
            Einstellungen->writeInteger(computer, QStringLiteral("WindowWidth") + v, width());
        return;
    }
    // Centring only takes effect when the window is first shown, as with a window's start position.
    m_zentrieren =
        Einstellungen->readInteger(computer, QStringLiteral("WindowTop") + v, -1000) == -1000 && !isVisible();
    const int top = Einstellungen->readInteger(computer, QStringLiteral("WindowTop") + v, y());
    const int left =
        Einstellungen->readInteger(computer, QStringLiteral("WindowLeft") + v, Ansicht == 1 ? x() : 5);
    const int height = Einstellungen->readInteger(computer, QStringLiteral("WindowHeight") + v, 380);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->geometry().width() : 800;
    const int width = Einstellungen->readInteger(computer, QStringLiteral("WindowWidth") + v,
                                                 Ansicht == 1 ? 320 : screenWidth - 15);
    resize(passendeGroesse(QSize(width, height), minimumSizeHint().expandedTo(minimumSize()),
                           QPoint(left, top)));
    // A placement saved on a screen that is gone is moved onto the nearest one.
    move(sichtbareLage(QRect(QPoint(left, top), frameGeometry().size())));
}

void TF_Main::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_zentrieren) {
        m_zentrieren = false;
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            move(area.x() + (area.width() - frameGeometry().width()) / 2,
                 area.y() + (area.height() - frameGeometry().height()) / 2);
        }
    }
    // On the first start the chord-table window opens beside this one, once this one has its place.
    if (m_grifftabDaneben && GrifftabFenster) {
        m_grifftabDaneben = false;
        GrifftabFenster->move(lageDaneben(frameGeometry(), GrifftabFenster->frameGeometry().size()));
    }
}

bool TF_Main::FormCloseQuery()
{
    return AenderungenUebernehmen() != 2;
}

void TF_Main::FormClose()
{
    if (!Einstellungen->writeInteger(diagramm, QStringLiteral("Vorgabe"), Dokument->Nummer))
        return;
    FensterLage(true);
    GrifftabLageSpeichern();
}

void TF_Main::closeEvent(QCloseEvent* event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    m_beendet = true;
    FormClose();
    event->accept();
}

bool TF_Main::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        HinweisZeigen(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    // Asked once the activation is over, so that the question's own box does not disturb it.
    if (event->type() == QEvent::WindowActivate)
        QMetaObject::invokeMethod(this, &TF_Main::aussenAenderungPruefen, Qt::QueuedConnection);
    return QMainWindow::event(event);
}

void TF_Main::HinweisZeigen(const QString& hinweis)
{
    // Leaving a control sends an empty hint; a command's own message stays until the next hint.
    if (hinweis.isEmpty())
        return;
    // The control under the mouse announces itself again when a menu or a dialog closes over it: its
    // hint does not replace a command's message until the mouse goes on to another control.
    QWidget* under = QApplication::widgetAt(QCursor::pos());
    const bool hover = under && under->statusTip() == hinweis && !QApplication::activePopupWidget();
    if (hover && m_befehlsMeldung) {
        if (!m_meldungsSchutz)
            m_meldungsSchutz = under;
        if (under == m_meldungsSchutz)
            return;
    }
    SB_Statusbar->setPanelText(3, hinweis);
    m_befehlsMeldung = false;
    m_meldungsSchutz = nullptr;
}

void TF_Main::hintsShown(bool shown)
{
    const QList<QWidget*> widgets = findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        if (!widget->statusTip().isEmpty())
            widget->setToolTip(shown ? widget->statusTip() : QString());
    }
    const QList<QMenu*> menus = findChildren<QMenu*>();
    for (QMenu* menu : menus)
        menu->setToolTipsVisible(shown);
}

void TF_Main::Statusmeldung(const QString& text)
{
    SB_Statusbar->setPanelText(3, text);
    m_befehlsMeldung = !text.isEmpty();
    m_meldungsSchutz = nullptr;
}
