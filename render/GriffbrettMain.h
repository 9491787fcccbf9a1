#pragma once

#include <cstdint>

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QSize>

inline constexpr int MaxFretColumns = 30;
inline constexpr int MaxStringRows = 6;

// A cell of the board with the four edges as the layout computes them: right = left + side and
// bottom = top + side, so right and bottom lie one pixel outside the cell (unlike QRect's).
struct CellRect
{
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    QRect toQRect() const { return QRect(left, top, width(), height()); }
    bool operator==(const CellRect&) const = default;
};
static_assert(sizeof(CellRect) == 16);

static_assert(sizeof(QPoint) == 8, "a grid point holds two 32-bit coordinates");

// Fonts and text measuring need a QGuiApplication; without one texts measure zero and are not drawn.
bool haveGuiApplication();
// "Courier New" at a pixel size of at least 1.
QFont courierFont(int pixelSize, bool bold);
QSize textSize(const QFont& font, const char* utf8);
// The pixels the glyphs of utf8 cover, relative to the top-left corner of the text's box; empty
// without an application.
QRect inkBounds(const QFont& font, const char* utf8);
// The largest pixel size from pixelSize down to least at which text is at most maxWidth wide; least
// when even that is too wide.
int fittingPixelSize(const char* utf8, int pixelSize, bool bold, int maxWidth, int least);

// Below this pixel height a text is no longer read comfortably: texts shrink to fit down to it, and
// only then does the board make room.
inline constexpr int LegibleTextHeight = 10;
// The pixels Qt's aliased raster engine covers for a line from a to b with a solid pen of width 1
// or 2 (square caps); an invalid rectangle for other widths and for lines that are not
// horizontal or vertical.
QRect lineCoverage(QPoint a, QPoint b, int penWidth);

// A text rendered once with its opaque background box; rendered again only when its text or the
// layout changes, so a paint only copies pixels.
struct TextStamp
{
    QImage image;
    char text[112] = {};
    int layout = -1;
};

// Where a text lies on the screen: its box as drawn and whether it had to shrink or be shortened.
struct TextPlacement
{
    QRect box;
    bool shortened = false;
};

// Shared base of the renderer's layers: the off-screen surface and the point grid.
class GriffbrettMainClass
{
public:
    virtual ~GriffbrettMainClass();
    GriffbrettMainClass(const GriffbrettMainClass&) = delete;
    GriffbrettMainClass& operator=(const GriffbrettMainClass&) = delete;

    virtual int GetStartbund() const = 0;
    virtual int GetSaitenzahl() const = 0;
    // y of the top string row.
    virtual int GetRandOben() const = 0;
    // Cell of fret column spalte and string row zeile; empty outside the board.
    virtual CellRect GetFeld(int spalte, int zeile) const = 0;
    // Marks that a symbol lay outside the fret columns shown.
    virtual void SetZuKlein() = 0;
    virtual void ClearZuKlein() = 0;
    // Stores the size and resizes Puffer; negative sizes count as 0.
    virtual void SetGroesse(int breite, int hoehe);

    // Copies Rahmen of Puffer onto the same rectangle of ziel in one call.
    void Kopieren(QPainter& ziel) const;

    // Device pixels per logical pixel of Puffer; every geometry stays in logical pixels.
    qreal Pixelverhaeltnis() const { return m_Pixelverhaeltnis; }
    // Mirrored board: nut on the right; layout and hit geometry stay unmirrored until spiegeln.
    bool Linkshaender() const { return m_Linkshaender; }
    // A rectangle of the unmirrored board as it appears on the screen.
    QRect spiegeln(const QRect& rect) const;

    const QImage& Puffer() const { return m_Puffer; }
    QRect Rahmen() const { return m_Rahmen; }
    int Breite() const { return m_Breite; }
    int Hoehe() const { return m_Hoehe; }
    QColor Hintergrund() const { return m_Hintergrund; }
    // The point of fret line bund (0..30) on string row zeile (0..5); (0, 0) outside.
    QPoint Gitterpunkt(int bund, int zeile) const;
    int Bundzahl() const { return m_Bundzahl; }
    int ErsterBund() const { return m_ErsterBund; }
    int LetzterBund() const { return m_LetzterBund; }

protected:
    GriffbrettMainClass(int breite, int hoehe);

    // Draws text with its top-left corner at (x, y) on an opaque background box. A text wider than
    // maxWidth is drawn smaller, centred in the box it would have had, and shortened with "…" when
    // even the smallest size does not fit.
    void stampText(TextStamp& stamp, int x, int y, const char* utf8, const QFont& font, int maxWidth);
    // The box stampText gives that text, without drawing it.
    TextPlacement placeText(int x, int y, const char* utf8, const QFont& font, int maxWidth) const;
    // A line with the current pen.
    void drawLine(QPoint a, QPoint b);
    // Called at the end of every layout: texts rendered for the old fonts are stale.
    void layoutChanged() { ++m_layout; }

    QImage m_Puffer;
    QPainter m_Flaeche;
    QRect m_Rahmen;
    int m_Hoehe = 0;
    int m_Breite = 0;
    QColor m_Hintergrund;
    QPoint m_Gitter[MaxFretColumns + 1][MaxStringRows];
    int m_Saitenzahl = 0;
    int m_Bundzahl = 0;
    int m_ErsterBund = 0;
    int m_LetzterBund = 0;

    // The canvas pen as the last nut left it; kept here because Flaeche restarts at every resize.
    QPen m_pen;
    int m_layout = 0;
    qreal m_Pixelverhaeltnis = 1.0;
    bool m_Linkshaender = false;
};
