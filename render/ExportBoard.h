#pragma once

#include <QSize>

#include "render/Griffbrett.h"

struct DiagramView;

// The window's horizontal board laid out for exports, painted on white and free of anything the
// window adds for its own use.
class ExportBoard : public GriffbrettClass
{
public:
    ExportBoard(QSize size, int saiten);

    // Lays the board out again only when the fret count changes: a layout rebuilds the symbol sets.
    void show(const DiagramView& view);
    // The board's lines keep the pen the nut left them, 2 pixels wide, as the window's board after its
    // first paint: one paint with the nut before the first that counts.
    void prime();

private:
    bool m_laidOut = false;
    bool m_primed = false;
};
