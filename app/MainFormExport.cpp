#include "app/MainForm.h"

#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

#include "app/PaintBox.h"
#include "forms/DateiDialog.h"
#include "forms/GrifftabForm.h"
#include "forms/MeldungZeigen.h"
#include "forms/ModelText.h"
#include "forms/PrivateProfile.h"
#include "render/DiagramExport.h"
#include "render/Griffbrett.h"
#include "table/AkkordDepot.h"

namespace {

constexpr int smallestSide = 16;
constexpr int largestSide = 8192;

const QString exportSection = QStringLiteral("Export");

// Ok and cancel under a dialog's controls; cancel keeps "A" free for the choices above it.
void addButtons(QDialog& dialog, QVBoxLayout* layout, const QString& abbruch = QStringLiteral("&Abbruch"))
{
    auto* ok = new QPushButton(QStringLiteral("&Ok"), &dialog);
    ok->setObjectName(QStringLiteral("B_Ok"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(abbruch, &dialog);
    cancel->setObjectName(QStringLiteral("B_Abbruch"));
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    layout->addLayout(row);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
}

DiagramStil storedStyle(const PrivateProfile& settings)
{
    return settings.readInteger(exportSection, QStringLiteral("Stil"), 0) == 1 ? DiagramStil::Griffbrett
                                                                               : DiagramStil::Kasten;
}

int storedColumns(const PrivateProfile& settings)
{
    return std::clamp(
        settings.readInteger(exportSection, QStringLiteral("Spalten"), ChordSheet::DefaultColumns),
        ChordSheet::LeastColumns, ChordSheet::MostColumns);
}

QComboBox* styleChoice(QDialog& dialog, DiagramStil stil)
{
    auto* box = new QComboBox(&dialog);
    box->setObjectName(QStringLiteral("CB_Stil"));
    box->addItem(QStringLiteral("Akkordkasten"));
    box->addItem(QStringLiteral("Griffbrett"));
    box->setCurrentIndex(stil == DiagramStil::Griffbrett ? 1 : 0);
    return box;
}

DiagramStil chosenStyle(const QComboBox* box)
{
    return box->currentIndex() == 1 ? DiagramStil::Griffbrett : DiagramStil::Kasten;
}

// The image size and style, preset with size and stil; false when cancelled.
bool sizeAsk(QWidget* owner, QSize& size, DiagramStil& stil)
{
    QDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("TF_Bildgroesse"));
    dialog.setWindowTitle(QStringLiteral("Diagramm als Bild"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    QSpinBox* sides[2] = {};
    const char* const names[2] = {"E_Breite", "E_Hoehe"};
    const int values[2] = {size.width(), size.height()};
    for (int i = 0; i < 2; ++i) {
        sides[i] = new QSpinBox(&dialog);
        sides[i]->setObjectName(QString::fromLatin1(names[i]));
        sides[i]->setRange(smallestSide, largestSide);
        sides[i]->setSuffix(QStringLiteral(" Pixel"));
        sides[i]->setValue(values[i]);
    }
    form->addRow(QStringLiteral("&Breite:"), sides[0]);
    form->addRow(QStringLiteral("&Höhe:"), sides[1]);
    QComboBox* style = styleChoice(dialog, stil);
    form->addRow(QStringLiteral("&Stil:"), style);
    layout->addLayout(form);
    addButtons(dialog, layout);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    size = QSize(sides[0]->value(), sides[1]->value());
    stil = chosenStyle(style);
    return true;
}

QString gripCount(int count)
{
    return count == 1 ? QStringLiteral("1 Griff") : QStringLiteral("%1 Griffe").arg(count);
}

// What the user chose for a sheet.
struct SheetChoice
{
    int umfang = -1; // 0 the whole table, 1 the root, 2 the chord; -1 when cancelled
    int spalten = ChordSheet::DefaultColumns;
    DiagramStil stil = DiagramStil::Kasten;
};

// An empty text is a choice not offered. For a sheet the narrowest choice offered comes preselected, so
// Return alone never prints more than the user picked in the chord-table window.
SheetChoice scopeAsk(QWidget* owner, const QString& titel, const QString (&texte)[3], const int (&anzahl)[3],
                     SheetChoice preset, bool sheet)
{
    QDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("TF_Umfang"));
    dialog.setWindowTitle(titel);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Welche Griffe?"), &dialog));
    const char* const names[3] = {"RB_Tabelle", "RB_Grundton", "RB_Akkord"};
    QRadioButton* choices[3] = {};
    for (int i = 0; i < 3; ++i) {
        choices[i] = new QRadioButton(&dialog);
        choices[i]->setObjectName(QString::fromLatin1(names[i]));
        choices[i]->setText(texte[i].isEmpty()
                                ? QString()
                                : texte[i] + QStringLiteral(" (") + gripCount(anzahl[i]) + QLatin1Char(')'));
        choices[i]->setVisible(!texte[i].isEmpty());
        choices[i]->setEnabled(anzahl[i] > 0);
        // An access key presses the button and checks it only 100 ms later: a Return typed in between
        // must already see the choice.
        QObject::connect(choices[i], &QRadioButton::pressed, choices[i],
                         [button = choices[i]] { button->setChecked(true); });
        layout->addWidget(choices[i]);
    }
    // A list of definitions costs nothing to make whole; paper does.
    int narrowest = 0;
    for (int i = 0; sheet && i < 3; ++i) {
        if (!texte[i].isEmpty() && anzahl[i] > 0)
            narrowest = i;
    }
    choices[narrowest]->setChecked(true);
    choices[narrowest]->setFocus();

    QSpinBox* columns = nullptr;
    QComboBox* style = nullptr;
    if (sheet) {
        auto* form = new QFormLayout;
        columns = new QSpinBox(&dialog);
        columns->setObjectName(QStringLiteral("E_Spalten"));
        columns->setRange(ChordSheet::LeastColumns, ChordSheet::MostColumns);
        columns->setValue(preset.spalten);
        form->addRow(QStringLiteral("&Diagramme je Zeile:"), columns);
        style = styleChoice(dialog, preset.stil);
        form->addRow(QStringLiteral("&Stil:"), style);
        layout->addLayout(form);
    }
    addButtons(dialog, layout, QStringLiteral("A&bbruch"));

    SheetChoice choice;
    if (dialog.exec() != QDialog::Accepted)
        return choice;
    for (int i = 0; i < 3; ++i) {
        if (choices[i]->isChecked())
            choice.umfang = i;
    }
    if (sheet) {
        choice.spalten = columns->value();
        choice.stil = chosenStyle(style);
    }
    return choice;
}

// The frets the grip needs, mirrored as the window shows it, in the style chosen.
DiagramView exportView(const AkkordDatenClass& griff, bool linkshaender, DiagramStil stil)
{
    DiagramView view = DiagramExport::frameFor(griff);
    view.linkshaender = linkshaender;
    view.stil = stil;
    return view;
}

// Exports start in the chord table's folder.
QString exportOrdner(const QString& dateiName)
{
    return dateiName.isEmpty() ? QString() : QFileInfo(dateiName).absolutePath();
}

int selectedRow(const QListWidget* list)
{
    const int row = list->currentRow();
    return row >= 0 && list->item(row)->isSelected() ? row : -1;
}

// The progress of a sheet in a dialog the user can cancel.
class SheetProgress
{
public:
    SheetProgress(QWidget* owner, int total)
        : m_dialog(QStringLiteral("Griffblatt wird erstellt..."), QStringLiteral("Abbrechen"), 0, total,
                   owner)
    {
        m_dialog.setObjectName(QStringLiteral("exportFortschritt"));
        m_dialog.setWindowTitle(QStringLiteral("Zupfwerk"));
        m_dialog.setWindowModality(Qt::WindowModal);
        // Shown at once: only a shown dialog keeps the window responsive and can be cancelled.
        m_dialog.setMinimumDuration(0);
    }

    bool step(int done)
    {
        m_dialog.setValue(done);
        return !m_dialog.wasCanceled();
    }

private:
    QProgressDialog m_dialog;
};

} // namespace

ChordSheet::Layout TF_Main::blattLayout() const
{
    ChordSheet::Layout layout;
    layout.spalten = storedColumns(*Einstellungen);
    layout.stil = storedStyle(*Einstellungen);
    layout.options = diagrammOptionen();
    layout.linkshaender = MI_LinkshaenderOnOff->isChecked();
    return layout;
}

QSize TF_Main::bildGroesse() const
{
    return QSize(std::clamp(Einstellungen->readInteger(exportSection, QStringLiteral("Bildbreite"), 400),
                            smallestSide, largestSide),
                 std::clamp(Einstellungen->readInteger(exportSection, QStringLiteral("Bildhoehe"), 400),
                            smallestSide, largestSide));
}

QImage TF_Main::diagrammBild(QSize groesse) const
{
    return DiagramExport(*Dokument).image(
        *Dokument, Ergebnis, diagrammOptionen(),
        exportView(*Dokument, MI_LinkshaenderOnOff->isChecked(), storedStyle(*Einstellungen)), groesse);
}

void TF_Main::MI_DiagrammExportClick()
{
    QSize size = bildGroesse();
    DiagramStil stil = storedStyle(*Einstellungen);
    if (!sizeAsk(this, size, stil))
        return;
    Einstellungen->writeInteger(exportSection, QStringLiteral("Bildbreite"), size.width());
    Einstellungen->writeInteger(exportSection, QStringLiteral("Bildhoehe"), size.height());
    Einstellungen->writeInteger(exportSection, QStringLiteral("Stil"),
                                stil == DiagramStil::Griffbrett ? 1 : 0);

    QString filter;
    const QString path = SD_ExportAusfuehren(this, QStringLiteral("PNG-Bild (*.png);;SVG-Grafik (*.svg)"),
                                             QStringLiteral("png"), &filter, exportOrdner(m_dateiName));
    if (path.isEmpty())
        return;
    // A name typed with its own extension decides; otherwise the filter chosen.
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool svg = suffix == QStringLiteral("svg") ||
                     (suffix != QStringLiteral("png") && filter.contains(QStringLiteral("*.svg")));

    QString fehler;
    if (!DiagramExport(*Dokument).writeImage(path, svg, *Dokument, Ergebnis, diagrammOptionen(),
                                             exportView(*Dokument, MI_LinkshaenderOnOff->isChecked(), stil),
                                             size, &fehler)) {
        MeldungZeigen(this, 1, fehler, QStringLiteral("Diagramm als Bild"), 2);
        return;
    }
    Statusmeldung(QStringLiteral("Diagramm gespeichert: %1").arg(QFileInfo(path).fileName()));
}

void TF_Main::MI_KopierenClick()
{
    // The picture "Diagramm als Bild" writes, at its size and in its style.
    QGuiApplication::clipboard()->setImage(diagrammBild(bildGroesse()));
    Statusmeldung(QStringLiteral("Diagramm in die Zwischenablage kopiert"));
}

bool TF_Main::blattGriffeWaehlen(const QString& titel, std::vector<int>& griffe, QString* inhalt)
{
    const DiagramExport exporter(*Dokument);
    if (Dokument->Anzahl() == 0) {
        MeldungZeigen(this, 3, QStringLiteral("Die Grifftabelle enthält keine Griffe."), titel, 2);
        return false;
    }
    const int root = GrifftabFenster ? selectedRow(GrifftabFenster->LB_Grund) : -1;
    const int typ = root >= 0 ? selectedRow(GrifftabFenster->LB_Akkorde) : -1;
    QString texte[3] = {QStringLiteral("&Ganze Grifftabelle")};
    int anzahl[3] = {Dokument->Anzahl(), 0, 0};
    if (root >= 0) {
        texte[1] = QStringLiteral("G&rundton %1").arg(modelToQt(Dokument->TonName(root, true)));
        anzahl[1] = static_cast<int>(exporter.select(root, -1).size());
    }
    if (typ >= 0) {
        texte[2] = QStringLiteral("&Akkord %1").arg(chordName(root, typ));
        anzahl[2] = static_cast<int>(exporter.select(root, typ).size());
    }
    SheetChoice preset;
    preset.spalten = storedColumns(*Einstellungen);
    preset.stil = storedStyle(*Einstellungen);
    const SheetChoice choice = scopeAsk(this, titel, texte, anzahl, preset, inhalt != nullptr);
    if (choice.umfang < 0)
        return false;
    if (inhalt) {
        Einstellungen->writeInteger(exportSection, QStringLiteral("Spalten"), choice.spalten);
        Einstellungen->writeInteger(exportSection, QStringLiteral("Stil"),
                                    choice.stil == DiagramStil::Griffbrett ? 1 : 0);
    }
    const int grundton = choice.umfang >= 1 ? root : -1;
    const int akkordTyp = choice.umfang == 2 ? typ : -1;
    griffe = exporter.select(grundton, akkordTyp);
    if (inhalt)
        *inhalt = exporter.contentText(grundton, akkordTyp, static_cast<int>(griffe.size()));
    return !griffe.empty();
}

void TF_Main::MI_GrifftabellePdfClick()
{
    const QString titel = QStringLiteral("Grifftabelle als PDF");
    std::vector<int> griffe;
    QString inhalt;
    if (!blattGriffeWaehlen(titel, griffe, &inhalt))
        return;
    const QString path = SD_ExportAusfuehren(this, QStringLiteral("PDF-Dokument (*.pdf)"),
                                             QStringLiteral("pdf"), nullptr, exportOrdner(m_dateiName));
    if (path.isEmpty())
        return;
    const DiagramExport exporter(*Dokument);
    const ChordSheet::Layout layout = blattLayout();
    QString fehler;
    bool written = false;
    {
        SheetProgress progress(this, static_cast<int>(griffe.size()));
        written = exporter.writeSheet(
            path, griffe, layout, inhalt, [&progress](int done, int) { return progress.step(done); },
            &fehler);
    }
    if (!written && fehler.isEmpty()) {
        Statusmeldung(QStringLiteral("Export abgebrochen"));
        return;
    }
    if (!written) {
        MeldungZeigen(this, 1, fehler, titel, 2);
        return;
    }
    const int pages = exporter.sheet(layout, inhalt).pageCount(static_cast<int>(griffe.size()));
    Statusmeldung(QStringLiteral("Griffblatt gespeichert: %1, %2 %3")
                      .arg(QFileInfo(path).fileName())
                      .arg(pages)
                      .arg(pages == 1 ? QStringLiteral("Seite") : QStringLiteral("Seiten")));
}

void TF_Main::MI_DruckenClick()
{
    const QString titel = QStringLiteral("Drucken");
    std::vector<int> griffe;
    QString inhalt;
    if (!blattGriffeWaehlen(titel, griffe, &inhalt))
        return;
    const DiagramExport exporter(*Dokument);
    const ChordSheet sheet = exporter.sheet(blattLayout(), inhalt);
    const std::vector<ChordSheetBox> boxes = exporter.sheetBoxes(griffe);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(ChordSheet::pageLayout());
    printer.setDocName(exporter.instrumentName());
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("TF_Drucken"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(1, sheet.pageCount(static_cast<int>(boxes.size())));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const bool range = printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0;
    const int firstPage = range ? printer.fromPage() : 1;
    const int lastPage = range ? printer.toPage() : 0;
    // Printers that cannot repeat a job themselves get every copy from here.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    QPainter painter;
    if (!painter.begin(&printer)) {
        MeldungZeigen(
            this, 1, QStringLiteral("Der Drucker \"%1\" nimmt keinen Auftrag an.").arg(printer.printerName()),
            titel, 2);
        return;
    }
    bool complete = true;
    {
        SheetProgress progress(this, static_cast<int>(boxes.size()) * copies);
        for (int copy = 0; copy < copies && complete; ++copy) {
            if (copy > 0)
                printer.newPage();
            const int offset = copy * static_cast<int>(boxes.size());
            complete = sheet.paint(
                painter, printer, boxes,
                [&progress, offset](int done, int) { return progress.step(offset + done); }, firstPage,
                lastPage);
        }
    }
    if (!complete)
        printer.abort();
    painter.end();
    if (!complete) {
        // Printing into a file cannot be aborted half-way: what was written goes again.
        if (!printer.outputFileName().isEmpty())
            QFile::remove(printer.outputFileName());
        Statusmeldung(QStringLiteral("Drucken abgebrochen"));
        return;
    }
    Statusmeldung(QStringLiteral("Griffblatt gedruckt: %1").arg(gripCount(static_cast<int>(griffe.size()))));
}
