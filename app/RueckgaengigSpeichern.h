#pragma once

#include <vector>

#include "app/RueckgaengigSchritt.h"

// Grips appended to the stored ones: one, a fret range, or the chord finder's choice.
class RueckgaengigSpeichern : public RueckgaengigSchritt
{
public:
    RueckgaengigSpeichern(RueckgaengigVerlauf& verlauf, const QString& was);
    std::size_t Speicherbedarf() const override;

protected:
    void zurueck() override;
    void vor() override;
    bool nachher() override;
    Auffrischen auffrischen() const override;

private:
    int m_anzahlVorher = 0;
    std::vector<AkkordDatenClass> m_griffe;
};
