#pragma once

#include <functional>
#include <vector>

#include <QSizeF>
#include <QString>

#include "erkennung/Treffer.h"
#include "grip/AkkordDaten.h"
#include "render/DiagramComposer.h"

class ErkennungClass;
class QPageLayout;
class QPagedPaintDevice;
class QPainter;

// One box of a chord sheet: the name above it and the grip on the sheet's tuning. The chord names the
// intervals under the strings; AkkordTyp -1 when there is none.
struct ChordSheetBox
{
    QString titel;
    AkkordDatenClass griff;
    TrefferClass akkord;
};

// The header of every page: a bold title on the left, a text on the right, and a line saying what
// the sheet shows.
struct ChordSheetKopf
{
    QString titel;  // "Gitarre"
    QString rechts; // "Stimmung: E-A-D-G-H-E"
    QString inhalt; // "Ganze Grifftabelle, 974 Griffe"
};

// Called with the boxes done and the total; returning false stops the sheet.
using ExportProgress = std::function<bool(int done, int total)>;

// Pages of chord boxes in rows, on A4 portrait unless the device has another page. The same boxes
// give the same pages on a printer, in a PDF and in a test.
class ChordSheet
{
public:
    static constexpr int LeastColumns = 3;
    static constexpr int MostColumns = 8;
    static constexpr int DefaultColumns = 5;

    struct Layout
    {
        int spalten = DefaultColumns; // clamped to 3..8
        DiagramStil stil = DiagramStil::Kasten;
        DiagramOptions options;
        bool linkshaender = false;
    };

    // katalog: the tuning, note names and chord types the boxes are drawn with.
    ChordSheet(const ErkennungClass& katalog, ChordSheetKopf kopf, Layout layout);

    // A4 portrait with the sheet's margins; PDF writers and printers start from it.
    static QPageLayout pageLayout();
    // Boxes on one page of the given paintable size, in any unit; A4 when not given.
    int boxesPerPage(QSizeF page = QSizeF()) const;
    int pageCount(int boxes, QSizeF page = QSizeF()) const;
    const ChordSheetKopf& kopf() const { return m_kopf; }

    // Paints pages firstPage..lastPage (1-based; 0 for the last page) of the boxes on a painter begun on
    // device, a new page for each after the first. False when the progress asked to stop.
    bool paint(QPainter& painter, QPagedPaintDevice& device, const std::vector<ChordSheetBox>& boxes,
               const ExportProgress& progress = nullptr, int firstPage = 1, int lastPage = 0) const;

private:
    int columns() const;
    // Height of a box's cell for a cell width of 1.
    double cellAspect() const;

    const ErkennungClass& m_katalog;
    ChordSheetKopf m_kopf;
    Layout m_layout;
};
