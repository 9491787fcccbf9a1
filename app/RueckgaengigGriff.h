#pragma once

#include "app/RueckgaengigSchritt.h"

// A change of the current grip alone: fingers, barré, open and muted strings, a move along the neck.
class RueckgaengigGriff : public RueckgaengigSchritt
{
public:
    using RueckgaengigSchritt::RueckgaengigSchritt;
    std::size_t Speicherbedarf() const override;

protected:
    void zurueck() override {}
    void vor() override {}
    bool nachher() override { return false; }
    Auffrischen auffrischen() const override;
};
