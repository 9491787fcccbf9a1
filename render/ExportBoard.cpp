#include "render/ExportBoard.h"

#include <algorithm>

#include "render/DiagramComposer.h"

// The shared base is virtual, so the most derived class constructs it.
ExportBoard::ExportBoard(QSize size, int saiten)
    : GriffbrettMainClass(size.width(), size.height()), GriffbrettClass(size.width(), size.height())
{
    m_Hintergrund = Qt::white;
    // The strings without a layout of their own: show() lays the board out once.
    m_Saitenanzahl = std::clamp(saiten, 1, MaxStringRows);
    m_Saitenzahl = m_Saitenanzahl;
}

void ExportBoard::show(const DiagramView& view)
{
    SetStartbund(view.startbund);
    SetLagenpunkte(view.lagenpunkte);
    SetLinkshaender(view.linkshaender);
    if (!m_laidOut || Bundanzahl() != view.bundanzahl) {
        SetBundanzahl(view.bundanzahl);
        m_laidOut = true;
    }
}

void ExportBoard::prime()
{
    if (m_primed)
        return;
    const int startbund = Startbund();
    SetStartbund(1);
    Zeichnen();
    SetStartbund(startbund);
    m_primed = true;
}
