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

// Every way four fingers can hold the pressed strings, searched note by note in the order of the fret.
class FingerSearch
{
public:
    explicit FingerSearch(GefundenerGriffClass& griff) : m_griff(griff) {}

    bool run()
    {
        for (int s = 1; s <= m_griff.SaitenAnzahl; ++s) {
            const int fret = m_griff.Bunde[s - 1];
            if (fret <= 0)
                continue;
            m_notes[m_count++] = Note{fret, s};
            m_lowest = m_lowest == 0 ? fret : std::min(m_lowest, fret);
        }
        std::stable_sort(m_notes, m_notes + m_count,
                         [](const Note& a, const Note& b) { return a.fret < b.fret; });
        descend(0);
        if (m_bestCost < 0)
            return false;
        for (int s = 0; s < MaxSaiten; ++s)
            m_griff.Finger[s] = 0;
        for (int i = 0; i < m_count; ++i)
            m_griff.Finger[m_notes[i].saite - 1] = static_cast<std::int8_t>(m_best[i]);
        m_griff.BarreBund = m_bestBarre.fret;
        m_griff.BarreVon = m_bestBarre.from;
        m_griff.BarreBis = m_bestBarre.to;
        m_griff.BarreFinger = m_bestBarre.finger;
        return true;
    }

private:
    struct Note
    {
        int fret;
        int saite; // 1-based
    };
    struct Barre
    {
        int finger = 0;
        int fret = 0;
        int from = 0;
        int to = 0;
    };

    int fret(int saite) const { return m_griff.Bunde[saite - 1]; }

    void descend(int i)
    {
        if (i == m_count) {
            judge();
            return;
        }
        const Note& note = m_notes[i];
        for (int k = 1; k <= 4; ++k) {
            if (m_fingerFret[k] != 0 && m_fingerFret[k] != note.fret)
                continue;
            // Fingers ascend with the fret and stretch at most one fret beyond one fret per finger.
            bool fits = true;
            for (int a = 1; a <= 4 && fits; ++a) {
                if (m_fingerFret[a] == 0 || m_fingerFret[a] >= note.fret)
                    continue;
                fits = a < k && note.fret - m_fingerFret[a] <= k - a + 1;
            }
            if (!fits)
                continue;
            const bool fresh = m_fingerFret[k] == 0;
            m_fingerFret[k] = note.fret;
            m_assigned[i] = k;
            descend(i + 1);
            if (fresh)
                m_fingerFret[k] = 0;
        }
    }

    bool barreHolds(const Barre& barre) const
    {
        const int strings = m_griff.SaitenAnzahl;
        int topSounding = 0;
        for (int s = 1; s <= strings; ++s)
            topSounding = fret(s) >= 0 ? s : topSounding;
        for (int s = barre.from; s <= strings; ++s) {
            const int f = fret(s);
            if (f > barre.fret)
                continue;
            if (f == barre.fret && s <= barre.to && fingerOn(s) == barre.finger)
                continue;
            if (f < 0) {
                // Only the first finger's barré lies over a muted string inside it; any muted string the
                // barré lies over is damped by a single finger on the string below it.
                const bool inside = s <= barre.to;
                const bool damped = s > 1 && fret(s - 1) > barre.fret;
                if (s > topSounding)
                    continue;
                if (damped && (!inside || barre.finger == 1))
                    continue;
            }
            return false;
        }
        for (int i = 0; i < m_count; ++i) {
            const Note& n = m_notes[i];
            if (n.saite < barre.from && n.fret == barre.fret && m_assigned[i] > barre.finger)
                return false;
        }
        return true;
    }

    int fingerOn(int saite) const
    {
        for (int i = 0; i < m_count; ++i) {
            if (m_notes[i].saite == saite)
                return m_assigned[i];
        }
        return 0;
    }

    void judge()
    {
        int notesOf[5] = {};
        int fingers = 0;
        Barre barre;
        for (int i = 0; i < m_count; ++i)
            ++notesOf[m_assigned[i]];
        for (int k = 1; k <= 4; ++k) {
            if (notesOf[k] == 0)
                continue;
            ++fingers;
            if (notesOf[k] < 2)
                continue;
            if (barre.finger != 0)
                return; // one barré per hand
            barre.finger = k;
            barre.fret = m_fingerFret[k];
        }
        // A finger reaching back across the string right above it stretches no fret beyond one per finger.
        for (int i = 0; i < m_count; ++i) {
            if (m_assigned[i] == barre.finger)
                continue; // the barré lies under the reaching finger
            for (int j = 0; j < m_count; ++j) {
                if (m_assigned[j] > m_assigned[i] && m_notes[j].saite + 1 == m_notes[i].saite &&
                    m_notes[j].fret - m_notes[i].fret > m_assigned[j] - m_assigned[i])
                    return;
            }
        }
        // Four single fingers do not fit on one fret.
        for (int k = 1; k <= 4; ++k) {
            int sameFret = 0;
            for (int j = 1; j <= 4; ++j)
                sameFret += notesOf[j] > 0 && m_fingerFret[j] == m_fingerFret[k] ? 1 : 0;
            if (notesOf[k] > 0 && sameFret > 3)
                return;
        }
        if (barre.finger != 0) {
            barre.from = MaxSaiten + 1;
            for (int i = 0; i < m_count; ++i) {
                if (m_assigned[i] != barre.finger)
                    continue;
                barre.from = std::min(barre.from, m_notes[i].saite);
                barre.to = std::max(barre.to, m_notes[i].saite);
            }
            if (!barreHolds(barre))
                return;
        }

        // Fewest fingers; a barré only where it spares a finger or the fourth one; each finger near
        // its natural fret; at one fret single fingers ascending with the string.
        int cost = fingers * 10 + (fingers == 4 ? 10 : 0);
        if (barre.finger == 1)
            cost += 15;
        else if (barre.finger != 0)
            cost += barre.finger == 3 ? 22 : 26;
        for (int i = 0; i < m_count; ++i) {
            const int natural = std::clamp(m_notes[i].fret - m_lowest + 1, 1, 4);
            cost += std::abs(m_assigned[i] - natural);
            for (int j = i + 1; j < m_count; ++j) {
                if (m_notes[j].fret == m_notes[i].fret && m_assigned[j] != m_assigned[i] &&
                    (m_assigned[j] < m_assigned[i]) != (m_notes[j].saite < m_notes[i].saite))
                    ++cost;
            }
        }
        // On a tie the wider hand (power chords take 1-3-4).
        if (m_bestCost >= 0 &&
            (cost > m_bestCost ||
             (cost == m_bestCost &&
              !std::lexicographical_compare(m_best, m_best + m_count, m_assigned, m_assigned + m_count))))
            return;
        m_bestCost = cost;
        std::copy(m_assigned, m_assigned + m_count, m_best);
        m_bestBarre = barre;
    }

    GefundenerGriffClass& m_griff;
    Note m_notes[MaxSaiten] = {};
    int m_count = 0;
    int m_lowest = 0;
    int m_assigned[MaxSaiten] = {};
    int m_fingerFret[5] = {}; // per finger its fret, 0 while unused
    int m_bestCost = -1;
    int m_best[MaxSaiten] = {};
    Barre m_bestBarre;
};

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
    m_kraftakkord = (m_erlaubt | noteBit(grundton + 7)) == (noteBit(grundton) | noteBit(grundton + 7)) &&
                    (m_gefordert & noteBit(grundton + 7)) != 0;
    if (m_kraftakkord)
        m_minKlingend = std::min(m_saiten, 2);
    m_namen = katalog;
    m_namen.SetzeStartSaite(StartSaiteBasston);
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
    if (Fertig()) {
        thinnedMark();
        std::stable_sort(m_griffe.begin(), m_griffe.end(), better);
    }
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
    for (int s = 0; s < m_saiten; ++s) {
        griff.Bunde[s] = m_bunde[s];
        sounding += m_bunde[s] >= 0 ? 1 : 0;
    }
    if (sounding < m_minKlingend || !FingerSetzen(griff))
        return;
    buildRecord(griff);
    if (!namedAsChord(griff))
        return;
    // The bass is the lowest pitch, which on a re-entrant tuning need not be the first string.
    griff.GrundtonImBass = m_namen.BassTon(griff.Griff) == m_grundton;
    griff.Kraftakkord = m_kraftakkord;
    griff.Bewerten();
    m_griffe.push_back(griff);
}

bool GriffsucheClass::namedAsChord(const GefundenerGriffClass& griff)
{
    // As a user would build it: no chord of its own to prefer, named from the lowest note.
    AkkordDatenClass& shown = m_namen.Daten();
    shown = griff.Griff;
    shown.Grundton = KeinTon;
    shown.AkkordTyp = -1;
    TrefferClass result;
    m_namen.Erkennen(&result);
    return result.Grundton == m_grundton && result.AkkordTyp == m_typ;
}

namespace {

std::uint32_t fretKey(const std::int8_t* frets, int strings)
{
    std::uint32_t key = 0;
    for (int s = 0; s < strings; ++s)
        key = key * 32 + static_cast<std::uint32_t>(frets[s] + 1);
    return key;
}

} // namespace

// A grip that sounds a full grip's frets on fewer strings is its thinned variant, offered after it.
void GriffsucheClass::thinnedMark()
{
    if (m_kraftakkord)
        return;
    std::vector<std::pair<std::uint32_t, int>> keys;
    keys.reserve(m_griffe.size());
    for (int i = 0; i < Anzahl(); ++i)
        keys.emplace_back(fretKey(m_griffe[static_cast<std::size_t>(i)].Bunde, m_saiten), i);
    std::sort(keys.begin(), keys.end());
    std::vector<int> before;
    before.reserve(m_griffe.size());
    for (const GefundenerGriffClass& griff : m_griffe)
        before.push_back(griff.Bewertung);
    for (std::size_t i = 0; i < m_griffe.size(); ++i) {
        const GefundenerGriffClass& full = m_griffe[i];
        if (!full.GrundtonImBass || full.InnenGedaempft > 0)
            continue;
        int sounding[MaxSaiten];
        int count = 0;
        for (int s = 0; s < m_saiten; ++s) {
            if (full.Bunde[s] >= 0)
                sounding[count++] = s;
        }
        for (unsigned mask = 1; mask + 1 < (1u << count); ++mask) {
            // The same shape: below the thinned grip's bass the full one adds open strings only.
            std::int8_t frets[MaxSaiten];
            std::copy(full.Bunde, full.Bunde + m_saiten, frets);
            bool below = true;
            bool sameShape = true;
            for (int b = 0; b < count; ++b) {
                const bool muted = (mask & (1u << b)) != 0;
                if (muted) {
                    sameShape = sameShape && (!below || full.Bunde[sounding[b]] == 0);
                    frets[sounding[b]] = -1;
                }
                below = below && muted;
            }
            if (!sameShape)
                continue;
            const std::uint32_t key = fretKey(frets, m_saiten);
            const auto it = std::lower_bound(keys.begin(), keys.end(), std::make_pair(key, 0));
            if (it == keys.end() || it->first != key)
                continue;
            GefundenerGriffClass& thin = m_griffe[static_cast<std::size_t>(it->second)];
            if (!thin.Ausgeduennt && before[i] < before[static_cast<std::size_t>(it->second)]) {
                thin.Ausgeduennt = true;
                thin.Bewerten();
            }
        }
    }
}

bool FingerSetzen(GefundenerGriffClass& griff)
{
    griff.BarreBund = griff.BarreVon = griff.BarreBis = griff.BarreFinger = 0;
    return FingerSearch(griff).run();
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
    // A string the barré leaves muted gets no entry, which would sound it.
    for (int s = griff.BarreVon; griff.BarreBund > 0 && s <= griff.BarreBis; ++s) {
        if (griff.Bunde[s - 1] > 0)
            add(griff.BarreBund, s, griff.BarreFinger);
    }
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
