#pragma once

#include <QFont>
#include <QString>

#include "render/Beschriftung.h"
#include "render/GriffbrettMain.h"

// Fret axis: fret lines, the nut and the fret label.
class BundClass : public virtual GriffbrettMainClass
{
public:
    int GetStartbund() const override;
    // Clamped to 0..30; lays the renderer out.
    virtual void SetBundanzahl(int n);
    virtual void Zeichnen();
    virtual void Anordnen();
    void SetZuKlein() override;
    void ClearZuKlein() override;

    // Clamped to 1..30; no layout, nothing positional depends on it.
    void SetStartbund(int n);
    // Position markers at frets 3, 5, 7, 9, 12 (double), 15, 17, 19, 21 and 24, and the fret number
    // under every fifth column; they lie under the strings and symbols. No layout.
    void SetLagenpunkte(bool an) { m_Lagenpunkte = an; }
    bool Lagenpunkte() const { return m_Lagenpunkte; }

    int Bundanzahl() const { return m_Bundanzahl; }
    int Bundabstand() const { return m_Bundabstand; }
    int RandLinks() const { return m_RandLinks; }
    int Beschriftungsabstand() const { return m_Beschriftungsabstand; }
    int Startbund() const { return m_Startbund; }
    bool ZuKlein() const { return m_ZuKlein; }
    int AktBund() const { return m_AktBund; }
    void SetAktBund(int bund) { m_AktBund = bund; }
    // Label i (0..29) holds the text "i+1."; an empty record outside.
    const BeschriftungClass& Bundname(int i) const;
    // The label as painted: the first fret's number followed by "Bund", e.g. "5.Bund".
    QString fretLabel() const;
    // The label's box on the screen.
    TextPlacement fretLabelPlacement() const;
    // The boxes of the fret numbers drawn under the columns, in column order; empty without markers.
    int fretNumberCount() const;
    TextPlacement fretNumberPlacement(int i) const;
    // Centre and diameter of the position markers drawn, in column order; none without markers.
    int markerCount() const;
    QRect markerRect(int i) const;

protected:
    BundClass();

    // rightMargin: room right of the last fret line; the designed margin (RandLinks) when smaller.
    void layoutAxis(int rightMargin = 0);
    // Needs the string axis and the cells laid out. textRand: the margin the label's height follows.
    void layoutLabels(int textRand);

    int m_Bundanzahl = 4;
    int m_Bundabstand = 0;
    int m_RandLinks = 40;
    int m_Beschriftungsabstand = 10;
    int m_Startbund = 1;
    int m_AktBund = 1;
    bool m_ZuKlein = false;
    BeschriftungClass m_Bundnamen[MaxFretColumns];

    QFont m_labelFont;
    TextStamp m_labelStamp;
    bool m_Lagenpunkte = false;
    QFont m_numberFont;
    TextStamp m_numberStamps[MaxFretColumns / 5];

private:
    void refreshCopies();
    void composeLabel(char (&label)[112]) const;
    void drawMarkers();
    void drawFretNumbers();
    // Fret numbers shown under the columns: the fret and the top-left corner of its text.
    struct FretNumber
    {
        int fret = 0;
        QPoint at;
    };
    int fretNumbers(FretNumber (&numbers)[MaxFretColumns / 5]) const;
    int markers(QRect (&rects)[12]) const;
};
