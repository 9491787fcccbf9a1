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

protected:
    BundClass();

    void layoutAxis();
    // Needs the string axis and the cells laid out.
    void layoutLabels();

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

private:
    void refreshCopies();
    void composeLabel(char (&label)[112]) const;
};
