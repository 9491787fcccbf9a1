#pragma once

class GriffbrettClass;
class QPainter;

// Paints a laid-out, composed board with lines, shapes and real text instead of the renderer's
// pre-rendered stamps, so SVG and PDF stay vector and keep their texts searchable. Works in the
// board's pixel coordinates; the caller scales the painter to place it.
class BoardPainter
{
public:
    static void paint(const GriffbrettClass& board, QPainter& painter);
};
