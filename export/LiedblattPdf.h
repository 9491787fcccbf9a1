#pragma once

#include <QString>

class AkkordDepotClass;
class Liedblatt;

// The song sheet as a PDF page of chord boxes headed with the song's title, drawn by the chord-sheet
// export. The one place that knows how the sheet is drawn.
bool liedblattPdfSchreiben(const AkkordDepotClass& tabelle, const Liedblatt& blatt, const QString& pfad,
                           QString* fehler);
