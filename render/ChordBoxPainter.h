#pragma once

#include <QRect>
#include <QRectF>
#include <QSizeF>

struct ChordBox;
class QPainter;

// Draws an upright chord box with lines, shapes and real text, so SVG and PDF stay vector and keep
// their texts searchable. The box keeps its proportions in any area: it is scaled to fit and centred.
class ChordBoxPainter
{
public:
    // Pixel widths of the lines, one per kind.
    struct Strokes
    {
        int line = 1; // strings and frets
        int mark = 1; // x and o
        int nut = 3;
    };
    static Strokes strokesFor(double unit);

    // Where the parts of a box lie; tests judge the pixels there.
    struct Geometry
    {
        double unit = 0;
        Strokes strokes;
        int strings = 6;
        int frets = 4;
        bool linkshaender = false;
        QRectF bounds;
        QRectF title; // empty without a title
        double markY = 0;
        int spacing = 1;
        int fretHeight = 1;
        int gridLeft = 0;
        int gridTop = 0; // y of the first fret line; the nut sits on it and reaches up
        int gridWidth = 0;
        int gridBottom = 0;
        QRect nut;
        QRectF fretNumber; // beside the first fret row, on the side of the lowest string
        int stringX(int saite) const;
        QRectF mark(int saite) const;
    };
    static Geometry geometry(const ChordBox& box, const QRectF& area);
    static Geometry geometry(const ChordBox& box, const QRectF& area, double unit, const Strokes& strokes);

    // Width and height of the box for one unit of string spacing.
    static QSizeF proportions(const ChordBox& box);
    // The string spacing the box gets in area.
    static double unitFor(const ChordBox& box, const QSizeF& area);
    // Paints the box into area on a white background already there.
    static void paint(QPainter& painter, const QRectF& area, const ChordBox& box);
    // The same at a given string spacing, so boxes of different heights line up on a sheet; the box is
    // centred horizontally and starts at area's top; strokes keep the lines of every box alike.
    static void paint(QPainter& painter, const QRectF& area, const ChordBox& box, double unit,
                      const Strokes& strokes);
};
