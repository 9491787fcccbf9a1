#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QImage>
#include <QSize>
#include <QString>

#include "render/DiagramComposer.h"

class AkkordClass;
class AkkordDatenClass;
class AkkordDepotClass;
class QPagedPaintDevice;
class QPainter;
struct TrefferClass;

// The frets a diagram shows and how.
struct DiagramView
{
    int startbund = 1;
    int bundanzahl = 5;
    bool lagenpunkte = false;
    bool linkshaender = false;
};

// Called with the diagrams done and the total; returning false stops the export.
using ExportProgress = std::function<bool(int done, int total)>;

// Diagrams of one chord table as PNG, SVG and PDF chord sheets, drawn by the fretboard renderer.
// Exports are painted on white, whatever the screen's colours. Files are written through ExportZiel: a
// chord table, a device or a pipe is never written, and a failed or cancelled export leaves an existing
// file as it was and no file of its own.
class DiagramExport
{
public:
    static constexpr int SheetColumns = 4;
    static constexpr int SheetRows = 5;
    static constexpr int DiagramsPerPage = SheetColumns * SheetRows;

    explicit DiagramExport(const AkkordDepotClass& tabelle);
    ~DiagramExport();
    DiagramExport(const DiagramExport&) = delete;
    DiagramExport& operator=(const DiagramExport&) = delete;

    // From fret 1 when the grip fits into the frets shown from there, otherwise from its lowest fret;
    // at least five frets, more when the grip spans more.
    static DiagramView frameFor(const AkkordDatenClass& griff);
    // List indexes in table order: every stored grip (grundton -1), the grips of one root
    // (akkordTyp -1) or of one chord.
    std::vector<int> select(int grundton, int akkordTyp) const;
    // The stored grip at list index i as a grip on the table's tuning, and its chord.
    void storedGrip(int index, AkkordClass& griff, TrefferClass& akkord) const;

    // The diagram as the board paints it, at size.
    QImage image(const AkkordClass& griff, const TrefferClass& akkord, const DiagramOptions& options,
                 const DiagramView& view, QSize size) const;
    // The same diagram painted with lines, shapes and text into an SVG of size; empty on failure.
    QByteArray svg(const AkkordClass& griff, const TrefferClass& akkord, const DiagramOptions& options,
                   const DiagramView& view, QSize size) const;
    // PNG, or SVG when svgFormat; false with the reason in fehler.
    bool writeImage(const QString& path, bool svgFormat, const AkkordClass& griff, const TrefferClass& akkord,
                    const DiagramOptions& options, const DiagramView& view, QSize size,
                    QString* fehler) const;

    // A4 portrait pages of 4 x 5 diagrams with chord name and lowest fret under each, a header with
    // instrument and tuning and page numbers. False when cancelled or failed (reason in fehler,
    // empty when cancelled); an existing file then stays as it was.
    bool writeSheet(const QString& path, const std::vector<int>& griffe, const DiagramOptions& options,
                    const ExportProgress& progress, QString* fehler) const;
    // Paints the sheet on a painter already begun on device, starting a new page per 20 diagrams;
    // false when the progress asked to stop.
    bool paintSheet(QPainter& painter, QPagedPaintDevice& device, const std::vector<int>& griffe,
                    const DiagramOptions& options, const ExportProgress& progress) const;
    static int pageCount(int diagrams);

    // "Gitarre" and "E-A-D-G-H-E" as shown in the sheet's header.
    QString instrumentName() const;
    QString tuningText() const;

private:
    class Board;
    // The board of the last diagram, kept for the next one of the same size: a layout costs more than
    // a paint.
    Board& board(QSize size) const;

    const AkkordDepotClass& m_tabelle;
    mutable std::unique_ptr<Board> m_board;
};
