#pragma once

#include "app/RueckgaengigSchritt.h"

// A stored grip removed from its place in the list.
class RueckgaengigEntfernen : public RueckgaengigSchritt
{
public:
    // index: the grip's list index before the removal, -1 for none.
    RueckgaengigEntfernen(RueckgaengigVerlauf& verlauf, const QString& was, int index);
    std::size_t Speicherbedarf() const override;

protected:
    void zurueck() override;
    void vor() override;
    bool nachher() override;
    Auffrischen auffrischen() const override;

private:
    int m_index = -1;
    int m_anzahlVorher = 0;
    AkkordDatenClass m_griff;
};
