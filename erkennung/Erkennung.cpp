#include "erkennung/Erkennung.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <istream>
#include <ostream>
#include <utility>

#include "theory/Intervalle.h"

namespace {

const AkkordTypClass emptyType{};

// Pitch class of a slot relative to the root; a slot cached with -1 (invalid code) counts as the root.
int slotPitchClass(const IntervallClass& slot)
{
    return slot.Halbtoene < 0 ? 0 : slot.Halbtoene % 12;
}

// What each string of a grip sounds: its note as KlingenderTon gives it (12 when silent) and its pitch
// in semitones above the C of octave 0.
struct Strings
{
    int count = 0;
    int note[MaxSaiten] = {};
    int pitch[MaxSaiten] = {};
};

// Fills the strings in one pass over the finger entries; returns the sounding string with the lowest
// pitch (the lower string on a tie), 0 when none sounds.
int stringsRead(const AkkordDatenClass& griff, const StimmClass& stimmung, Strings& strings)
{
    int highest[MaxSaiten] = {};
    const int entries = std::min(griff.PunktAnzahl, MaxPunkte + 1);
    for (int i = 0; i < entries; ++i) {
        const FingerPunktClass& p = griff.Punkte[i];
        if (p.Saite >= 1 && p.Saite <= MaxSaiten && p.Bund > highest[p.Saite - 1])
            highest[p.Saite - 1] = p.Bund;
    }
    strings.count = std::min(stimmung.SaitenAnzahl(), MaxSaiten);
    int bass = 0;
    for (int s = 1; s <= strings.count; ++s) {
        StimmSaiteClass saite;
        const int open = stimmung.SaiteLesen(s, &saite);
        const int fret = highest[s - 1];
        int& note = strings.note[s - 1];
        if (fret > 0)
            note = NotenClass::Transponieren(open, fret, true);
        else if (griff.Leer[s - 1] != 0)
            note = open;
        else
            note = KeinTon;
        strings.pitch[s - 1] = saite.Oktave * 12 + open + fret;
        if (note != KeinTon && (bass == 0 || strings.pitch[s - 1] < strings.pitch[bass - 1]))
            bass = s;
    }
    return bass;
}

// The sounding notes seen from a root: bit k set when the note k semitones above the root sounds.
unsigned relativeTo(unsigned soundingMask, int root)
{
    return ((soundingMask >> root) | (soundingMask << (12 - root))) & 0xFFFu;
}

} // namespace

void ErkennungClass::SetzeGeaendert(bool wert)
{
    m_geaendert = wert;
}

bool ErkennungClass::IstGeaendert() const
{
    return m_geaendert;
}

bool ErkennungClass::AkkordtypenTauschen(int a, int b)
{
    return TypenTauschen(a, b);
}

bool ErkennungClass::AkkordtypLoeschen(int typ)
{
    return TypEntfernen(typ);
}

const AkkordTypClass& ErkennungClass::Typ(int typ) const
{
    return typ >= 0 && typ < m_typAnzahl ? m_typen[typ] : emptyType;
}

bool ErkennungClass::TypZufuegen()
{
    if (m_typAnzahl >= MaxTypen)
        return false;
    AkkordTypClass& typ = m_typen[m_typAnzahl];
    typ = AkkordTypClass{};
    std::strcpy(typ.Name, "(unbenannt)");
    typ.Intervalle[0].Intervallcode = 0;
    typ.Intervalle[0].Halbtoene = HalbtoeneVon(0);
    typ.IntervallAnzahl = 1;
    ++m_typAnzahl;
    m_maskenAktuell = false;
    m_geaendert = true;
    return true;
}

bool ErkennungClass::TypEntfernen(int typ)
{
    if (typ == -1) {
        const bool had = m_typAnzahl > 0;
        m_typAnzahl = 0;
        m_maskenAktuell = false;
        return had;
    }
    if (typ < 0 || typ >= m_typAnzahl)
        return false;
    for (int i = typ; i + 1 < m_typAnzahl; ++i)
        m_typen[i] = m_typen[i + 1];
    --m_typAnzahl;
    m_maskenAktuell = false;
    m_geaendert = true;
    return true;
}

bool ErkennungClass::TypenTauschen(int a, int b)
{
    if (a < 0 || b < 0 || a >= m_typAnzahl || b >= m_typAnzahl)
        return false;
    std::swap(m_typen[a], m_typen[b]);
    m_maskenAktuell = false;
    m_geaendert = true;
    return true;
}

bool ErkennungClass::KatalogSetzen(const AkkordTypClass* typen, int anzahl)
{
    if (anzahl < 0 || anzahl > MaxTypen)
        return false;
    std::copy(typen, typen + anzahl, m_typen);
    m_typAnzahl = anzahl;
    m_maskenAktuell = false;
    m_geaendert = true;
    return true;
}

const char* ErkennungClass::TypName(int typ) const
{
    return Typ(typ).Name;
}

void ErkennungClass::TypUmbenennen(int typ, std::string_view name)
{
    if (typ < 0 || typ >= m_typAnzahl)
        return;
    char* field = m_typen[typ].Name;
    std::memset(field, 0, sizeof m_typen[typ].Name);
    std::memcpy(field, name.data(), std::min<std::size_t>(name.size(), MaxTypNameLaenge));
    m_geaendert = true;
}

void ErkennungClass::sortIntervals(AkkordTypClass& typ)
{
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (int i = 0; i + 1 < typ.IntervallAnzahl; ++i) {
            if (typ.Intervalle[i].Intervallcode > typ.Intervalle[i + 1].Intervallcode) {
                std::swap(typ.Intervalle[i], typ.Intervalle[i + 1]);
                swapped = true;
            }
        }
    }
}

bool ErkennungClass::IntervallZufuegen(int typ, int intervallcode, bool optional)
{
    if (typ < 0 || typ >= m_typAnzahl || EnthaeltIntervall(typ, intervallcode))
        return false;
    AkkordTypClass& t = m_typen[typ];
    if (t.IntervallAnzahl >= MaxIntervalle)
        return false;
    IntervallClass& slot = t.Intervalle[t.IntervallAnzahl];
    slot.Intervallcode = static_cast<std::uint8_t>(intervallcode);
    slot.Halbtoene = HalbtoeneVon(intervallcode);
    ++t.IntervallAnzahl;
    sortIntervals(t);
    for (int i = 0; i < t.IntervallAnzahl; ++i) {
        if (t.Intervalle[i].Intervallcode == intervallcode)
            t.Intervalle[i].Optional = optional ? 1 : 0;
    }
    m_maskenAktuell = false;
    m_geaendert = true;
    return true;
}

bool ErkennungClass::IntervallEntfernen(int typ, int intervallcode)
{
    if (typ < 0 || typ >= m_typAnzahl)
        return false;
    AkkordTypClass& t = m_typen[typ];
    for (int i = 0; i < t.IntervallAnzahl; ++i) {
        if (t.Intervalle[i].Intervallcode != intervallcode)
            continue;
        for (int k = i; k + 1 < t.IntervallAnzahl; ++k)
            t.Intervalle[k] = t.Intervalle[k + 1];
        --t.IntervallAnzahl;
        m_maskenAktuell = false;
        m_geaendert = true;
        return true;
    }
    return false;
}

int ErkennungClass::IntervallAnzahl(int typ) const
{
    return Typ(typ).IntervallAnzahl;
}

int ErkennungClass::IntervallAn(int typ, int slot) const
{
    const AkkordTypClass& t = Typ(typ);
    if (slot < 0 || slot >= t.IntervallAnzahl)
        return -1;
    return t.Intervalle[slot].Intervallcode;
}

bool ErkennungClass::EnthaeltIntervall(int typ, int intervallcode) const
{
    const AkkordTypClass& t = Typ(typ);
    for (int i = 0; i < t.IntervallAnzahl; ++i) {
        if (t.Intervalle[i].Intervallcode == intervallcode)
            return true;
    }
    return false;
}

std::uint8_t ErkennungClass::IstOptional(int typ, int intervallcode) const
{
    const AkkordTypClass& t = Typ(typ);
    for (int i = 0; i < t.IntervallAnzahl; ++i) {
        if (t.Intervalle[i].Intervallcode == intervallcode)
            return t.Intervalle[i].Optional;
    }
    return 0;
}

std::string ErkennungClass::IntervallText(int typ) const
{
    const AkkordTypClass& t = Typ(typ);
    std::string text;
    for (int i = 0; i < t.IntervallAnzahl; ++i) {
        if (i > 0)
            text += '-';
        const char* name = IntervallBezeichnung(t.Intervalle[i].Intervallcode);
        if (t.Intervalle[i].Optional)
            text += std::string("(") + name + ")";
        else
            text += name;
    }
    return text;
}

int ErkennungClass::SetzeStartSaite(int n)
{
    if (n != -1)
        m_startSaite = n;
    return m_startSaite;
}

bool ErkennungClass::Einlesen(std::istream& in)
{
    std::int32_t count = 0;
    m_typAnzahl = 0;
    m_maskenAktuell = false;
    if (!readBlock(in, &count, sizeof count) || count < 0 || count > MaxTypen)
        return false;
    if (!readBlock(in, m_typen, sizeof(AkkordTypClass), static_cast<std::size_t>(count)))
        return false;
    for (int i = 0; i < count; ++i) {
        AkkordTypClass& t = m_typen[i];
        const bool named = std::memchr(t.Name, '\0', sizeof t.Name) != nullptr;
        t.Name[MaxTypNameLaenge] = '\0';
        if (!named || t.IntervallAnzahl < 0 || t.IntervallAnzahl > MaxIntervalle)
            return false;
        for (int k = 0; k < t.IntervallAnzahl; ++k) {
            if (!intervalSlotValid(t.Intervalle[k].Intervallcode, t.Intervalle[k].Halbtoene))
                return false;
        }
    }
    m_typAnzahl = count;
    return true;
}

bool ErkennungClass::Schreiben(std::ostream& out)
{
    return writeBlock(out, &m_typAnzahl, sizeof m_typAnzahl) &&
           writeBlock(out, m_typen, sizeof(AkkordTypClass), static_cast<std::size_t>(m_typAnzahl));
}

void ErkennungClass::masksUpdate()
{
    for (int k = 0; k < 12; ++k) {
        m_erreichen[k] = 0;
        m_entbehrlich[k] = 0;
    }
    m_mitIntervallen = 0;
    for (int t = 0; t < m_typAnzahl; ++t) {
        const AkkordTypClass& typ = m_typen[t];
        unsigned reachable = 1u;
        unsigned required = 0;
        for (int i = 1; i < typ.IntervallAnzahl; ++i) {
            const unsigned bit = 1u << slotPitchClass(typ.Intervalle[i]);
            reachable |= bit;
            if (!typ.Intervalle[i].Optional)
                required |= bit;
        }
        const std::uint64_t type = std::uint64_t{1} << t;
        if (typ.IntervallAnzahl > 0)
            m_mitIntervallen |= type;
        for (int k = 0; k < 12; ++k) {
            if (reachable & (1u << k))
                m_erreichen[k] |= type;
            if (!(required & (1u << k)))
                m_entbehrlich[k] |= type;
        }
    }
    m_maskenAktuell = true;
}

int ErkennungClass::Erkennen(TrefferClass* ergebnis, TrefferClass* liste)
{
    static_assert(MaxTypen <= 64, "one bit per type");
    Strings strings;
    const int bassString = stringsRead(Daten(), *this, strings);
    const bool bassMode = m_startSaite == StartSaiteBasston;
    const int startString = bassMode ? bassString : m_startSaite;
    int startNote = KeinTon;
    if (startString >= 1 && startString <= strings.count)
        startNote = strings.note[startString - 1];
    // Only the bass mode names a chord over another bass with a slash.
    const int slashBass = bassMode ? startNote : KeinTon;
    const auto shownBass = [slashBass](int root) {
        return static_cast<std::uint8_t>(root == slashBass ? KeinTon : slashBass);
    };

    int notes[MaxSaiten];
    int noteCount = 0;
    unsigned sounding = 0;
    for (int s = 1; s <= strings.count; ++s) {
        const int note = strings.note[s - 1];
        if (note == KeinTon || (sounding & (1u << note)))
            continue;
        sounding |= 1u << note;
        notes[noteCount] = note;
        if (note == startNote && noteCount > 0)
            std::swap(notes[noteCount], notes[0]);
        ++noteCount;
    }

    if (!m_maskenAktuell)
        masksUpdate();

    const int ownRoot = Grundton;
    const int ownType = AkkordTyp;
    int matches = 0;
    bool haveBest = false;
    bool locked = false;
    int bestRoot = KeinTon;
    int bestType = -1;
    int bestIntervals = 0;
    int bestMatch = -1;
    // The same choice without the preference for the grip's own chord: it stays among the stored
    // matches too, so that cycling away from it always comes back.
    int plainRoot = KeinTon;
    int plainType = -1;
    int plainIntervals = 0;
    int plainMatch = -1;
    for (int n = 0; n < noteCount; ++n) {
        const int root = notes[n];
        const unsigned relative = relativeTo(sounding, root);
        // One bit per fitting type: every sounding note reached, every missing one dispensable.
        std::uint64_t fitting = m_mitIntervallen;
        for (int k = 0; k < 12; ++k)
            fitting &= (relative >> k) & 1u ? m_erreichen[k] : m_entbehrlich[k];
        for (; fitting != 0; fitting &= fitting - 1) {
            const int t = std::countr_zero(fitting);
            const int intervals = m_typen[t].IntervallAnzahl;
            if (liste && matches < MaxTreffer) {
                liste[matches] = TrefferClass{};
                liste[matches].Grundton = static_cast<std::uint8_t>(root);
                liste[matches].Basston = shownBass(root);
                liste[matches].AkkordTyp = t;
            }
            ++matches;
            if (plainMatch < 0 || root == plainRoot || startNote == KeinTon
                    ? plainMatch < 0 || intervals >= plainIntervals
                    : plainRoot != startNote) {
                plainRoot = root;
                plainType = t;
                plainIntervals = intervals;
                plainMatch = matches - 1;
            }
            if (locked)
                continue;
            bool replace;
            if (ownRoot != KeinTon && root == ownRoot && t == ownType) {
                replace = true;
                locked = true;
            } else if (!haveBest || root == bestRoot || startNote == KeinTon) {
                replace = !haveBest || intervals >= bestIntervals;
            } else {
                replace = bestRoot != startNote;
            }
            if (replace) {
                haveBest = true;
                bestRoot = root;
                bestType = t;
                bestIntervals = intervals;
                bestMatch = matches - 1;
            }
        }
    }

    // Results beyond the stored matches take the last places in search order, so that "Nächster"
    // reaches them.
    if (liste && matches > MaxTreffer) {
        struct Kept
        {
            int match;
            int root;
            int type;
        } kept[2];
        int keptCount = 0;
        if (plainMatch >= MaxTreffer && plainMatch < bestMatch)
            kept[keptCount++] = {plainMatch, plainRoot, plainType};
        if (bestMatch >= MaxTreffer)
            kept[keptCount++] = {bestMatch, bestRoot, bestType};
        if (plainMatch >= MaxTreffer && plainMatch > bestMatch)
            kept[keptCount++] = {plainMatch, plainRoot, plainType};
        for (int k = 0; k < keptCount; ++k) {
            TrefferClass& entry = liste[MaxTreffer - keptCount + k];
            entry = TrefferClass{};
            entry.Grundton = static_cast<std::uint8_t>(kept[k].root);
            entry.Basston = shownBass(kept[k].root);
            entry.AkkordTyp = kept[k].type;
        }
    }

    AkkordSetzen(bestRoot, bestType);
    if (ergebnis) {
        ergebnis->Grundton = static_cast<std::uint8_t>(bestRoot);
        ergebnis->Basston = bestType == -1 ? KeinTon : shownBass(bestRoot);
        ergebnis->AkkordTyp = bestType;
    }
    return matches;
}

int ErkennungClass::BassSaite() const
{
    Strings strings;
    return stringsRead(Daten(), *this, strings);
}

int ErkennungClass::BassTon(const AkkordDatenClass& griff) const
{
    Strings strings;
    const int bass = stringsRead(griff, *this, strings);
    return bass == 0 ? KeinTon : strings.note[bass - 1];
}

int ErkennungClass::SchraegstrichBass(int grundton, const AkkordDatenClass& griff) const
{
    if (m_startSaite != StartSaiteBasston)
        return KeinTon;
    const int bass = BassTon(griff);
    return bass == grundton ? KeinTon : bass;
}

std::string ErkennungClass::AkkordName(int grundton, int typ, int bass) const
{
    if (typ < 0)
        return "";
    std::string name = std::string(TonName(grundton, true)) + TypName(typ);
    if (bass >= 0 && bass < KeinTon && bass != grundton)
        name += std::string("/") + TonName(bass, true);
    return name;
}

std::string ErkennungClass::IntervallImAkkord(int grundton, int typ, int ton) const
{
    if (const char* fixed = fixedIntervalName(grundton, ton))
        return fixed;
    const AkkordTypClass& t = Typ(typ);
    for (int i = 0; i < t.IntervallAnzahl; ++i) {
        if (Transponieren(grundton, t.Intervalle[i].Halbtoene, true) == ton)
            return IntervallBezeichnung(t.Intervalle[i].Intervallcode);
    }
    return "";
}
