#include "theory/Meldung.h"

#include <cstdio>

namespace {

void writeToStderr(const std::string& text, const std::string& titel)
{
    std::fprintf(stderr, "%s: %s\n", titel.c_str(), text.c_str());
}

EinfacheMeldungFunktion installed = &writeToStderr;

} // namespace

void EinfacheMeldung(const std::string& text, const std::string& titel)
{
    installed(text, titel);
}

EinfacheMeldungFunktion SetzeEinfacheMeldung(EinfacheMeldungFunktion f)
{
    EinfacheMeldungFunktion previous = installed;
    installed = f ? f : &writeToStderr;
    return previous;
}
