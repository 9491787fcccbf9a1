#pragma once

#include <vector>

#include "app/RueckgaengigSchritt.h"

// "Alle sortieren": the stored grips brought into the order of root, type and fret.
class RueckgaengigSortieren : public RueckgaengigSchritt
{
public:
    RueckgaengigSortieren(RueckgaengigVerlauf& verlauf, const QString& was);
    std::size_t Speicherbedarf() const override;

protected:
    void zurueck() override;
    void vor() override;
    bool nachher() override;
    Auffrischen auffrischen() const override;

private:
    // Slot i of the sorted list holds the grip that was at m_reihenfolge[i].
    std::vector<int> m_reihenfolge;
};
