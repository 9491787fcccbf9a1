#include "render/ChordSheet.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

#include "erkennung/Erkennung.h"
#include "render/BoardPainter.h"
#include "render/ChordBoxPainter.h"
#include "render/ExportBoard.h"

namespace {

// Shares of the page height.
constexpr double headerShare = 0.075;
constexpr double footerShare = 0.035;
// Room between boxes, as a share of a cell's width.
constexpr double gapShare = 0.08;
// Height of a horizontal board's cell for a width of 1, and the width it is laid out at before it is
// scaled into its cell.
constexpr double boardAspect = 0.8;
constexpr int boardWidth = 450;

QFont sheetFont(double pixelSize, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
    font.setBold(bold);
    return font;
}

} // namespace

ChordSheet::ChordSheet(const ErkennungClass& katalog, ChordSheetKopf kopf, Layout layout)
    : m_katalog(katalog), m_kopf(std::move(kopf)), m_layout(std::move(layout))
{
}

QPageLayout ChordSheet::pageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 12, 15, 12),
                       QPageLayout::Millimeter);
}

int ChordSheet::columns() const
{
    return std::clamp(m_layout.spalten, LeastColumns, MostColumns);
}

double ChordSheet::cellAspect() const
{
    if (m_layout.stil == DiagramStil::Griffbrett)
        return boardAspect;
    // A box of four frets with its name, as most grips need.
    ChordBox box;
    box.titel = QStringLiteral("C");
    box.saiten = m_katalog.SaitenAnzahl();
    box.bundanzahl = 4;
    if (m_layout.options.rechteAnzeige == 1 || m_layout.options.rechteAnzeige == 2)
        box.unten[0] = QStringLiteral("C");
    const QSizeF units = ChordBoxPainter::proportions(box);
    return units.height() / units.width() * (1 - gapShare) + gapShare;
}

int ChordSheet::boxesPerPage(QSizeF page) const
{
    if (page.isEmpty())
        page = pageLayout().paintRect(QPageLayout::Point).size();
    const double cellWidth = page.width() / columns();
    const double content = page.height() * (1 - headerShare - footerShare);
    const int rows = std::max(1, static_cast<int>(content / (cellWidth * cellAspect())));
    return rows * columns();
}

int ChordSheet::pageCount(int boxes, QSizeF page) const
{
    const int perPage = boxesPerPage(page);
    return std::max(1, (boxes + perPage - 1) / perPage);
}

bool ChordSheet::paint(QPainter& painter, QPagedPaintDevice& device, const std::vector<ChordSheetBox>& boxes,
                       const ExportProgress& progress, int firstPage, int lastPage) const
{
    const QRectF page(0, 0, device.width(), device.height());
    const int total = static_cast<int>(boxes.size());
    const int perPage = boxesPerPage(page.size());
    const int pages = pageCount(total, page.size());
    const int first = std::clamp(firstPage, 1, pages);
    const int last = lastPage <= 0 ? pages : std::clamp(lastPage, first, pages);
    const int from = (first - 1) * perPage;
    const int to = std::min(total, last * perPage);
    const int inRange = std::max(0, to - from);

    const int cols = columns();
    const double headerHeight = page.height() * headerShare;
    const double footerHeight = page.height() * footerShare;
    const double cellWidth = page.width() / cols;
    const double cellHeight = cellWidth * cellAspect();
    const double gap = cellWidth * gapShare;
    const QSizeF inner(cellWidth - gap, cellHeight - gap);

    const QFont titleFont = sheetFont(headerHeight * 0.34, true);
    const QFont rightFont = sheetFont(headerHeight * 0.26, false);
    const QFont contentFont = sheetFont(headerHeight * 0.24, false);
    const QFont footerFont = sheetFont(footerHeight * 0.42, false);
    const QFont nameFont = sheetFont(inner.height() * 0.12, true);

    // Every box at the size of a four-fret box, a longer one smaller; the lines of all alike.
    ChordBox reference;
    reference.titel = QStringLiteral("C");
    reference.saiten = m_katalog.SaitenAnzahl();
    if (m_layout.options.rechteAnzeige == 1 || m_layout.options.rechteAnzeige == 2)
        reference.unten[0] = QStringLiteral("C");
    const double unit = ChordBoxPainter::unitFor(reference, inner);
    const ChordBoxPainter::Strokes strokes = ChordBoxPainter::strokesFor(unit);
    const int rule = strokes.line;

    const DiagramComposer composer(m_katalog);
    std::unique_ptr<ExportBoard> board;
    const double nameHeight = inner.height() * 0.18;
    const double boardScale = inner.width() / boardWidth;
    if (m_layout.stil == DiagramStil::Griffbrett)
        board = std::make_unique<ExportBoard>(
            QSize(boardWidth, static_cast<int>((inner.height() - nameHeight) / boardScale)),
            m_katalog.SaitenAnzahl());
    DiagramOptions options = m_layout.options;
    options.akkordname = false;
    AkkordClass griff;
    static_cast<StimmClass&>(griff) = static_cast<const StimmClass&>(m_katalog);

    for (int p = first; p <= last; ++p) {
        if (p > first)
            device.newPage();
        painter.setPen(Qt::black);
        const QRectF header(page.left(), page.top(), page.width(), headerHeight * 0.55);
        painter.setFont(titleFont);
        painter.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, m_kopf.titel);
        painter.setFont(rightFont);
        painter.drawText(header, Qt::AlignRight | Qt::AlignVCenter, m_kopf.rechts);
        painter.setFont(contentFont);
        painter.drawText(QRectF(page.left(), header.bottom(), page.width(), headerHeight * 0.3),
                         Qt::AlignLeft | Qt::AlignVCenter, m_kopf.inhalt);
        painter.fillRect(
            QRectF(page.left(), std::round(page.top() + headerHeight * 0.88), page.width(), rule), Qt::black);
        painter.setFont(footerFont);
        painter.drawText(QRectF(page.left(), page.bottom() - footerHeight, page.width(), footerHeight),
                         Qt::AlignHCenter | Qt::AlignBottom,
                         QStringLiteral("Seite %1 von %2").arg(p).arg(pages));

        const int begin = (p - 1) * perPage;
        const int end = std::min(total, begin + perPage);
        for (int i = begin; i < end; ++i) {
            if (progress && !progress(i - from, inRange))
                return false;
            const ChordSheetBox& entry = boxes[static_cast<std::size_t>(i)];
            griff.Daten() = entry.griff;
            DiagramView view = DiagramComposer::frameFor(entry.griff);
            view.linkshaender = m_layout.linkshaender;
            const int slot = i - begin;
            const QRectF cell(page.left() + (slot % cols) * cellWidth + gap / 2,
                              page.top() + headerHeight + (slot / cols) * cellHeight + gap / 2, inner.width(),
                              inner.height());
            if (m_layout.stil == DiagramStil::Kasten) {
                ChordBox box = composer.chordBox(griff, entry.akkord, options, view);
                box.titel = entry.titel;
                const double own = std::min(unit, ChordBoxPainter::unitFor(box, inner));
                ChordBoxPainter::paint(painter, cell, box, own, strokes);
                continue;
            }
            painter.setPen(Qt::black);
            painter.setFont(nameFont);
            painter.drawText(QRectF(cell.left(), cell.top(), cell.width(), nameHeight), Qt::AlignCenter,
                             entry.titel);
            board->show(view);
            composer.compose(*board, griff, entry.akkord, options);
            painter.save();
            painter.translate(cell.left(), cell.top() + nameHeight);
            painter.scale(boardScale, boardScale);
            BoardPainter::paint(*board, painter);
            painter.restore();
        }
    }
    return !progress || progress(inRange, inRange);
}
