#include "render/DiagramExport.h"

#include <algorithm>
#include <cerrno>
#include <string>

#include <QBuffer>
#include <QFileInfo>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "render/BoardPainter.h"
#include "render/ChordBoxPainter.h"
#include "render/ExportBoard.h"
#include "render/ExportZiel.h"
#include "table/AkkordDepot.h"
#include "theory/Zeichensatz.h"

namespace {

QString fromModel(std::string_view cp1252)
{
    return QString::fromStdString(cp1252ToUtf8(cp1252));
}

QString saveError(const QString& path, const QString& reason)
{
    return QStringLiteral("Die Datei '%1' konnte nicht geschrieben werden.\n%2").arg(path, reason);
}

QByteArray png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        bytes.clear();
    return bytes;
}

QString gripCount(int count)
{
    return count == 1 ? QStringLiteral("1 Griff") : QStringLiteral("%1 Griffe").arg(count);
}

} // namespace

DiagramExport::DiagramExport(const AkkordDepotClass& tabelle) : m_tabelle(tabelle) {}

DiagramExport::~DiagramExport() = default;

ExportBoard& DiagramExport::board(QSize size) const
{
    if (!m_board || m_board->Breite() != size.width() || m_board->Hoehe() != size.height() ||
        m_board->Saitenanzahl() != std::clamp(m_tabelle.SaitenAnzahl(), 1, MaxStringRows))
        m_board = std::make_unique<ExportBoard>(size, m_tabelle.SaitenAnzahl());
    return *m_board;
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

void DiagramExport::paintDiagram(QPainter& painter, const AkkordClass& griff, const TrefferClass& akkord,
                                 const DiagramOptions& options, const DiagramView& view, QSize size) const
{
    const DiagramComposer composer(m_tabelle);
    if (view.stil == DiagramStil::Kasten) {
        painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
        ChordBoxPainter::paint(painter, QRectF(QPointF(0, 0), QSizeF(size)),
                               composer.chordBox(griff, akkord, options, view));
        return;
    }
    ExportBoard& board = this->board(size);
    board.show(view);
    composer.compose(board, griff, akkord, options);
    BoardPainter::paint(board, painter);
}

QImage DiagramExport::image(const AkkordClass& griff, const TrefferClass& akkord,
                            const DiagramOptions& options, const DiagramView& view, QSize size) const
{
    if (view.stil == DiagramStil::Kasten) {
        QImage result(size, QImage::Format_RGB32);
        QPainter painter(&result);
        paintDiagram(painter, griff, akkord, options, view, size);
        return result;
    }
    ExportBoard& board = this->board(size);
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
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(DiagramComposer(m_tabelle).chordName(akkord.Grundton, akkord.AkkordTyp));
    generator.setDescription(QStringLiteral("Zupfwerk"));
    QPainter painter;
    if (!painter.begin(&generator))
        return QByteArray();
    paintDiagram(painter, griff, akkord, options, view, size);
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
    const QByteArray bytes =
        svgFormat ? svg(griff, akkord, options, view, size) : png(image(griff, akkord, options, view, size));
    if (bytes.isEmpty()) {
        if (fehler)
            *fehler = saveError(path, QStringLiteral("Das Bild konnte nicht erzeugt werden."));
        return false;
    }
    return ExportZiel(path).Schreiben(bytes, fehler);
}

QString DiagramExport::contentText(int grundton, int akkordTyp, int count) const
{
    QString what = QStringLiteral("Ganze Grifftabelle");
    if (grundton >= 0 && akkordTyp >= 0)
        what = QStringLiteral("Akkord ") + DiagramComposer(m_tabelle).chordName(grundton, akkordTyp);
    else if (grundton >= 0)
        what = QStringLiteral("Grundton ") + fromModel(m_tabelle.TonName(grundton, true));
    return what + QStringLiteral(", ") + gripCount(count);
}

ChordSheet DiagramExport::sheet(const ChordSheet::Layout& layout, const QString& inhalt) const
{
    return ChordSheet(m_tabelle, {instrumentName(), QStringLiteral("Stimmung: ") + tuningText(), inhalt},
                      layout);
}

std::vector<ChordSheetBox> DiagramExport::sheetBoxes(const std::vector<int>& griffe) const
{
    const DiagramComposer composer(m_tabelle);
    std::vector<ChordSheetBox> boxes;
    boxes.reserve(griffe.size());
    for (const int index : griffe) {
        if (index < 0 || index >= m_tabelle.Anzahl())
            continue;
        ChordSheetBox box;
        box.griff = m_tabelle.Element(index);
        box.akkord.Grundton = box.griff.Grundton;
        box.akkord.AkkordTyp = box.griff.AkkordTyp;
        box.titel = composer.chordName(box.akkord.Grundton, box.akkord.AkkordTyp);
        boxes.push_back(box);
    }
    return boxes;
}

bool DiagramExport::writeSheet(const QString& path, const std::vector<int>& griffe,
                               const ChordSheet::Layout& layout, const QString& inhalt,
                               const ExportProgress& progress, QString* fehler) const
{
    return writePdf(path, sheet(layout, inhalt), sheetBoxes(griffe), progress, fehler);
}

bool DiagramExport::writePdf(const QString& path, const ChordSheet& sheet,
                             const std::vector<ChordSheetBox>& boxes, const ExportProgress& progress,
                             QString* fehler)
{
    return ExportZiel(path).Schreiben(
        [&](QIODevice& device) {
            QPdfWriter writer(&device);
            writer.setPageLayout(ChordSheet::pageLayout());
            writer.setResolution(300);
            writer.setCreator(QStringLiteral("Zupfwerk"));
            writer.setTitle(sheet.kopf().titel + QStringLiteral(", ") + sheet.kopf().rechts);
            QPainter painter;
            if (!painter.begin(&writer))
                return false;
            const bool complete = sheet.paint(painter, writer, boxes, progress);
            painter.end();
            return complete;
        },
        fehler);
}

QString DiagramExport::instrumentName() const
{
    return fromModel(m_tabelle.Text(0));
}

QString DiagramExport::tuningText() const
{
    return fromModel(m_tabelle.AlsText());
}
