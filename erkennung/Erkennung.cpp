#include "erkennung/Erkennung.h"

#include <algorithm>
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

// The sounding notes seen from a root: bit k set when the note k semitones above the root sounds.
unsigned relativeTo(unsigned soundingMask, int root)
{
    return ((soundingMask >> root) | (soundingMask << (12 - root))) & 0xFFFu;
}

struct TypeMasks
{
    unsigned reachable = 0; // pitch classes reached by the slots after the first, and the root
    unsigned required = 0;  // pitch classes of the required slots after the first
    int intervals = 0;
};

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
    m_geaendert = true;
    return true;
}

bool ErkennungClass::TypEntfernen(int typ)
{
    if (typ == -1) {
        const bool had = m_typAnzahl > 0;
        m_typAnzahl = 0;
        return had;
    }
    if (typ < 0 || typ >= m_typAnzahl)
        return false;
    for (int i = typ; i + 1 < m_typAnzahl; ++i)
        m_typen[i] = m_typen[i + 1];
    --m_typAnzahl;
    m_geaendert = true;
    return true;
}

bool ErkennungClass::TypenTauschen(int a, int b)
{
    if (a < 0 || b < 0 || a >= m_typAnzahl || b >= m_typAnzahl)
        return false;
    std::swap(m_typen[a], m_typen[b]);
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

int ErkennungClass::Erkennen(TrefferClass* ergebnis, TrefferClass* liste)
{
    const int strings = SaitenAnzahl();
    int startNote = KeinTon;
    if (m_startSaite >= 1 && m_startSaite <= strings)
        startNote = KlingenderTon(m_startSaite);

    int notes[MaxSaiten];
    int noteCount = 0;
    unsigned sounding = 0;
    for (int s = 1; s <= strings; ++s) {
        const int note = KlingenderTon(s);
        if (note == KeinTon || (sounding & (1u << note)))
            continue;
        sounding |= 1u << note;
        notes[noteCount] = note;
        if (note == startNote && noteCount > 0)
            std::swap(notes[noteCount], notes[0]);
        ++noteCount;
    }

    TypeMasks masks[MaxTypen];
    for (int t = 0; t < m_typAnzahl; ++t) {
        const AkkordTypClass& typ = m_typen[t];
        masks[t].intervals = typ.IntervallAnzahl;
        masks[t].reachable = 1u;
        for (int i = 1; i < typ.IntervallAnzahl; ++i) {
            const unsigned bit = 1u << slotPitchClass(typ.Intervalle[i]);
            masks[t].reachable |= bit;
            if (!typ.Intervalle[i].Optional)
                masks[t].required |= bit;
        }
    }

    const int ownRoot = Grundton;
    const int ownType = AkkordTyp;
    int matches = 0;
    bool haveBest = false;
    bool locked = false;
    int bestRoot = KeinTon;
    int bestType = -1;
    int bestIntervals = 0;
    for (int n = 0; n < noteCount; ++n) {
        const int root = notes[n];
        const unsigned relative = relativeTo(sounding, root);
        for (int t = 0; t < m_typAnzahl; ++t) {
            const TypeMasks& m = masks[t];
            if (m.intervals == 0 || (m.required & ~relative) != 0 || (relative & ~m.reachable) != 0)
                continue;
            if (liste && matches < MaxTreffer) {
                liste[matches] = TrefferClass{};
                liste[matches].Grundton = static_cast<std::uint8_t>(root);
                liste[matches].AkkordTyp = t;
            }
            ++matches;
            if (locked)
                continue;
            bool replace;
            if (ownRoot != KeinTon && root == ownRoot && t == ownType) {
                replace = true;
                locked = true;
            } else if (!haveBest || root == bestRoot || startNote == KeinTon) {
                replace = !haveBest || m.intervals >= bestIntervals;
            } else {
                replace = bestRoot != startNote;
            }
            if (replace) {
                haveBest = true;
                bestRoot = root;
                bestType = t;
                bestIntervals = m.intervals;
            }
        }
    }

    AkkordSetzen(bestRoot, bestType);
    if (ergebnis) {
        ergebnis->Grundton = static_cast<std::uint8_t>(bestRoot);
        ergebnis->AkkordTyp = bestType;
    }
    return matches;
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
