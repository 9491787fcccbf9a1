#include "griffsuche/GefundenerGriff.h"

#include <algorithm>

namespace {

void addReason(std::string& text, const std::string& reason, int points)
{
    if (!text.empty())
        text += '\n';
    text += reason;
    if (points > 0)
        text += ": +" + std::to_string(points);
    else if (points < 0)
        text += ": " + std::to_string(points);
}

std::string plural(int count, const char* one, const char* many)
{
    return std::to_string(count) + ' ' + (count == 1 ? one : many);
}

} // namespace

void GefundenerGriffClass::Bewerten()
{
    int lowest = 0;
    int highest = 0;
    bool fingerUsed[5] = {};
    Leersaiten = 0;
    KlingendeSaiten = 0;
    InnenGedaempft = 0;
    int firstSounding = 0;
    int lastSounding = 0;
    for (int s = 1; s <= SaitenAnzahl; ++s) {
        const int fret = Bunde[s - 1];
        if (fret < 0)
            continue;
        ++KlingendeSaiten;
        if (firstSounding == 0)
            firstSounding = s;
        lastSounding = s;
        if (fret == 0) {
            ++Leersaiten;
            continue;
        }
        lowest = lowest == 0 ? fret : std::min(lowest, fret);
        highest = std::max(highest, fret);
        fingerUsed[std::clamp<int>(Finger[s - 1], 0, 4)] = true;
    }
    for (int s = firstSounding + 1; s < lastSounding; ++s)
        InnenGedaempft += Bunde[s - 1] < 0 ? 1 : 0;
    BassGedaempft = firstSounding == 0 ? SaitenAnzahl : firstSounding - 1;
    LeerUeberBass = firstSounding > 0 && firstSounding < SaitenAnzahl && Bunde[firstSounding - 1] > 0 &&
                    Bunde[firstSounding] == 0;
    ObenGedaempft = firstSounding == 0 ? 0 : SaitenAnzahl - lastSounding;
    FingerAnzahl = 0;
    for (int f = 1; f <= 4; ++f)
        FingerAnzahl += fingerUsed[f] ? 1 : 0;
    if (BarreBund > 0 && !fingerUsed[std::clamp(BarreFinger, 1, 4)])
        ++FingerAnzahl;
    Lage = lowest;
    Spannweite = lowest == 0 ? 0 : highest - lowest + 1;
    ErsteLage = highest <= ErsteLageBisBund;

    Bewertung = FingerAnzahl * PunkteJeFinger;
    if (BarreBund > 0)
        Bewertung += BarreFinger > 1 ? PunkteTeilbarre : PunkteBarre;
    if (barreForm())
        Bewertung += PunkteBarreform;
    Bewertung += std::max(0, Spannweite - 2) * PunkteJeBundSpannweite;
    if (Leersaiten > 0 && ErsteLage)
        Bewertung += PunkteLeersaitenErsteLage;
    else
        Bewertung += Leersaiten * PunkteJeLeersaiteHoeher;
    if (!GrundtonImBass)
        Bewertung += PunkteGrundtonNichtImBass;
    Bewertung += InnenGedaempft * PunkteInnenGedaempft;
    Bewertung += BassGedaempft * bassStringPoints() + ObenGedaempft * highStringPoints();
    if (LeerUeberBass)
        Bewertung += PunkteLeerUeberBass;
    Bewertung += positionPoints();
    Bewertung += thinStrings() * PunkteJeFehlendeSaite;
    if (Ausgeduennt)
        Bewertung += PunkteAusgeduennt;
}

int GefundenerGriffClass::thinStrings() const
{
    // A power chord is whole on two or three low strings.
    if (Kraftakkord)
        return 0;
    return std::max(0, std::min(VolleSaiten, SaitenAnzahl) - KlingendeSaiten);
}

int GefundenerGriffClass::bassStringPoints() const
{
    return Kraftakkord ? PunkteJeStummeBasssaiteKraftakkord : PunkteJeStummeBasssaite;
}

int GefundenerGriffClass::positionPoints() const
{
    return Lage >= HoheLageAbBund ? (Lage - HoheLageAbBund) / 2 + 1 : 0;
}

int GefundenerGriffClass::highStringPoints() const
{
    return Kraftakkord ? 0 : PunkteJeStummeHoheSaite;
}

// The movable shapes of every chord book: the first finger's barré holds the root on the lowest
// sounding string and lies under every string above it.
bool GefundenerGriffClass::barreForm() const
{
    int firstSounding = 0;
    for (int s = SaitenAnzahl; s >= 1; --s)
        firstSounding = Bunde[s - 1] >= 0 ? s : firstSounding;
    return BarreBund > 0 && BarreFinger == 1 && BarreVon == firstSounding && GrundtonImBass &&
           InnenGedaempft == 0 && ObenGedaempft == 0 && Leersaiten == 0 &&
           KlingendeSaiten >= std::max(3, SaitenAnzahl - 1);
}

std::string GefundenerGriffClass::Begruendung() const
{
    std::string text;
    if (Spannweite == 0)
        addReason(text, "keine gegriffene Saite", 0);
    else
        addReason(text, "Spannweite " + plural(Spannweite, "Bund", "B\xFCnde"),
                  std::max(0, Spannweite - 2) * PunkteJeBundSpannweite);
    addReason(text, plural(FingerAnzahl, "Finger", "Finger"), FingerAnzahl * PunkteJeFinger);
    if (BarreBund > 0) {
        const std::string finger =
            BarreFinger > 1 ? " mit dem " + std::to_string(BarreFinger) + ". Finger" : std::string();
        addReason(text,
                  "Barr\xE9" + finger + " im " + std::to_string(BarreBund) + ". Bund, Saite " +
                      std::to_string(BarreVon) + " bis " + std::to_string(BarreBis),
                  BarreFinger > 1 ? PunkteTeilbarre : PunkteBarre);
    }
    if (barreForm())
        addReason(text,
                  "g\xE4ngige Barr\xE9"
                  "form, Grundton im Bass",
                  PunkteBarreform);
    if (Leersaiten > 0 && ErsteLage)
        addReason(text, "Leersaiten in der ersten Lage", PunkteLeersaitenErsteLage);
    else if (Leersaiten > 0)
        addReason(text,
                  plural(Leersaiten, "Leersaite", "Leersaiten") + " \xFC"
                                                                  "ber der ersten Lage",
                  Leersaiten * PunkteJeLeersaiteHoeher);
    if (GrundtonImBass)
        addReason(text, "Grundton im Bass", 0);
    else
        addReason(text, "Grundton nicht im Bass", PunkteGrundtonNichtImBass);
    if (InnenGedaempft > 0)
        addReason(text, "ged\xE4mpfte Saite zwischen klingenden", InnenGedaempft * PunkteInnenGedaempft);
    if (BassGedaempft > 0)
        addReason(text, plural(BassGedaempft, "Basssaite", "Basssaiten") + " ged\xE4mpft",
                  BassGedaempft * bassStringPoints());
    if (LeerUeberBass)
        addReason(text,
                  "Leersaite \xFC"
                  "ber der gegriffenen Basssaite",
                  PunkteLeerUeberBass);
    if (positionPoints() > 0)
        addReason(text, std::to_string(Lage) + ". Lage", positionPoints());
    if (ObenGedaempft > 0)
        addReason(text, plural(ObenGedaempft, "hohe Saite", "hohe Saiten") + " ged\xE4mpft",
                  ObenGedaempft * highStringPoints());
    if (Kraftakkord)
        addReason(text, "Powerchord auf den tiefen Saiten", 0);
    if (Ausgeduennt)
        addReason(text, "ausged\xFCnnte Form eines vollen Griffs", PunkteAusgeduennt);
    addReason(text,
              std::to_string(KlingendeSaiten) + " von " + std::to_string(SaitenAnzahl) + " Saiten klingen",
              thinStrings() * PunkteJeFehlendeSaite);
    addReason(text, "Bewertung " + std::to_string(Bewertung) + " (kleiner ist leichter)", 0);
    return text;
}

std::string GefundenerGriffClass::Zeile() const
{
    std::string frets;
    std::string fingers;
    for (int s = 1; s <= SaitenAnzahl; ++s) {
        const int fret = Bunde[s - 1];
        if (fret < 0)
            frets += 'x';
        else if (fret <= 9)
            frets += static_cast<char>('0' + fret);
        else
            frets += '(' + std::to_string(fret) + ')';
        const int finger = Finger[s - 1];
        fingers += fret > 0 && finger >= 1 && finger <= 4 ? static_cast<char>('0' + finger) : '-';
    }
    return frets + ' ' + fingers;
}
