#include "chordpro/Liedblatt.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "chordpro/ChordProExport.h"
#include "chordpro/ChordProGrip.h"
#include "chordpro/ChordProWriter.h"
#include "griffsuche/Griffsuche.h"
#include "table/AkkordDepot.h"

namespace {

// A fret of movement weighs as much as this many of the finder's points.
constexpr int PunkteJeBundBewegung = 3;

int wrap(int ton)
{
    return ((ton % 12) + 12) % 12;
}

// Moves every pressed entry by shift frets; false when the grip has open strings or leaves the neck.
bool moveGrip(AkkordDatenClass& griff, int saiten, int shift)
{
    for (int s = 0; s < saiten; ++s) {
        if (griff.Leer[s])
            return false;
    }
    for (int i = 0; i < griff.PunktAnzahl; ++i) {
        const int fret = griff.Punkte[i].Bund + shift;
        if (fret < 1 || fret > MaxBund)
            return false;
    }
    for (int i = 0; i < griff.PunktAnzahl; ++i)
        griff.Punkte[i].Bund += shift;
    return true;
}

} // namespace

Liedblatt::Liedblatt() = default;
Liedblatt::~Liedblatt() = default;

int Liedblatt::lage(const AkkordDatenClass& griff)
{
    return TiefsterBundVon(griff);
}

int Liedblatt::bewegung() const
{
    int sum = 0;
    for (std::size_t i = 1; i < m_akkorde.size(); ++i)
        sum += std::abs(lage(m_akkorde[i].griff) - lage(m_akkorde[i - 1].griff));
    return sum;
}

int Liedblatt::bewerten(const AkkordDepotClass& tabelle, const AkkordDatenClass& griff, int grundton)
{
    GefundenerGriffClass bewertet;
    bewertet.Griff = griff;
    bewertet.SaitenAnzahl = tabelle.SaitenAnzahl();
    int frets[MaxSaiten] = {};
    int fingers[MaxSaiten] = {};
    ChordProGrip::soundingFrets(griff, bewertet.SaitenAnzahl, frets, fingers);
    for (int s = 0; s < bewertet.SaitenAnzahl; ++s) {
        bewertet.Bunde[s] = static_cast<std::int8_t>(frets[s]);
        bewertet.Finger[s] = static_cast<std::int8_t>(fingers[s]);
    }
    AkkordClass akkord;
    static_cast<StimmClass&>(akkord) = tabelle;
    akkord.Daten() = griff;
    BarreClass barre;
    if (akkord.Barre(1, &barre) > 0) {
        bewertet.BarreBund = barre.Bund;
        bewertet.BarreVon = barre.TiefsteSaite;
        bewertet.BarreBis = barre.HoechsteSaite;
    }
    bewertet.GrundtonImBass = tabelle.BassTon(griff) == grundton;
    bewertet.Bewerten();
    return bewertet.Bewertung;
}

GriffsucheClass& Liedblatt::finder(const AkkordDepotClass& tabelle, int grundton, int typ)
{
    std::unique_ptr<GriffsucheClass>& suche = m_suchen[grundton * 64 + typ];
    if (!suche) {
        suche = std::make_unique<GriffsucheClass>();
        suche->Suchen(tabelle, grundton, typ, GriffsucheEinstellungClass());
    }
    return *suche;
}

std::vector<Liedblatt::Kandidat> Liedblatt::gespeicherteUndGefundene(const AkkordDepotClass& tabelle,
                                                                     const LiedAkkord& akkord, int bass,
                                                                     const LiedblattEinstellung& e)
{
    const auto passt = [&](const AkkordDatenClass& griff) { return bass < 0 || tabelle.BassTon(griff) == bass; };
    std::vector<Kandidat> liste;
    int indizes[64];
    const int stored = tabelle.GriffeAuflisten(akkord.grundton, akkord.typ, indizes, 64);
    for (int i = 0; i < stored; ++i) {
        const AkkordDatenClass& griff = tabelle.Element(indizes[i]);
        if (passt(griff))
            liste.push_back({griff, GriffQuelle::Tabelle, bewerten(tabelle, griff, akkord.grundton)});
    }
    if (e.wahl == Griffwahl::ErsterGespeicherter && !liste.empty())
        liste.resize(1);
    if (e.wahl != Griffwahl::GanzesLied && !liste.empty())
        return liste;
    // The finder's best grips with the bass asked for, as many as the sheet takes.
    const GriffsucheClass& suche = finder(tabelle, akkord.grundton, akkord.typ);
    const int wanted = e.wahl == Griffwahl::GanzesLied ? std::max(1, e.kandidaten) : 1;
    std::vector<int> gefunden;
    for (int i = 0; i < suche.Anzahl() && static_cast<int>(gefunden.size()) < wanted; ++i) {
        if (passt(suche.Griff(i).Griff))
            gefunden.push_back(i);
    }
    if (gefunden.empty())
        return liste;
    if (e.wahl == Griffwahl::GanzesLied) {
        // None harder than the finder's last candidate.
        const int limit = suche.Griff(gefunden.back()).Bewertung;
        liste.erase(std::remove_if(liste.begin(), liste.end(),
                                   [limit](const Kandidat& k) { return k.bewertung > limit; }),
                    liste.end());
    }
    for (const int i : gefunden) {
        AkkordDatenClass griff = suche.Griff(i).Griff;
        griff.Nummer = 0;
        liste.push_back({griff, GriffQuelle::Griffsuche, suche.Griff(i).Bewertung});
    }
    return liste;
}

bool Liedblatt::erstellen(const AkkordDepotClass& tabelle, const ChordProInhalt& lied, const LiedblattEinstellung& e)
{
    m_titel = lied.title;
    m_akkorde.clear();
    m_unlesbar.clear();
    m_kapo = e.kapo;
    m_tonnamen = e.tonnamen;
    const ChordNames names(tabelle);
    const int saiten = tabelle.SaitenAnzahl();
    std::vector<std::vector<Kandidat>> kandidaten;
    for (const std::string& name : lied.chords) {
        GelesenerAkkord gelesen;
        if (!names.parse(name, gelesen)) {
            m_unlesbar.push_back(name);
            continue;
        }
        LiedAkkord akkord;
        akkord.name = e.transponieren == 0 ? name : names.transpose(name, e.transponieren, e.tonnamen);
        akkord.grundton = wrap(gelesen.grundton + e.transponieren - e.kapo);
        akkord.typ = gelesen.typ;
        std::vector<Kandidat> liste;
        // The song's own grip for the name, moved along with the chord when the sheet shifts it.
        for (const ChordProDefinition& definition : lied.definitions) {
            AkkordDatenClass griff;
            if (definition.name != name || ChordProGrip::grip(definition, tabelle, griff) != GriffUmwandlung::Ok)
                continue;
            // The shorter way along the neck first.
            int shift = wrap(e.transponieren - e.kapo);
            int other = shift - 12;
            if (shift > 6)
                std::swap(shift, other);
            if (shift != 0 && !moveGrip(griff, saiten, shift) && !moveGrip(griff, saiten, other))
                continue;
            griff.Grundton = static_cast<std::uint8_t>(akkord.grundton);
            griff.AkkordTyp = akkord.typ;
            liste.push_back({griff, GriffQuelle::Lied, bewerten(tabelle, griff, akkord.grundton)});
            break;
        }
        if (liste.empty())
            liste = gespeicherteUndGefundene(tabelle, akkord,
                                             gelesen.bass == 12 ? -1 : wrap(gelesen.bass + e.transponieren - e.kapo), e);
        // A slash bass no grip plays: the chord without it rather than no box at all.
        if (liste.empty() && gelesen.bass != 12)
            liste = gespeicherteUndGefundene(tabelle, akkord, -1, e);
        if (liste.empty()) {
            m_unlesbar.push_back(name);
            continue;
        }
        m_akkorde.push_back(akkord);
        kandidaten.push_back(std::move(liste));
    }
    if (m_akkorde.empty())
        return false;

    // Least total of movement and difficulty over the song, neighbour by neighbour.
    const std::size_t n = m_akkorde.size();
    std::vector<std::vector<int>> cost(n), from(n);
    for (std::size_t i = 0; i < n; ++i) {
        cost[i].assign(kandidaten[i].size(), INT_MAX);
        from[i].assign(kandidaten[i].size(), 0);
        for (std::size_t c = 0; c < kandidaten[i].size(); ++c) {
            const Kandidat& k = kandidaten[i][c];
            if (i == 0) {
                cost[i][c] = k.bewertung;
                continue;
            }
            for (std::size_t p = 0; p < kandidaten[i - 1].size(); ++p) {
                const int move = std::abs(lage(k.griff) - lage(kandidaten[i - 1][p].griff));
                const int total = cost[i - 1][p] + PunkteJeBundBewegung * move + k.bewertung;
                if (total < cost[i][c]) {
                    cost[i][c] = total;
                    from[i][c] = static_cast<int>(p);
                }
            }
        }
    }
    int best = static_cast<int>(std::min_element(cost[n - 1].begin(), cost[n - 1].end()) - cost[n - 1].begin());
    for (std::size_t i = n; i-- > 0;) {
        const Kandidat& k = kandidaten[i][static_cast<std::size_t>(best)];
        m_akkorde[i].griff = k.griff;
        m_akkorde[i].quelle = k.quelle;
        m_akkorde[i].bewertung = k.bewertung;
        best = from[i][static_cast<std::size_t>(best)];
    }
    return true;
}

std::string Liedblatt::defineBlock(const AkkordDepotClass& tabelle, bool fingers) const
{
    std::string text;
    if (!m_titel.empty())
        text += "# " + m_titel + "\n";
    if (m_kapo > 0)
        text += "# Kapodaster im " + std::to_string(m_kapo) + ". Bund; die Griffe gelten mit Kapodaster\n";
    for (const LiedAkkord& akkord : m_akkorde) {
        ChordProDefinition definition = ChordProGrip::definition(akkord.griff, tabelle.SaitenAnzahl());
        definition.name = akkord.name;
        text += ChordProWriter::defineLine(definition, fingers) + "\n";
    }
    for (const std::string& name : m_unlesbar)
        text += "# nicht lesbar: " + name + "\n";
    return text;
}
