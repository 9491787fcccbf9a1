#pragma once

#include "table/KonvertBase.h"

// Rewrites a version-01 chord-table file as the current version, in place.
class KonvertClass1To2 : public KonvertBaseClass
{
public:
    // False, leaving the file as it was, when it is no complete version-01 file or cannot be replaced.
    bool Konvertieren(const std::string& pfad) override;

private:
    bool oldBlocksRead(std::istream& in);
    bool newFileWrite(std::ostream& out);
};
