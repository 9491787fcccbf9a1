#pragma once

#include <QFont>
#include <QString>

#include "render/Beschriftung.h"
#include "render/GriffbrettMain.h"

// String axis: string lines and the texts left and right of each string.
class SaitenClass : public virtual GriffbrettMainClass
{
public:
    int GetSaitenzahl() const override;
    int GetRandOben() const override;
    virtual void Zeichnen();
    virtual void Anordnen();

    // Clamped to 1..6; lays the renderer out.
    void SetSaitenzahl(int n);
    // Rows outside 0..5 are ignored.
    void SetTextLinks(int zeile, const QString& text);
    void SetTextRechts(int zeile, const QString& text);

    int Saitenanzahl() const { return m_Saitenanzahl; }
    int Saitenabstand() const { return m_Saitenabstand; }
    int RandOben() const { return m_RandOben; }
    int Textabstand() const { return m_Textabstand; }
    int AktSaite() const { return m_AktSaite; }
    void SetAktSaite(int saite) { m_AktSaite = saite; }
    // The text records of row zeile; an empty record outside 0..5.
    const BeschriftungClass& TextLinks(int zeile) const;
    const BeschriftungClass& TextRechts(int zeile) const;
    // Where the texts of row zeile appear on the screen (mirrored on a left-handed board); an empty
    // box for an empty text.
    TextPlacement TextLinksFeld(int zeile) const;
    TextPlacement TextRechtsFeld(int zeile) const;

    // The widest text the right margin must show whole, e.g. "maj7"; empty for no demand. The text
    // shrinks to fit down to a legible height, below that the margin widens. Lays out when changed.
    void SetTextRechtsMuster(const QString& muster);
    QString TextRechtsMuster() const { return m_rechtsMuster.text(); }

protected:
    SaitenClass();

    void layoutAxis();
    // Needs the fret axis laid out.
    void layoutTexts();
    // The room right of the last fret line that the right texts need at their smallest legible
    // height; 0 when there is no demand.
    int rightTextRoom() const;
    // The margin the heights of title and fret label follow: RandOben, or that of a six-string
    // board when two or three strings lie in the middle of the surface.
    int textRand() const;

    int m_Saitenanzahl = 6;
    int m_Saitenabstand = 0;
    int m_RandOben = 60;
    int m_Textabstand = 7;
    int m_AktSaite = 1;
    BeschriftungClass m_TexteLinks[MaxStringRows];
    BeschriftungClass m_TexteRechts[MaxStringRows];

    BeschriftungClass m_rechtsMuster;
    QFont m_linksFont;
    QFont m_rechtsFont;
    TextStamp m_linksStamps[MaxStringRows];
    TextStamp m_rechtsStamps[MaxStringRows];
};
