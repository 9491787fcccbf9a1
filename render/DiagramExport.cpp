#include "render/DiagramExport.h"

#include <algorithm>
#include <cerrno>
#include <string>

#include <QBuffer>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include "render/BoardPainter.h"
#include "render/DateiGrund.h"
#include "render/Griffbrett.h"
#include "table/AkkordDepot.h"
#include "theory/Zeichensatz.h"

// The board laid out for exports, painted on white.
class DiagramExport::Board : public GriffbrettClass
{
public:
    // The shared base is virtual, so the most derived class constructs it.
    Board(QSize size, int saiten)
        : GriffbrettMainClass(size.width(), size.height()), GriffbrettClass(size.width(), size.height())
    {
        m_Hintergrund = Qt::white;
        // The strings without a layout of their own: show() lays the board out once.
        m_Saitenanzahl = std::clamp(saiten, 1, MaxStringRows);
        m_Saitenzahl = m_Saitenanzahl;
    }

    // Lays the board out again only when the fret count changes: a layout rebuilds the symbol sets.
    void show(const DiagramView& view)
    {
        SetStartbund(view.startbund);
        SetLagenpunkte(view.lagenpunkte);
        SetLinkshaender(view.linkshaender);
        if (!m_laidOut || Bundanzahl() != view.bundanzahl) {
            SetBundanzahl(view.bundanzahl);
            m_laidOut = true;
        }
    }

    // The board's lines keep the pen the nut left them, 2 pixels wide, as the window's board after its
    // first paint: one paint with the nut before the first that counts.
    void prime()
    {
        if (m_primed)
            return;
        const int startbund = Startbund();
        SetStartbund(1);
        Zeichnen();
        SetStartbund(startbund);
        m_primed = true;
    }

private:
    bool m_laidOut = false;
    bool m_primed = false;
};

namespace {

QString fromModel(std::string_view cp1252)
{
    return QString::fromStdString(cp1252ToUtf8(cp1252));
}

QFont sheetFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(pixelSize, 1));
    font.setBold(bold);
    return font;
}

// fehler: errno right after the failed call. Qt's own reasons are English, so they are not shown.
QString saveError(const QString& path, int fehler)
{
    // Qt refuses a folder before the system sees it, and leaves errno as it was.
    const QString reason = QFileInfo(path).isDir() ? DateiGrund(EISDIR) : DateiGrund(fehler);
    return QStringLiteral("\"%1\" kann nicht geschrieben werden: %2").arg(path, reason);
}

// Nominal width in pixels the sheet's boards are laid out at before they are scaled into their cell.
constexpr int sheetBoardWidth = 450;

} // namespace

DiagramExport::DiagramExport(const AkkordDepotClass& tabelle) : m_tabelle(tabelle) {}

DiagramExport::~DiagramExport() = default;

DiagramExport::Board& DiagramExport::board(QSize size) const
{
    if (!m_board || m_board->Breite() != size.width() || m_board->Hoehe() != size.height() ||
        m_board->Saitenanzahl() != std::clamp(m_tabelle.SaitenAnzahl(), 1, MaxStringRows))
        m_board = std::make_unique<Board>(size, m_tabelle.SaitenAnzahl());
    return *m_board;
}

DiagramView DiagramExport::frameFor(const AkkordDatenClass& griff)
{
    const int lowest = TiefsterBundVon(griff);
    int highest = 0;
    for (int i = 0; i < std::clamp(griff.PunktAnzahl, 0, MaxPunkte); ++i)
        highest = std::max(highest, static_cast<int>(griff.Punkte[i].Bund));
    DiagramView view;
    view.bundanzahl = std::clamp(std::max(5, highest - lowest + 1), 4, MaxFretColumns);
    view.startbund = highest <= view.bundanzahl ? 1 : std::clamp(lowest, 1, MaxFretColumns);
    return view;
}

std::vector<int> DiagramExport::select(int grundton, int akkordTyp) const
{
    std::vector<int> indexes;
    for (int i = 0; i < m_tabelle.Anzahl(); ++i) {
        const AkkordDatenClass& griff = m_tabelle.Element(i);
        if (grundton >= 0 && griff.Grundton != grundton)
            continue;
        if (grundton >= 0 && akkordTyp >= 0 && griff.AkkordTyp != akkordTyp)
            continue;
        indexes.push_back(i);
    }
    return indexes;
}

void DiagramExport::storedGrip(int index, AkkordClass& griff, TrefferClass& akkord) const
{
    static_cast<StimmClass&>(griff) = static_cast<const StimmClass&>(m_tabelle);
    akkord = TrefferClass();
    if (index < 0 || index >= m_tabelle.Anzahl()) {
        griff.Loeschen();
        return;
    }
    griff.Daten() = m_tabelle.Element(index);
    akkord.Grundton = griff.Grundton;
    akkord.AkkordTyp = griff.AkkordTyp;
}

QImage DiagramExport::image(const AkkordClass& griff, const TrefferClass& akkord,
                            const DiagramOptions& options, const DiagramView& view, QSize size) const
{
    Board& board = this->board(size);
    board.show(view);
    DiagramComposer(m_tabelle).compose(board, griff, akkord, options);
    board.prime();
    board.Zeichnen();
    QImage result = board.Puffer().convertToFormat(QImage::Format_RGB32);
    result.setDevicePixelRatio(1);
    return result;
}

QByteArray DiagramExport::svg(const AkkordClass& griff, const TrefferClass& akkord,
                              const DiagramOptions& options, const DiagramView& view, QSize size) const
{
    Board& board = this->board(size);
    board.show(view);
    const DiagramComposer composer(m_tabelle);
    composer.compose(board, griff, akkord, options);

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(composer.chordName(akkord.Grundton, akkord.AkkordTyp));
    generator.setDescription(QStringLiteral("Zupfwerk"));
    QPainter painter;
    if (!painter.begin(&generator))
        return QByteArray();
    BoardPainter::paint(board, painter);
    painter.end();
    // The generator gives the size in millimetres at its resolution; viewers agree on pixels.
    const qsizetype start = bytes.indexOf("<svg width=\"");
    const qsizetype end = bytes.indexOf("viewBox=", start);
    if (start >= 0 && end > start)
        bytes.replace(start, end - start,
                      QStringLiteral("<svg width=\"%1\" height=\"%2\"\n ")
                          .arg(size.width())
                          .arg(size.height())
                          .toUtf8());
    return bytes;
}

bool DiagramExport::writeImage(const QString& path, bool svgFormat, const AkkordClass& griff,
                               const TrefferClass& akkord, const DiagramOptions& options,
                               const DiagramView& view, QSize size, QString* fehler) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (fehler)
            *fehler = saveError(path, errno);
        return false;
    }
    bool written = false;
    if (svgFormat) {
        const QByteArray bytes = svg(griff, akkord, options, view, size);
        written = !bytes.isEmpty() && file.write(bytes) == bytes.size();
    } else {
        written = image(griff, akkord, options, view, size).save(&file, "PNG");
    }
    if (!written) {
        if (fehler)
            *fehler = saveError(path, errno);
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (fehler)
            *fehler = saveError(path, errno);
        return false;
    }
    return true;
}

bool DiagramExport::writeSheet(const QString& path, const std::vector<int>& griffe,
                               const DiagramOptions& options, const ExportProgress& progress,
                               QString* fehler) const
{
    if (fehler)
        fehler->clear();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (fehler)
            *fehler = saveError(path, errno);
        return false;
    }
    QPdfWriter writer(&file);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter));
    writer.setResolution(300);
    writer.setCreator(QStringLiteral("Zupfwerk"));
    writer.setTitle(instrumentName() + QStringLiteral(", ") + tuningText());
    QPainter painter;
    if (!painter.begin(&writer)) {
        if (fehler)
            *fehler = saveError(path, errno);
        file.cancelWriting();
        return false;
    }
    const bool complete = paintSheet(painter, writer, griffe, options, progress);
    painter.end();
    if (!complete) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (fehler)
            *fehler = saveError(path, errno);
        return false;
    }
    return true;
}

int DiagramExport::pageCount(int diagrams)
{
    return std::max(1, (diagrams + DiagramsPerPage - 1) / DiagramsPerPage);
}

bool DiagramExport::paintSheet(QPainter& painter, QPagedPaintDevice& device, const std::vector<int>& griffe,
                               const DiagramOptions& options, const ExportProgress& progress) const
{
    const int total = static_cast<int>(griffe.size());
    const int pages = pageCount(total);
    const QRect page(0, 0, device.width(), device.height());
    const int headerHeight = page.height() * 6 / 100;
    const int footerHeight = page.height() * 4 / 100;
    const int cellWidth = page.width() / SheetColumns;
    const int cellHeight = (page.height() - headerHeight - footerHeight) / SheetRows;
    const int captionHeight = cellHeight * 16 / 100;
    const int gap = cellWidth / 12;
    const int areaWidth = cellWidth - gap;
    const int areaHeight = cellHeight - captionHeight - gap;
    const double scale = static_cast<double>(areaWidth) / sheetBoardWidth;
    const QSize boardSize(sheetBoardWidth, static_cast<int>(areaHeight / scale));

    const QFont headerFont = sheetFont(headerHeight * 40 / 100, true);
    const QFont tuningFont = sheetFont(headerHeight * 32 / 100, false);
    const QFont footerFont = sheetFont(footerHeight * 40 / 100, false);
    const QFont captionFont = sheetFont(captionHeight * 48 / 100, true);
    const QFont fretFont = sheetFont(captionHeight * 40 / 100, false);
    const QString instrument = instrumentName();
    const QString tuning = QStringLiteral("Stimmung: ") + tuningText();

    // The sheet shows the chord's name under the diagram, so the board carries none above.
    DiagramOptions boardOptions = options;
    boardOptions.akkordname = false;
    const DiagramComposer composer(m_tabelle);
    Board board(boardSize, m_tabelle.SaitenAnzahl());
    AkkordClass griff;
    TrefferClass akkord;

    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            device.newPage();
        painter.setPen(Qt::black);
        const QRect header(page.left(), page.top(), page.width(), headerHeight * 70 / 100);
        painter.setFont(headerFont);
        painter.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, instrument);
        painter.setFont(tuningFont);
        painter.drawText(header, Qt::AlignRight | Qt::AlignVCenter, tuning);
        painter.fillRect(
            QRect(page.left(), header.bottom() + 1, page.width(), std::max(1, headerHeight / 40)), Qt::black);
        painter.setFont(footerFont);
        painter.drawText(QRect(page.left(), page.bottom() - footerHeight + 1, page.width(), footerHeight),
                         Qt::AlignHCenter | Qt::AlignBottom,
                         QStringLiteral("Seite %1 von %2").arg(p + 1).arg(pages));

        const int first = p * DiagramsPerPage;
        const int last = std::min(total, first + DiagramsPerPage);
        for (int i = first; i < last; ++i) {
            if (progress && !progress(i, total))
                return false;
            storedGrip(griffe[static_cast<std::size_t>(i)], griff, akkord);
            board.show(frameFor(griff));
            composer.compose(board, griff, akkord, boardOptions);

            const int slot = i - first;
            const QPoint cell(page.left() + (slot % SheetColumns) * cellWidth,
                              page.top() + headerHeight + (slot / SheetColumns) * cellHeight);
            painter.save();
            painter.translate(cell.x() + gap / 2, cell.y() + gap / 2);
            painter.scale(scale, scale);
            BoardPainter::paint(board, painter);
            painter.restore();

            const QRect caption(cell.x(), cell.y() + cellHeight - captionHeight, cellWidth, captionHeight);
            const QString name = composer.chordName(akkord.Grundton, akkord.AkkordTyp);
            const QString fret = QStringLiteral("  %1. Bund").arg(griff.TiefsterBund());
            const QFontMetrics nameMetrics(captionFont, &device);
            const int nameWidth = nameMetrics.horizontalAdvance(name);
            const int fretWidth = QFontMetrics(fretFont, &device).horizontalAdvance(fret);
            const int left = caption.left() + std::max(0, (caption.width() - nameWidth - fretWidth) / 2);
            const int baseline = caption.top() + nameMetrics.ascent();
            painter.setPen(Qt::black);
            painter.setFont(captionFont);
            painter.drawText(QPoint(left, baseline), name);
            painter.setFont(fretFont);
            painter.drawText(QPoint(left + nameWidth, baseline), fret);
        }
    }
    return !progress || progress(total, total);
}

QString DiagramExport::instrumentName() const
{
    return fromModel(m_tabelle.Text(0));
}

QString DiagramExport::tuningText() const
{
    return fromModel(m_tabelle.AlsText());
}
