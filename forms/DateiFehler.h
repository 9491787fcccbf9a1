#pragma once

#include <QString>

// The reason a file operation failed, in German, from the errno value the model reported.
QString dateiFehlerGrund(int fehler);
// The reason a chord table may not be written, from the check's result and the grip at fault.
QString pruefFehlerGrund(int ergebnis, int griffIndex);
