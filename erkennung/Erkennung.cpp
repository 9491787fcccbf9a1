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
        m_quinte[t] = 0;
        m_terz[t] = 0;
        m_septime[t] = 0;
        for (int i = 1; i < typ.IntervallAnzahl; ++i) {
            const unsigned bit = 1u << slotPitchClass(typ.Intervalle[i]);
            reachable |= bit;
            if (!typ.Intervalle[i].Optional)
                required |= bit;
            switch (typ.Intervalle[i].Intervallcode) {
            case 2: // b3
            case 3: // 3
                m_terz[t] |= bit;
                break;
            case 5: // b5
            case 6: // 5
            case 7: // #5
                m_quinte[t] |= bit;
                break;
            case 9:  // 7
            case 10: // maj7
                m_septime[t] |= bit;
                break;
            default:
                break;
            }
        }
        // The root's own slot is not examined by the fit, and an interval that lands on it adds nothing.
        m_erforderlich[t] = static_cast<std::uint16_t>(required & ~1u);
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

std::uint32_t ErkennungClass::rankOf(int root, int type, int startNote, int bassNote, int depth) const
{
    // Higher ranks first: the start note as root, the part the bass plays, the intervals that sound
    // through required slots, the catalogue's order, the root's depth.
    const unsigned bassAbove = static_cast<unsigned>((bassNote - root + 12) % 12);
    const unsigned bassBit = 1u << bassAbove;
    unsigned role = 0;
    if (bassNote == KeinTon)
        role = 0;
    else if (bassAbove == 0)
        role = 4;
    else if (m_quinte[type] & bassBit)
        role = 3;
    else if (m_terz[type] & bassBit)
        role = 2;
    else if (m_septime[type] & bassBit)
        role = 1;
    const unsigned start = startNote != KeinTon && root == startNote ? 1u : 0u;
    const unsigned required = static_cast<unsigned>(std::popcount(m_erforderlich[type]));
    return start << 31 | role << 28 | required << 24 | static_cast<unsigned>(63 - type) << 16 |
           static_cast<unsigned>(15 - std::min(depth, 15));
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
    const int bassNote = bassString == 0 ? KeinTon : strings.note[bassString - 1];
    // Only the bass mode names a chord over another bass with a slash.
    const int slashBass = bassMode ? startNote : KeinTon;
    const auto shownBass = [slashBass](int root) {
        return static_cast<std::uint8_t>(root == slashBass ? KeinTon : slashBass);
    };

    // The distinct notes, and for each its depth: how many distinct notes sound lower than it does.
    int notes[MaxSaiten];
    int lowest[MaxSaiten];
    int noteCount = 0;
    unsigned sounding = 0;
    for (int s = 1; s <= strings.count; ++s) {
        const int note = strings.note[s - 1];
        if (note == KeinTon)
            continue;
        if (sounding & (1u << note)) {
            for (int n = 0; n < noteCount; ++n) {
                if (notes[n] == note)
                    lowest[n] = std::min(lowest[n], strings.pitch[s - 1]);
            }
            continue;
        }
        sounding |= 1u << note;
        notes[noteCount] = note;
        lowest[noteCount] = strings.pitch[s - 1];
        ++noteCount;
    }

    if (!m_maskenAktuell)
        masksUpdate();

    struct Ranked
    {
        std::uint32_t rank;
        int root;
        int type;
    };
    // The best matches by rank, best first; matches beyond them are counted only.
    Ranked best[MaxTreffer];
    int kept = 0;
    const int ownRoot = Grundton;
    const int ownType = AkkordTyp;
    bool ownFits = false;
    std::uint32_t ownRank = 0;
    int matches = 0;
    for (int n = 0; n < noteCount; ++n) {
        const int root = notes[n];
        const unsigned relative = relativeTo(sounding, root);
        // One bit per fitting type: every sounding note reached, every missing one dispensable.
        std::uint64_t fitting = m_mitIntervallen;
        for (int k = 0; k < 12; ++k)
            fitting &= (relative >> k) & 1u ? m_erreichen[k] : m_entbehrlich[k];
        if (fitting == 0)
            continue;
        int depth = 0;
        for (int m = 0; m < noteCount; ++m)
            depth += lowest[m] < lowest[n] ? 1 : 0;
        for (; fitting != 0; fitting &= fitting - 1) {
            const int t = std::countr_zero(fitting);
            const std::uint32_t rank = rankOf(root, t, startNote, bassNote, depth);
            ++matches;
            if (root == ownRoot && t == ownType) {
                ownFits = true;
                ownRank = rank;
            }
            if (kept == MaxTreffer && rank <= best[kept - 1].rank)
                continue;
            int at = kept < MaxTreffer ? kept++ : kept - 1;
            for (; at > 0 && best[at - 1].rank < rank; --at)
                best[at] = best[at - 1];
            best[at] = {rank, root, t};
        }
    }

    // The grip's own chord wins while it fits, which keeps a chosen alternative or a fetched grip.
    int resultRoot = KeinTon;
    int resultType = -1;
    if (ownFits && ownRoot != KeinTon) {
        resultRoot = ownRoot;
        resultType = ownType;
        // Ranked beyond the stored matches, it takes the last place, so that "Nächster" leaves and
        // reaches it.
        if (kept == MaxTreffer && ownRank < best[kept - 1].rank)
            best[kept - 1] = {ownRank, ownRoot, ownType};
    } else if (kept > 0) {
        resultRoot = best[0].root;
        resultType = best[0].type;
    }

    if (liste) {
        for (int i = 0; i < kept; ++i) {
            liste[i] = TrefferClass{};
            liste[i].Grundton = static_cast<std::uint8_t>(best[i].root);
            liste[i].Basston = shownBass(best[i].root);
            liste[i].AkkordTyp = best[i].type;
        }
    }

    AkkordSetzen(resultRoot, resultType);
    if (ergebnis) {
        ergebnis->Grundton = static_cast<std::uint8_t>(resultRoot);
        ergebnis->Basston = resultType == -1 ? KeinTon : shownBass(resultRoot);
        ergebnis->AkkordTyp = resultType;
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
