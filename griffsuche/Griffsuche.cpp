#include "griffsuche/Griffsuche.h"

#include <algorithm>
#include <bit>

#include "erkennung/Erkennung.h"

namespace {

unsigned noteBit(int note)
{
    return 1u << (note % 12);
}

// The recognition's reading of a slot: a slot cached with -1 (invalid code) counts as the root.
int slotPitchClass(const IntervallClass& slot)
{
    return slot.Halbtoene < 0 ? 0 : slot.Halbtoene % 12;
}

struct Pressed
{
    int fret;
    int saite;
};

// Fingers for notes sorted by fret: ascending, from `first` to 4, each as close as possible to one finger
// per fret counted from the lowest fret; on a tie the wider hand (power chords take 1-3-4).
bool chooseFingers(const Pressed* notes, int count, int lowest, int first, int* fingers)
{
    if (count == 0)
        return true;
    int bestCost = -1;
    int best[4] = {};
    for (unsigned mask = 1; mask < 16; ++mask) {
        if (std::popcount(mask) != count || (mask & ((1u << (first - 1)) - 1)) != 0)
            continue;
        int sequence[4] = {};
        int n = 0;
        for (int f = 1; f <= 4; ++f) {
            if (mask & (1u << (f - 1)))
                sequence[n++] = f;
        }
        int cost = 0;
        for (int i = 0; i < count; ++i) {
            const int natural = std::clamp(notes[i].fret - lowest + 1, first, 4);
            cost += std::abs(sequence[i] - natural);
        }
        if (bestCost < 0 || cost < bestCost ||
            (cost == bestCost &&
             std::lexicographical_compare(best, best + count, sequence, sequence + count))) {
            bestCost = cost;
            std::copy(sequence, sequence + count, best);
        }
    }
    if (bestCost < 0)
        return false;
    std::copy(best, best + count, fingers);
    return true;
}

bool better(const GefundenerGriffClass& a, const GefundenerGriffClass& b)
{
    if (a.Bewertung != b.Bewertung)
        return a.Bewertung < b.Bewertung;
    if (a.Lage != b.Lage)
        return a.Lage < b.Lage;
    return std::lexicographical_compare(a.Bunde, a.Bunde + a.SaitenAnzahl, b.Bunde, b.Bunde + b.SaitenAnzahl);
}

} // namespace

bool GriffsucheClass::Starten(const ErkennungClass& katalog, int grundton, int typ,
                              const GriffsucheEinstellungClass& einstellung)
{
    m_griffe.clear();
    m_hoechsterBund = -1;
    m_naechsterBund = 0;
    m_grundton = grundton;
    m_typ = typ;
    m_einstellung.HoechsterBund = std::clamp(einstellung.HoechsterBund, GriffsucheEinstellungClass::MinBund,
                                             GriffsucheEinstellungClass::MaxBund);
    m_einstellung.Spannweite = std::clamp(einstellung.Spannweite, GriffsucheEinstellungClass::MinSpannweite,
                                          GriffsucheEinstellungClass::MaxSpannweite);
    m_saiten = katalog.SaitenAnzahl();
    if (grundton < 0 || grundton > 11 || typ < 0 || typ >= katalog.TypAnzahl() || m_saiten < 2 ||
        m_saiten > MaxSaiten)
        return false;
    const AkkordTypClass& chord = katalog.Typ(typ);
    if (chord.IntervallAnzahl <= 0)
        return false;

    // As in the recognition, the first slot stands for the root, which must sound.
    m_erlaubt = noteBit(grundton);
    m_gefordert = noteBit(grundton);
    for (int i = 1; i < std::min(chord.IntervallAnzahl, MaxIntervalle); ++i) {
        const unsigned bit = noteBit(grundton + slotPitchClass(chord.Intervalle[i]));
        m_erlaubt |= bit;
        if (!chord.Intervalle[i].Optional)
            m_gefordert |= bit;
    }
    for (int s = 1; s <= m_saiten; ++s)
        m_offen[s - 1] = katalog.SaiteLesen(s);
    // Fewer than three strings is a fragment, not a grip, unless the instrument has only two.
    m_minKlingend = std::max(std::min(m_saiten, 3), std::popcount(m_gefordert));
    m_hoechsterBund = m_einstellung.HoechsterBund;
    m_griffe.reserve(512);
    return true;
}

int GriffsucheClass::Fortschritt() const
{
    if (m_hoechsterBund < 0 || Fertig())
        return 100;
    return m_naechsterBund * 100 / (m_hoechsterBund + 1);
}

bool GriffsucheClass::Weiter()
{
    if (Fertig())
        return false;
    searchFret(m_naechsterBund++);
    if (Fertig())
        std::stable_sort(m_griffe.begin(), m_griffe.end(), better);
    return !Fertig();
}

int GriffsucheClass::Suchen(const ErkennungClass& katalog, int grundton, int typ,
                            const GriffsucheEinstellungClass& einstellung)
{
    if (!Starten(katalog, grundton, typ, einstellung))
        return 0;
    while (Weiter()) {
    }
    return Anzahl();
}

std::vector<int> GriffsucheClass::Gefiltert(bool grundtonImBass, bool ohneLeersaiten) const
{
    std::vector<int> result;
    result.reserve(m_griffe.size());
    for (int i = 0; i < Anzahl(); ++i) {
        const GefundenerGriffClass& griff = m_griffe[static_cast<std::size_t>(i)];
        if ((grundtonImBass && !griff.GrundtonImBass) || (ohneLeersaiten && griff.Leersaiten > 0))
            continue;
        result.push_back(i);
    }
    return result;
}

// Lowest fret 0 stands for the grips without a pressed string; every other grip is found exactly once,
// under its own lowest fret.
void GriffsucheClass::searchFret(int lowest)
{
    const int top = lowest == 0 ? 0 : std::min(lowest + m_einstellung.Spannweite - 1, m_hoechsterBund);
    m_tiefster = lowest;
    for (int s = 0; s < m_saiten; ++s) {
        int n = 0;
        m_wahl[s][n++] = Choice{-1, 0};
        if (m_erlaubt & noteBit(m_offen[s]))
            m_wahl[s][n++] = Choice{0, noteBit(m_offen[s])};
        for (int fret = std::max(lowest, 1); lowest > 0 && fret <= top; ++fret) {
            const unsigned bit = noteBit(m_offen[s] + fret);
            if (m_erlaubt & bit)
                m_wahl[s][n++] = Choice{static_cast<std::int8_t>(fret), bit};
        }
        m_wahlAnzahl[s] = n;
    }
    m_hatTiefsten[m_saiten] = false;
    for (int s = m_saiten - 1; s >= 0; --s) {
        bool here = false;
        for (int c = 0; c < m_wahlAnzahl[s]; ++c)
            here = here || m_wahl[s][c].fret == lowest;
        m_hatTiefsten[s] = here || m_hatTiefsten[s + 1];
    }
    descend(0, 0, lowest == 0);
}

void GriffsucheClass::descend(int saite, unsigned notes, bool lowestUsed)
{
    if (saite == m_saiten) {
        if (lowestUsed && (m_gefordert & ~notes) == 0)
            evaluate();
        return;
    }
    if (!lowestUsed && !m_hatTiefsten[saite])
        return;
    if (std::popcount(m_gefordert & ~notes) > m_saiten - saite)
        return;
    bool soundedBefore = false;
    int innerMuted = 0;
    for (int s = 0; s < saite; ++s) {
        if (m_bunde[s] >= 0)
            soundedBefore = true;
    }
    for (int s = 1; s + 1 < saite; ++s) {
        if (m_bunde[s] < 0 && m_bunde[s + 1] >= 0) {
            bool below = false;
            for (int t = 0; t < s; ++t)
                below = below || m_bunde[t] >= 0;
            innerMuted += below ? 1 : 0;
        }
    }
    for (int c = 0; c < m_wahlAnzahl[saite]; ++c) {
        const Choice choice = m_wahl[saite][c];
        if (choice.fret >= 0 && saite > 0 && m_bunde[saite - 1] < 0 && soundedBefore) {
            // A muted string between sounding ones: only one, alone, right above a pressed string.
            if (innerMuted > 0 || saite < 2 || m_bunde[saite - 2] <= 0)
                continue;
        }
        m_bunde[saite] = choice.fret;
        descend(saite + 1, notes | choice.note, lowestUsed || choice.fret == m_tiefster);
    }
}

void GriffsucheClass::evaluate()
{
    GefundenerGriffClass griff;
    griff.SaitenAnzahl = m_saiten;
    int sounding = 0;
    int bass = -1;
    for (int s = 0; s < m_saiten; ++s) {
        griff.Bunde[s] = m_bunde[s];
        if (m_bunde[s] < 0)
            continue;
        ++sounding;
        if (bass < 0)
            bass = (m_offen[s] + m_bunde[s]) % 12;
    }
    if (sounding < m_minKlingend)
        return;
    griff.GrundtonImBass = bass == m_grundton;
    if (!assignFingers(griff))
        return;
    // The finger that damps a muted string leans from the pressed string below it; a barré cannot.
    for (int s = 1; s + 1 < m_saiten; ++s) {
        if (m_bunde[s] >= 0 || m_bunde[s - 1] <= 0 || m_bunde[s + 1] < 0)
            continue;
        const int below = s; // 1-based number of the pressed string under the muted one
        if (griff.BarreBund > 0 && below >= griff.BarreVon && below <= griff.BarreBis &&
            m_bunde[s - 1] == griff.BarreBund)
            return;
    }
    griff.Bewerten();
    buildRecord(griff);
    m_griffe.push_back(griff);
}

bool GriffsucheClass::assignFingers(GefundenerGriffClass& griff) const
{
    Pressed pressed[MaxSaiten];
    int count = 0;
    int lowest = 0;
    int perFret[GriffsucheEinstellungClass::MaxBund + 1] = {};
    for (int s = 1; s <= m_saiten; ++s) {
        const int fret = griff.Bunde[s - 1];
        if (fret <= 0)
            continue;
        pressed[count++] = Pressed{fret, s};
        lowest = lowest == 0 ? fret : std::min(lowest, fret);
        ++perFret[fret];
    }
    if (count == 0)
        return true;
    std::stable_sort(pressed, pressed + count,
                     [](const Pressed& a, const Pressed& b) { return a.fret < b.fret; });
    const bool crowded = *std::max_element(perFret, perFret + GriffsucheEinstellungClass::MaxBund + 1) >= 4;
    const bool withoutBarre = count <= 4 && !crowded;

    // The barré holds every string of the lowest fret, over pressed strings only; its finger lies on to
    // the highest string, so no string above it can ring open.
    int barreFrom = 0;
    int barreTo = 0;
    for (int s = 1; s <= m_saiten; ++s) {
        if (griff.Bunde[s - 1] == lowest) {
            barreFrom = barreFrom == 0 ? s : barreFrom;
            barreTo = s;
        }
    }
    const int barreCovered = perFret[lowest];
    bool withBarre = barreCovered >= 2 && count - barreCovered <= 3;
    for (int s = barreFrom; withBarre && s <= m_saiten; ++s)
        withBarre = s > barreTo ? griff.Bunde[s - 1] != 0 : griff.Bunde[s - 1] > 0;

    // Players take the barré when the grip needs it or would otherwise take all four fingers.
    const bool useBarre = withBarre && (!withoutBarre || count == 4);
    if (!useBarre && !withoutBarre)
        return false;

    Pressed rest[MaxSaiten];
    int restCount = 0;
    for (int i = 0; i < count; ++i) {
        const Pressed& p = pressed[i];
        if (useBarre && p.fret == lowest && p.saite >= barreFrom && p.saite <= barreTo)
            griff.Finger[p.saite - 1] = 1;
        else
            rest[restCount++] = p;
    }
    int fingers[4] = {};
    if (!chooseFingers(rest, restCount, lowest, useBarre ? 2 : 1, fingers))
        return false;
    for (int i = 0; i < restCount; ++i)
        griff.Finger[rest[i].saite - 1] = static_cast<std::int8_t>(fingers[i]);
    if (useBarre) {
        griff.BarreBund = lowest;
        griff.BarreVon = barreFrom;
        griff.BarreBis = barreTo;
    }
    return true;
}

void GriffsucheClass::buildRecord(GefundenerGriffClass& griff) const
{
    AkkordDatenClass& record = griff.Griff;
    record = AkkordDatenClass{};
    record.Grundton = static_cast<std::uint8_t>(m_grundton);
    record.AkkordTyp = m_typ;
    FingerPunktClass entries[MaxPunkte];
    int count = 0;
    auto add = [&](int fret, int saite, int finger) {
        FingerPunktClass entry;
        entry.Bund = fret;
        entry.Saite = saite;
        entry.Finger = finger;
        entries[count++] = entry;
    };
    // A barré is one entry per string under it, also where another finger presses above it.
    for (int s = griff.BarreVon; griff.BarreBund > 0 && s <= griff.BarreBis; ++s)
        add(griff.BarreBund, s, 1);
    for (int s = 1; s <= m_saiten; ++s) {
        const int fret = griff.Bunde[s - 1];
        if (fret == 0)
            record.Leer[s - 1] = 1;
        if (fret > 0 && !(griff.BarreBund == fret && s >= griff.BarreVon && s <= griff.BarreBis))
            add(fret, s, griff.Finger[s - 1]);
    }
    // The grip's own order: by fret, string and finger.
    auto key = [](const FingerPunktClass& p) { return p.Bund * 100 + p.Saite * 10 + p.Finger; };
    for (int i = 1; i < count; ++i) {
        for (int j = i; j > 0 && key(entries[j]) < key(entries[j - 1]); --j)
            std::swap(entries[j], entries[j - 1]);
    }
    std::copy(entries, entries + count, record.Punkte);
    record.PunktAnzahl = count;
}
