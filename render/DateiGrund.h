#pragma once

#include <QString>

// Why a file could not be written, in German, from the errno value of the failed call: the program's
// messages never carry the system's English text.
QString DateiGrund(int fehler);
