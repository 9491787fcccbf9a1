#include "app/MainForm.h"

#include <QClipboard>
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

// Ok and cancel under a dialog's controls.
void addButtons(QDialog& dialog, QVBoxLayout* layout)
{
    auto* ok = new QPushButton(QStringLiteral("&Ok"), &dialog);
    ok->setObjectName(QStringLiteral("B_Ok"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Abbruch"), &dialog);
    cancel->setObjectName(QStringLiteral("B_Abbruch"));
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    layout->addLayout(row);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
}

// The image size, preset with size; false when cancelled.
bool sizeAsk(QWidget* owner, QSize& size)
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
    layout->addLayout(form);
    addButtons(dialog, layout);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    size = QSize(sides[0]->value(), sides[1]->value());
    return true;
}

QString gripCount(int count)
{
    return count == 1 ? QStringLiteral("1 Griff") : QStringLiteral("%1 Griffe").arg(count);
}

// 0 the whole table, 1 the root, 2 the chord; -1 when cancelled. An empty text is a choice not offered.
int scopeAsk(QWidget* owner, const QString& titel, const QString (&texte)[3], const int (&anzahl)[3])
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
        layout->addWidget(choices[i]);
    }
    choices[0]->setChecked(true);
    addButtons(dialog, layout);
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    for (int i = 0; i < 3; ++i) {
        if (choices[i]->isChecked())
            return i;
    }
    return -1;
}

// The frets and the look of the board as the window shows it.
DiagramView boardView(const GriffbrettClass& board)
{
    DiagramView view;
    view.startbund = board.Startbund();
    view.bundanzahl = board.Bundanzahl();
    view.lagenpunkte = board.Lagenpunkte();
    view.linkshaender = board.Linkshaender();
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

QImage TF_Main::diagrammBild(QSize groesse) const
{
    return DiagramExport(*Dokument).image(*Dokument, Ergebnis, diagrammOptionen(), boardView(*Zeichner),
                                          groesse);
}

void TF_Main::MI_DiagrammExportClick()
{
    const QString section = QStringLiteral("Export");
    QSize size(std::clamp(Einstellungen->readInteger(section, QStringLiteral("Bildbreite"), 400),
                          smallestSide, largestSide),
               std::clamp(Einstellungen->readInteger(section, QStringLiteral("Bildhoehe"), 400), smallestSide,
                          largestSide));
    if (!sizeAsk(this, size))
        return;
    Einstellungen->writeInteger(section, QStringLiteral("Bildbreite"), size.width());
    Einstellungen->writeInteger(section, QStringLiteral("Bildhoehe"), size.height());

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
                                             boardView(*Zeichner), size, &fehler)) {
        MeldungZeigen(this, 1, fehler, QStringLiteral("Diagramm als Bild"), 2);
        return;
    }
    Statusmeldung(QStringLiteral("Diagramm gespeichert: %1").arg(QFileInfo(path).fileName()));
}

void TF_Main::MI_KopierenClick()
{
    QGuiApplication::clipboard()->setImage(diagrammBild(PB_Griffbrett->size()));
    Statusmeldung(QStringLiteral("Diagramm in die Zwischenablage kopiert"));
}

bool TF_Main::blattGriffeWaehlen(const QString& titel, std::vector<int>& griffe)
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
        texte[2] = QStringLiteral("A&kkord %1").arg(chordName(root, typ));
        anzahl[2] = static_cast<int>(exporter.select(root, typ).size());
    }
    const int choice = scopeAsk(this, titel, texte, anzahl);
    if (choice < 0)
        return false;
    griffe = exporter.select(choice >= 1 ? root : -1, choice == 2 ? typ : -1);
    return !griffe.empty();
}

void TF_Main::MI_GrifftabellePdfClick()
{
    const QString titel = QStringLiteral("Grifftabelle als PDF");
    std::vector<int> griffe;
    if (!blattGriffeWaehlen(titel, griffe))
        return;
    const QString path = SD_ExportAusfuehren(this, QStringLiteral("PDF-Dokument (*.pdf)"),
                                             QStringLiteral("pdf"), nullptr, exportOrdner(m_dateiName));
    if (path.isEmpty())
        return;
    QString fehler;
    bool written = false;
    {
        SheetProgress progress(this, static_cast<int>(griffe.size()));
        written = DiagramExport(*Dokument).writeSheet(
            path, griffe, diagrammOptionen(), [&progress](int done, int) { return progress.step(done); },
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
    const int pages = DiagramExport::pageCount(static_cast<int>(griffe.size()));
    Statusmeldung(QStringLiteral("Griffblatt gespeichert: %1, %2 %3")
                      .arg(QFileInfo(path).fileName())
                      .arg(pages)
                      .arg(pages == 1 ? QStringLiteral("Seite") : QStringLiteral("Seiten")));
}

void TF_Main::MI_DruckenClick()
{
    const QString titel = QStringLiteral("Drucken");
    std::vector<int> griffe;
    if (!blattGriffeWaehlen(titel, griffe))
        return;
    const DiagramExport exporter(*Dokument);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter));
    printer.setDocName(exporter.instrumentName());
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("TF_Drucken"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        MeldungZeigen(
            this, 1, QStringLiteral("Der Drucker \"%1\" nimmt keinen Auftrag an.").arg(printer.printerName()),
            titel, 2);
        return;
    }
    bool complete = false;
    {
        SheetProgress progress(this, static_cast<int>(griffe.size()));
        complete = exporter.paintSheet(painter, printer, griffe, diagrammOptionen(),
                                       [&progress](int done, int) { return progress.step(done); });
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
