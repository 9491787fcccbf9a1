#pragma once

#include <iosfwd>

struct ExportAuftrag;
class AkkordDepotClass;
class ChordNameParser;

// The ChordPro runs of zupfwerk-export: --chordpro, --import and --song. Returns the exit code.
class ChordProCommand
{
public:
    static int run(AkkordDepotClass& tabelle, const ChordNameParser& names, const ExportAuftrag& auftrag,
                   std::ostream& out, std::ostream& err);
};
