#pragma once

#include <QFont>
#include <QString>

#include "render/Beschriftung.h"
#include "render/Bund.h"
#include "render/Finger.h"
#include "render/Saiten.h"

// The fretboard renderer. Layout, paint and the fret count act on the whole board through any
// layer, since this class overrides them for all three.
class GriffbrettClass : public BundClass, public SaitenClass, public FingerClass
{
public:
    // Unlaid-out: the owner calls SetBundanzahl (or another layout) before the first paint.
    GriffbrettClass(int breite, int hoehe);

    int GetStartbund() const override;
    int GetSaitenzahl() const override;
    int GetRandOben() const override;
    CellRect GetFeld(int spalte, int zeile) const override;
    void SetZuKlein() override;
    void ClearZuKlein() override;
    // Resizes and lays out.
    void SetGroesse(int breite, int hoehe) override;

    void SetBundanzahl(int n) override;
    // Paints the whole board into Puffer; Kopieren then puts it on the screen.
    void Zeichnen() override;
    void Anordnen() override;
    virtual void SetGroesseUndAnordnen(int breite, int hoehe);
    // The screen's device pixel ratio (1.25, 1.5, 2 ...): Puffer gets that many pixels per logical
    // pixel and the board is laid out again when it changes.
    void SetPixelverhaeltnis(qreal verhaeltnis);
    // Mirrors the board for left-handed players; no layout.
    void SetLinkshaender(bool an) { m_Linkshaender = an; }
    // The title's box on the screen.
    TextPlacement titelPlacement() const;
    // The frame of the keyboard cursor around the chosen spot (AktBund, AktSaite) as it appears on
    // the screen, mirrored for left-handed players; empty while that fret is not shown.
    QRect CursorRechteck() const;
    // Draws the cursor onto the window after Kopieren; it never goes into Puffer, so copies and
    // exports of the board stay without it.
    void CursorZeichnen(QPainter& ziel) const;
    static QColor CursorFarbe() { return QColor(0, 84, 200); }

    void SetTitel(const QString& text) { m_Titel.setText(text); }
    const BeschriftungClass& Titel() const { return m_Titel; }

private:
    void layoutTitle();

    BeschriftungClass m_Titel;
    QFont m_titelFont;
    TextStamp m_titelStamp;
};
