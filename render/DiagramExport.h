#pragma once

#include <memory>
#include <vector>

#include <QImage>
#include <QSize>
#include <QString>

#include "render/ChordSheet.h"
#include "render/DiagramComposer.h"

class AkkordClass;
class AkkordDatenClass;
class AkkordDepotClass;
class ExportBoard;
class QPagedPaintDevice;
class QPainter;
struct TrefferClass;

// Diagrams of one chord table as PNG, SVG and PDF chord sheets: upright chord boxes, or the window's
// horizontal board. Exports are painted on white, whatever the screen's colours. Files are written
// beside the target and renamed over it when complete, so a failed or cancelled export leaves no file
// behind.
class DiagramExport
{
public:
    explicit DiagramExport(const AkkordDepotClass& tabelle);
    ~DiagramExport();
    DiagramExport(const DiagramExport&) = delete;
    DiagramExport& operator=(const DiagramExport&) = delete;

    // The frets a grip is shown on; see DiagramComposer::frameFor.
    static DiagramView frameFor(const AkkordDatenClass& griff) { return DiagramComposer::frameFor(griff); }
    // List indexes in table order: every stored grip (grundton -1), the grips of one root
    // (akkordTyp -1) or of one chord.
    std::vector<int> select(int grundton, int akkordTyp) const;
    // The stored grip at list index i as a grip on the table's tuning, and its chord.
    void storedGrip(int index, AkkordClass& griff, TrefferClass& akkord) const;

    // The diagram in the style of view, at size.
    QImage image(const AkkordClass& griff, const TrefferClass& akkord, const DiagramOptions& options,
                 const DiagramView& view, QSize size) const;
    // The same diagram painted with lines, shapes and text into an SVG of size; empty on failure.
    QByteArray svg(const AkkordClass& griff, const TrefferClass& akkord, const DiagramOptions& options,
                   const DiagramView& view, QSize size) const;
    // PNG, or SVG when svgFormat; false with the reason in fehler.
    bool writeImage(const QString& path, bool svgFormat, const AkkordClass& griff, const TrefferClass& akkord,
                    const DiagramOptions& options, const DiagramView& view, QSize size,
                    QString* fehler) const;

    // What a sheet of the selection shows, for its header: "Ganze Grifftabelle, 974 Griffe",
    // "Grundton C, 80 Griffe", "Akkord Cmaj7, 3 Griffe".
    QString contentText(int grundton, int akkordTyp, int count) const;
    // The sheet of the table's instrument and tuning, and its boxes named after their chords.
    ChordSheet sheet(const ChordSheet::Layout& layout, const QString& inhalt) const;
    std::vector<ChordSheetBox> sheetBoxes(const std::vector<int>& griffe) const;
    // A4 pages of chord boxes with a header naming instrument, tuning and inhalt, and page numbers.
    // False when cancelled or failed (reason in fehler, empty when cancelled); the file is then not there.
    bool writeSheet(const QString& path, const std::vector<int>& griffe, const ChordSheet::Layout& layout,
                    const QString& inhalt, const ExportProgress& progress, QString* fehler) const;
    // Any sheet as a PDF file, on the same terms.
    static bool writePdf(const QString& path, const ChordSheet& sheet,
                         const std::vector<ChordSheetBox>& boxes, const ExportProgress& progress,
                         QString* fehler);

    // "Gitarre" and "E-A-D-G-H-E" as shown in the sheet's header.
    QString instrumentName() const;
    QString tuningText() const;

private:
    // The board of the last diagram, kept for the next one of the same size: a layout costs more than
    // a paint.
    ExportBoard& board(QSize size) const;
    void paintDiagram(QPainter& painter, const AkkordClass& griff, const TrefferClass& akkord,
                      const DiagramOptions& options, const DiagramView& view, QSize size) const;

    const AkkordDepotClass& m_tabelle;
    mutable std::unique_ptr<ExportBoard> m_board;
};
