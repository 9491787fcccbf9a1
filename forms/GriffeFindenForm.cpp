#include "forms/GriffeFindenForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStringList>
#include <QVBoxLayout>

#include <algorithm>
#include <string>
#include <utility>

#include "export/ChordNameParser.h"
#include "forms/ModelText.h"
#include "forms/PrivateProfile.h"
#include "griffsuche/Griffsuche.h"
#include "render/DiagramExport.h"
#include "table/AkkordDepot.h"

namespace {

const QString section = QStringLiteral("Griffsuche");

// Work done in one turn of the event loop, and how long filling may run before progress shows.
constexpr int sliceMilliseconds = 12;
constexpr int frameMilliseconds = 16;

void hint(QWidget* widget, const QString& text)
{
    widget->setStatusTip(text);
    widget->setToolTip(text);
}

// Frets from the lowest string as songbooks write them: "x32010", with blanks once a fret has two digits.
QString fretText(const GefundenerGriffClass& griff)
{
    const bool wide =
        std::any_of(griff.Bunde, griff.Bunde + griff.SaitenAnzahl, [](int fret) { return fret > 9; });
    QStringList frets;
    for (int s = 0; s < griff.SaitenAnzahl; ++s)
        frets << (griff.Bunde[s] < 0 ? QStringLiteral("x") : QString::number(griff.Bunde[s]));
    return frets.join(wide ? QStringLiteral(" ") : QString());
}

QString gripCount(int count)
{
    if (count == 0)
        return QStringLiteral("Keine Griffe");
    return count == 1 ? QStringLiteral("1 Griff") : QStringLiteral("%1 Griffe").arg(count);
}

} // namespace

TF_GriffeFinden::TF_GriffeFinden(const AkkordDepotClass& dokument, PrivateProfile& einstellungen,
                                 int grundton, int typ, Zeigen zeigen, Speichern speichern, QWidget* owner)
    : QDialog(owner), m_dokument(dokument), m_einstellungen(einstellungen), m_zeigen(std::move(zeigen)),
      m_speichern(std::move(speichern)), m_suche(std::make_unique<GriffsucheClass>()),
      m_export(std::make_unique<DiagramExport>(dokument)), m_bild(std::make_unique<AkkordClass>())
{
    setObjectName(QStringLiteral("TF_GriffeFinden"));
    setWindowTitle(QStringLiteral("Griffe finden"));
    m_grundton = std::clamp(grundton, 0, 11);
    m_typ = typ >= 0 && typ < m_dokument.TypAnzahl() ? typ : 0;
    createControls();
    arrangeControls();
    TCB_Akkord->setCurrentIndex(m_grundton * m_dokument.TypAnzahl() + m_typ);
    settingsRestore();
    connectControls();
    m_zeitgeber.setSingleShot(true);
    m_zeitgeber.setInterval(0);
    connect(&m_zeitgeber, &QTimer::timeout, this, &TF_GriffeFinden::fillSlice);
    SucheStarten();
}

TF_GriffeFinden::~TF_GriffeFinden() = default;

void TF_GriffeFinden::createControls()
{
    TCB_Akkord = new QComboBox(this);
    TCB_Akkord->setObjectName(QStringLiteral("TCB_Akkord"));
    TCB_Akkord->setEditable(true);
    TCB_Akkord->setInsertPolicy(QComboBox::NoInsert);
    TCB_Akkord->setMaxVisibleItems(20);
    hint(TCB_Akkord, QStringLiteral("Gesuchter Akkord, etwa Am7, F#m7b5 oder Hm"));
    for (int ton = 0; ton < 12; ++ton) {
        for (int typ = 0; typ < m_dokument.TypAnzahl(); ++typ)
            TCB_Akkord->addItem(chordName(ton, typ));
    }
    TCB_Akkord->completer()->setCompletionMode(QCompleter::PopupCompletion);
    TCB_Akkord->completer()->setCaseSensitivity(Qt::CaseSensitive);

    UD_Spannweite = new QSpinBox(this);
    UD_Spannweite->setObjectName(QStringLiteral("UD_Spannweite"));
    UD_Spannweite->setRange(GriffsucheEinstellungClass::MinSpannweite,
                            GriffsucheEinstellungClass::MaxSpannweite);
    hint(UD_Spannweite, QStringLiteral("So viele Bünde darf ein Griff überspannen"));
    UD_Bund = new QSpinBox(this);
    UD_Bund->setObjectName(QStringLiteral("UD_Bund"));
    UD_Bund->setRange(GriffsucheEinstellungClass::MinBund, GriffsucheEinstellungClass::MaxBund);
    hint(UD_Bund, QStringLiteral("Griffe bis zu diesem Bund suchen"));

    CB_GrundtonImBass = new QCheckBox(QStringLiteral("Grundton im Bass"), this);
    CB_GrundtonImBass->setObjectName(QStringLiteral("CB_GrundtonImBass"));
    hint(CB_GrundtonImBass, QStringLiteral("Nur Griffe, deren tiefster Ton der Grundton ist"));
    CB_OhneLeersaiten = new QCheckBox(QStringLiteral("nur ohne Leersaiten"), this);
    CB_OhneLeersaiten->setObjectName(QStringLiteral("CB_OhneLeersaiten"));
    hint(CB_OhneLeersaiten, QStringLiteral("Nur verschiebbare Griffe ohne leere Saiten"));

    LB_Griffe = new QListWidget(this);
    LB_Griffe->setObjectName(QStringLiteral("LB_Griffe"));
    LB_Griffe->setViewMode(QListView::IconMode);
    LB_Griffe->setIconSize(QSize(DiagrammBreite, DiagrammHoehe));
    LB_Griffe->setGridSize(QSize(DiagrammBreite + 16, DiagrammHoehe + 44));
    LB_Griffe->setResizeMode(QListView::Adjust);
    LB_Griffe->setMovement(QListView::Static);
    LB_Griffe->setUniformItemSizes(true);
    LB_Griffe->setWordWrap(true);
    LB_Griffe->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LB_Griffe->setStatusTip(QStringLiteral("Der gewählte Griff erscheint auf dem Griffbrett"));

    L_Anzahl = new QLabel(this);
    L_Anzahl->setObjectName(QStringLiteral("L_Anzahl"));
    PG_Fortschritt = new QProgressBar(this);
    PG_Fortschritt->setObjectName(QStringLiteral("PG_Fortschritt"));
    PG_Fortschritt->setRange(0, 100);
    PG_Fortschritt->hide();

    B_Speichern = new QPushButton(QStringLiteral("&Speichern"), this);
    B_Speichern->setObjectName(QStringLiteral("B_Speichern"));
    B_Speichern->setAutoDefault(false);
    hint(B_Speichern, QStringLiteral("Ausgewählte Griffe, ohne Auswahl alle, in Grifftabelle speichern"));
    B_Schliessen = new QPushButton(QStringLiteral("S&chließen"), this);
    B_Schliessen->setObjectName(QStringLiteral("B_Schliessen"));
    B_Schliessen->setAutoDefault(false);
    hint(B_Schliessen, QStringLiteral("Griffsuche beenden"));
}

void TF_GriffeFinden::arrangeControls()
{
    auto* akkord = new QLabel(QStringLiteral("&Akkord"), this);
    akkord->setBuddy(TCB_Akkord);
    auto* spannweite = new QLabel(QStringLiteral("S&pannweite"), this);
    spannweite->setBuddy(UD_Spannweite);
    auto* bund = new QLabel(QStringLiteral("bis &Bund"), this);
    bund->setBuddy(UD_Bund);

    auto* choice = new QGridLayout;
    choice->addWidget(akkord, 0, 0);
    choice->addWidget(TCB_Akkord, 0, 1, 1, 3);
    choice->addWidget(spannweite, 1, 0);
    choice->addWidget(UD_Spannweite, 1, 1);
    choice->addWidget(bund, 1, 2);
    choice->addWidget(UD_Bund, 1, 3);
    choice->addWidget(CB_GrundtonImBass, 1, 4);
    choice->addWidget(CB_OhneLeersaiten, 1, 5);
    choice->setColumnStretch(3, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(L_Anzahl);
    bottom->addWidget(PG_Fortschritt, 1);
    bottom->addStretch();
    bottom->addWidget(B_Speichern);
    bottom->addWidget(B_Schliessen);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addWidget(LB_Griffe, 1);
    layout->addLayout(bottom);
    resize(800, 560);
}

void TF_GriffeFinden::settingsRestore()
{
    const GriffsucheEinstellungClass defaults;
    UD_Spannweite->setValue(
        m_einstellungen.readInteger(section, QStringLiteral("Spannweite"), defaults.Spannweite));
    UD_Bund->setValue(m_einstellungen.readInteger(section, QStringLiteral("Bund"), defaults.HoechsterBund));
    CB_GrundtonImBass->setChecked(m_einstellungen.readBool(section, QStringLiteral("GrundtonImBass"), false));
    CB_OhneLeersaiten->setChecked(m_einstellungen.readBool(section, QStringLiteral("OhneLeersaiten"), false));
}

void TF_GriffeFinden::connectControls()
{
    connect(TCB_Akkord, &QComboBox::editTextChanged, this, &TF_GriffeFinden::TCB_AkkordChange);
    connect(UD_Spannweite, &QSpinBox::valueChanged, this, [this](int wert) {
        m_einstellungen.writeInteger(section, QStringLiteral("Spannweite"), wert);
        SucheStarten();
    });
    connect(UD_Bund, &QSpinBox::valueChanged, this, [this](int wert) {
        m_einstellungen.writeInteger(section, QStringLiteral("Bund"), wert);
        SucheStarten();
    });
    connect(CB_GrundtonImBass, &QCheckBox::toggled, this, [this](bool an) {
        m_einstellungen.writeBool(section, QStringLiteral("GrundtonImBass"), an);
        FilterClick();
    });
    connect(CB_OhneLeersaiten, &QCheckBox::toggled, this, [this](bool an) {
        m_einstellungen.writeBool(section, QStringLiteral("OhneLeersaiten"), an);
        FilterClick();
    });
    connect(LB_Griffe, &QListWidget::currentRowChanged, this, &TF_GriffeFinden::LB_GriffeClick);
    connect(B_Speichern, &QPushButton::clicked, this, &TF_GriffeFinden::B_SpeichernClick);
    connect(B_Schliessen, &QPushButton::clicked, this, &TF_GriffeFinden::close);
}

bool TF_GriffeFinden::Gefuellt() const
{
    return m_zeilenBereit && m_fertigeZeilen == Zeilen();
}

const GefundenerGriffClass& TF_GriffeFinden::GriffInZeile(int zeile) const
{
    return m_suche->Griff(m_zeilen[static_cast<std::size_t>(zeile)]);
}

void TF_GriffeFinden::SucheStarten()
{
    m_zeitgeber.stop();
    static_cast<StimmClass&>(*m_bild) = static_cast<const StimmClass&>(m_dokument);
    GriffsucheEinstellungClass settings;
    settings.Spannweite = UD_Spannweite->value();
    settings.HoechsterBund = UD_Bund->value();
    m_suche->Starten(m_dokument, m_grundton, m_typ, settings);
    m_zeilenBereit = false;
    m_zeilen.clear();
    m_fertigeZeilen = 0;
    LB_Griffe->clear();
    B_Speichern->setEnabled(false);
    PG_Fortschritt->setValue(0);
    PG_Fortschritt->hide();
    if (!m_akkordBekannt) {
        // No grips of another chord than the field names.
        L_Anzahl->setText(QStringLiteral("Unbekannter Akkord"));
        return;
    }
    L_Anzahl->setText(QStringLiteral("Suche läuft..."));
    m_dauer.start();
    m_zeitgeber.start();
}

void TF_GriffeFinden::TCB_AkkordChange(const QString& text)
{
    int grundton = 0;
    int typ = 0;
    const bool known = ChordNameParser(m_dokument).parse(text.trimmed().toStdString(), grundton, typ);
    if (known == m_akkordBekannt && (!known || (grundton == m_grundton && typ == m_typ)))
        return;
    m_akkordBekannt = known;
    if (known) {
        m_grundton = grundton;
        m_typ = typ;
    }
    SucheStarten();
}

QString TF_GriffeFinden::chordName(int grundton, int typ) const
{
    return modelToQt(m_dokument.TonName(grundton, true)) + modelToQt(m_dokument.TypName(typ));
}

void TF_GriffeFinden::FilterClick()
{
    if (m_zeilenBereit)
        rowsRestart();
}

void TF_GriffeFinden::rowsRestart()
{
    m_zeitgeber.stop();
    m_zeilen = m_suche->Gefiltert(CB_GrundtonImBass->isChecked(), CB_OhneLeersaiten->isChecked());
    m_zeilenBereit = true;
    m_fertigeZeilen = 0;
    LB_Griffe->clear();
    B_Speichern->setEnabled(false);
    m_dauer.start();
    m_zeitgeber.start();
}

void TF_GriffeFinden::fillSlice()
{
    QElapsedTimer slice;
    slice.start();
    while (!m_suche->Fertig() && slice.elapsed() < sliceMilliseconds)
        m_suche->Weiter();
    if (m_suche->Fertig() && !m_zeilenBereit) {
        m_zeilen = m_suche->Gefiltert(CB_GrundtonImBass->isChecked(), CB_OhneLeersaiten->isChecked());
        m_zeilenBereit = true;
    }
    while (m_zeilenBereit && m_fertigeZeilen < Zeilen() && slice.elapsed() < sliceMilliseconds) {
        const GefundenerGriffClass& griff = GriffInZeile(m_fertigeZeilen++);
        const QString lage =
            griff.Lage > 0 ? QStringLiteral("%1. Bund").arg(griff.Lage) : QStringLiteral("offen");
        auto* item =
            new QListWidgetItem(diagram(griff), fretText(griff) + QLatin1Char('\n') + lage, LB_Griffe);
        item->setToolTip(modelToQt(griff.Begruendung()));
    }
    if (Gefuellt()) {
        PG_Fortschritt->hide();
        B_Speichern->setEnabled(Zeilen() > 0);
        countUpdate();
        return;
    }
    if (m_dauer.elapsed() > frameMilliseconds) {
        const int rows = m_zeilenBereit ? 50 + 50 * m_fertigeZeilen / std::max(1, Zeilen()) : 0;
        PG_Fortschritt->setValue(m_zeilenBereit ? rows : m_suche->Fortschritt() / 2);
        PG_Fortschritt->show();
    }
    m_zeitgeber.start();
}

void TF_GriffeFinden::countUpdate()
{
    if (Zeilen() == m_suche->Anzahl())
        L_Anzahl->setText(gripCount(Zeilen()));
    else
        L_Anzahl->setText(m_suche->Anzahl() == 1
                              ? QStringLiteral("%1 von 1 Griff").arg(Zeilen())
                              : QStringLiteral("%1 von %2 Griffen").arg(Zeilen()).arg(m_suche->Anzahl()));
}

QIcon TF_GriffeFinden::diagram(const GefundenerGriffClass& griff)
{
    m_bild->Daten() = griff.Griff;
    TrefferClass akkord;
    akkord.Grundton = griff.Griff.Grundton;
    akkord.AkkordTyp = griff.Griff.AkkordTyp;
    DiagramOptions options;
    options.akkordname = false;
    options.fingerzahlen = true;
    options.rechteAnzeige = 0;
    // The finder lists grips as the main window's board shows them.
    DiagramView view = DiagramExport::frameFor(griff.Griff);
    view.stil = DiagramStil::Griffbrett;
    const QImage image =
        m_export->image(*m_bild, akkord, options, view, QSize(DiagrammBreite, DiagrammHoehe));
    return QIcon(QPixmap::fromImage(image));
}

void TF_GriffeFinden::LB_GriffeClick(int zeile)
{
    if (zeile < 0 || zeile >= m_fertigeZeilen || !m_zeigen)
        return;
    m_zeigen(GriffInZeile(zeile).Griff);
}

void TF_GriffeFinden::B_SpeichernClick()
{
    if (!Gefuellt() || !m_speichern)
        return;
    std::vector<int> rows;
    for (const QListWidgetItem* item : LB_Griffe->selectedItems())
        rows.push_back(LB_Griffe->row(item));
    std::sort(rows.begin(), rows.end());
    if (rows.empty()) {
        for (int zeile = 0; zeile < Zeilen(); ++zeile)
            rows.push_back(zeile);
    }
    std::vector<AkkordDatenClass> griffe;
    griffe.reserve(rows.size());
    for (int zeile : rows)
        griffe.push_back(GriffInZeile(zeile).Griff);
    m_speichern(griffe);
}
