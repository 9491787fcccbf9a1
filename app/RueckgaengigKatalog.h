#pragma once

#include <vector>

#include "app/RueckgaengigSchritt.h"
#include "erkennung/AkkordTyp.h"

// An edit of the chord-type catalogue: types added, renamed, intervals changed; a type removed with
// its grips; a type moved, which renumbers the grips of the types it passes.
class RueckgaengigKatalog : public RueckgaengigSchritt
{
public:
    // von >= 0, nach < 0: type von is removed; both >= 0: type von moves to place nach.
    RueckgaengigKatalog(RueckgaengigVerlauf& verlauf, const QString& was, int von, int nach);
    std::size_t Speicherbedarf() const override;

protected:
    void zurueck() override;
    void vor() override;
    bool nachher() override;
    Auffrischen auffrischen() const override;
    int beruehrterTyp(bool zurueckGelaufen) const override;

private:
    bool removal() const { return m_von >= 0 && m_nach < 0; }
    bool move() const { return m_von >= 0 && m_nach >= 0 && m_von != m_nach; }

    int m_von = -1;
    int m_nach = -1;
    std::vector<AkkordTypClass> m_vorher;
    std::vector<AkkordTypClass> m_nachher;
    // The removed type's grips with their list indexes before the removal.
    std::vector<int> m_indizes;
    std::vector<AkkordDatenClass> m_griffe;
};
