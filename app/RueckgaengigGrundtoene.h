#pragma once

#include "app/RueckgaengigSchritt.h"
#include "theory/Noten.h"

// New short or long names of the roots.
class RueckgaengigGrundtoene : public RueckgaengigSchritt
{
public:
    RueckgaengigGrundtoene(RueckgaengigVerlauf& verlauf, const QString& was);
    std::size_t Speicherbedarf() const override;

protected:
    void zurueck() override;
    void vor() override;
    bool nachher() override;
    Auffrischen auffrischen() const override;

private:
    NotenNameClass m_vorher[AnzahlNotenNamen];
    NotenNameClass m_nachher[AnzahlNotenNamen];
};
