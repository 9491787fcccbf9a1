#include "app/RueckgaengigGriff.h"

#include "app/RueckgaengigVerlauf.h"

std::size_t RueckgaengigGriff::Speicherbedarf() const
{
    return sizeof(*this) + textBytes();
}

Auffrischen RueckgaengigGriff::auffrischen() const
{
    return Auffrischen::Griff;
}
