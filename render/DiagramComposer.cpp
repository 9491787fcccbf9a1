#include "render/DiagramComposer.h"

#include <algorithm>
#include <string>

#include "erkennung/Erkennung.h"
#include "render/Griffbrett.h"
#include "theory/Intervalle.h"
#include "theory/Zeichensatz.h"

namespace {

QString fromModel(std::string_view cp1252)
{
    return QString::fromStdString(cp1252ToUtf8(cp1252));
}

// The barré symbol kind from the strings it spans: 1..4, and 5 for every wider span.
int barreKind(const BarreClass& barre)
{
    const int span = barre.HoechsteSaite - barre.TiefsteSaite;
    return span >= 1 && span <= 4 ? span : 5;
}

} // namespace

QString DiagramComposer::chordName(int grundton, int akkordTyp, int bass) const
{
    return fromModel(m_katalog.AkkordName(grundton, akkordTyp, bass));
}

void DiagramComposer::compose(GriffbrettClass& board, const AkkordClass& griff, const TrefferClass& akkord,
                              const DiagramOptions& options) const
{
    board.SetTitel(akkord.AkkordTyp != -1 && options.akkordname
                       ? chordName(akkord.Grundton, akkord.AkkordTyp, akkord.Basston)
                       : QString());
    board.SymboleLoeschen();
    for (int i = 0; i < griff.PunktAnzahl(); ++i) {
        const FingerPunktClass p = griff.Punkt(i);
        board.AddSymbol(0, options.fingerzahlen ? p.Finger : 0, p.Saite, p.Bund);
    }
    // Barré bars carry their finger digit even without finger numbers.
    const int barres = griff.Barre(0);
    for (int n = 1; n <= barres; ++n) {
        BarreClass barre;
        griff.Barre(n, &barre);
        board.AddSymbol(barreKind(barre), barre.Finger, barre.HoechsteSaite, barre.Bund);
    }

    const int strings = griff.SaitenAnzahl();
    for (int row = 0; row < strings; ++row) {
        const int saite = strings - row;
        const int status = griff.SaitenStatus(saite);
        board.SetTextLinks(row, status == SaiteLeer    ? QStringLiteral("0")
                                : status == SaiteStumm ? QStringLiteral("X")
                                                       : QString());
        board.SetTextRechts(row, annotation(griff, akkord, options, saite));
    }
}

QString DiagramComposer::annotation(const AkkordClass& griff, const TrefferClass& akkord,
                                    const DiagramOptions& options, int saite) const
{
    const int ton = griff.KlingenderTon(saite);
    if (options.rechteAnzeige == 1)
        return fromModel(griff.TonName(ton, true));
    if (options.rechteAnzeige == 2 && akkord.AkkordTyp != -1)
        return QString::fromStdString(m_katalog.IntervallImAkkord(akkord.Grundton, akkord.AkkordTyp, ton));
    if (options.rechteAnzeige == 2)
        return QString::fromStdString(IntervallName(options.intervallGrundton, ton));
    return QString();
}

ChordBox DiagramComposer::chordBox(const AkkordClass& griff, const TrefferClass& akkord,
                                   const DiagramOptions& options, const DiagramView& view) const
{
    ChordBox box;
    box.titel = akkord.AkkordTyp != -1 && options.akkordname
                    ? chordName(akkord.Grundton, akkord.AkkordTyp, akkord.Basston)
                    : QString();
    box.saiten = std::clamp(griff.SaitenAnzahl(), 1, MaxSaiten);
    box.startbund = std::clamp(view.startbund, 1, MaxBund);
    box.bundanzahl = std::clamp(view.bundanzahl, 1, MaxBund);
    box.linkshaender = view.linkshaender;
    for (int saite = 1; saite <= box.saiten; ++saite) {
        const int status = griff.SaitenStatus(saite);
        box.status[static_cast<std::size_t>(saite - 1)] = status == SaiteLeer    ? ChordBox::Saite::Leer
                                                          : status == SaiteStumm ? ChordBox::Saite::Stumm
                                                                                 : ChordBox::Saite::Gegriffen;
        box.unten[static_cast<std::size_t>(saite - 1)] = annotation(griff, akkord, options, saite);
    }
    // As on the board, a barré keeps its digit even without finger numbers.
    const int barres = griff.Barre(0);
    for (int n = 1; n <= barres; ++n) {
        BarreClass barre;
        griff.Barre(n, &barre);
        box.barres.push_back({barre.TiefsteSaite, barre.HoechsteSaite, barre.Bund, barre.Finger});
    }
    for (int i = 0; i < griff.PunktAnzahl(); ++i) {
        const FingerPunktClass p = griff.Punkt(i);
        const bool covered =
            std::any_of(box.barres.begin(), box.barres.end(), [&p](const ChordBox::Barre& b) {
                return b.bund == p.Bund && p.Saite >= b.tiefsteSaite && p.Saite <= b.hoechsteSaite;
            });
        if (!covered)
            box.punkte.push_back({p.Saite, p.Bund, options.fingerzahlen ? p.Finger : 0});
    }
    return box;
}

DiagramView DiagramComposer::frameFor(const AkkordDatenClass& griff)
{
    const int count = std::clamp(static_cast<int>(griff.PunktAnzahl), 0, MaxPunkte);
    int lowest = MaxBund;
    int highest = 0;
    for (int i = 0; i < count; ++i) {
        const int bund = std::clamp(static_cast<int>(griff.Punkte[i].Bund), 1, MaxBund);
        lowest = std::min(lowest, bund);
        highest = std::max(highest, bund);
    }
    DiagramView view;
    if (highest == 0)
        return view;
    constexpr int leastFrets = 4;
    if (highest <= leastFrets) {
        view.startbund = 1;
        view.bundanzahl = leastFrets;
    } else {
        view.startbund = lowest;
        view.bundanzahl = std::max(leastFrets, highest - lowest + 1);
    }
    return view;
}
