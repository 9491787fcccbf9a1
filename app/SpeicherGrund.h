#pragma once

#include <QString>

class AkkordDepotClass;

// Why the table's current grip cannot be stored, for the status line and the finder; empty when it can.
QString speicherVerweigerung(const AkkordDepotClass& tabelle);
