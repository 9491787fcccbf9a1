#include "render/DiagramComposer.h"

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
        const int ton = griff.KlingenderTon(saite);
        QString right;
        if (options.rechteAnzeige == 1)
            right = fromModel(griff.TonName(ton, true));
        else if (options.rechteAnzeige == 2 && akkord.AkkordTyp != -1)
            right =
                QString::fromStdString(m_katalog.IntervallImAkkord(akkord.Grundton, akkord.AkkordTyp, ton));
        else if (options.rechteAnzeige == 2)
            right = QString::fromStdString(IntervallName(options.intervallGrundton, ton));
        board.SetTextRechts(row, right);
    }
}
