#include "export/ExportCommand.h"

#include <cstring>
#include <memory>
#include <ostream>

#include <QFileInfo>
#include <QSize>
#include <QString>

#include "export/ChordNameParser.h"
#include "export/ChordProCommand.h"
#include "export/ExportArguments.h"
#include "griffsuche/Griffsuche.h"
#include "klang/Griffklang.h"
#include "klang/WavDatei.h"
#include "render/DiagramExport.h"
#include "table/AkkordDepot.h"
#include "table/DateiArt.h"

namespace {

int fail(std::ostream& err, int code, const std::string& message)
{
    err << "zupfwerk-export: " << message << '\n';
    return code;
}

std::string inQuotes(const std::string& text)
{
    return "\"" + text + "\"";
}

// Reads the table; 0 or the exit code after the message.
int load(AkkordDepotClass& tabelle, const std::string& pfad, std::ostream& err)
{
    // A pipe or a device would block or never end: refused before anything opens it.
    const DateiArt art = dateiArt(pfad);
    if (art != DateiArt::Datei && art != DateiArt::Fehlt)
        return fail(err, ExportTabelleFehlerhaft,
                    "Grifftabelle " + inQuotes(pfad) + " ist " + dateiArtName(art) + ", keine Datei");
    const QFileInfo info(QString::fromStdString(pfad));
    if (!info.exists())
        return fail(err, ExportTabelleFehlerhaft, "Grifftabelle " + inQuotes(pfad) + " nicht gefunden");
    if (info.isDir() || !info.isReadable())
        return fail(err, ExportTabelleFehlerhaft, "Grifftabelle " + inQuotes(pfad) + " nicht lesbar");
    char kopf[5] = {};
    AkkordDepotClass::KopfLesen(pfad, kopf);
    if (std::string(kopf, 4) == "ZW01")
        return fail(err, ExportTabelleFehlerhaft,
                    inQuotes(pfad) +
                        " ist eine Grifftabelle im alten Format 01: einmal in Zupfwerk öffnen und "
                        "speichern");
    switch (tabelle.Laden(pfad)) {
    case LadenOk:
        return 0;
    case LadenNichtLesbar:
        return fail(err, ExportTabelleFehlerhaft, "Grifftabelle " + inQuotes(pfad) + " nicht lesbar");
    case LadenFalscheKennung:
        return fail(err, ExportTabelleFehlerhaft, inQuotes(pfad) + " ist keine Grifftabelle von Zupfwerk");
    default:
        return fail(err, ExportTabelleFehlerhaft, "Grifftabelle " + inQuotes(pfad) + " ist beschädigt");
    }
}

bool sameFile(const std::string& a, const std::string& b)
{
    const QFileInfo first(QString::fromStdString(a));
    const QFileInfo second(QString::fromStdString(b));
    return first.exists() && second.exists() && first.canonicalFilePath() == second.canonicalFilePath();
}

// Every playable grip of the chord, best first, one a line, as the finder's window lists them.
int findGrips(const AkkordDepotClass& tabelle, const ChordNameParser& names, const ExportAuftrag& auftrag,
              std::ostream& out, std::ostream& err)
{
    int grundton = -1;
    int typ = -1;
    if (!names.parse(auftrag.finden, grundton, typ))
        return fail(err, ExportAkkordUnbekannt,
                    "Akkord " + inQuotes(auftrag.finden) +
                        " unbekannt; Akkordtypen der Tabelle: " + names.typeList());
    GriffsucheEinstellungClass einstellung;
    if (auftrag.spannweite != 0)
        einstellung.Spannweite = auftrag.spannweite;
    if (auftrag.buende != 0)
        einstellung.HoechsterBund = auftrag.buende;
    GriffsucheClass suche;
    if (suche.Suchen(tabelle, grundton, typ, einstellung) == 0)
        return fail(err, ExportKeineGriffe,
                    "keine spielbaren Griffe für den Akkord " + inQuotes(auftrag.finden));
    for (int i = 0; i < suche.Anzahl(); ++i)
        out << suche.Griff(i).Zeile() << '\n';
    return ExportOk;
}

// The sound of the chord's first stored grip, strummed or picked, as a WAV file.
int writeSound(const DiagramExport& exporter, int griffIndex, const ExportAuftrag& auftrag, std::ostream& out,
               std::ostream& err)
{
    AkkordClass griff;
    TrefferClass akkord;
    exporter.storedGrip(griffIndex, griff, akkord);
    GriffklangClass klang;
    const int count = auftrag.zerlegt ? klang.Zerlegen(griff) : klang.Anschlagen(griff);
    if (count == 0)
        return fail(err, ExportKeineGriffe,
                    "der Griff von " + inQuotes(auftrag.akkord) + " klingt nicht: alle Saiten gedämpft");
    int fehler = 0;
    const WavErgebnis result =
        WavDateiClass::Speichern(auftrag.ausgabe, klang.Samples(), static_cast<std::size_t>(count),
                                 GriffklangClass::Abtastrate, &fehler);
    if (result != WavGespeichert)
        return fail(err, ExportNichtSchreibbar,
                    inQuotes(auftrag.ausgabe) + " kann nicht geschrieben werden: " +
                        (fehler != 0 ? std::string(std::strerror(fehler)) : std::string("zu lang")));
    out << auftrag.ausgabe << ": " << auftrag.akkord << (auftrag.zerlegt ? ", zerlegt, " : ", angeschlagen, ")
        << static_cast<double>(count) / GriffklangClass::Abtastrate << " s\n";
    return ExportOk;
}

} // namespace

int ExportCommand::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const ExportArguments arguments;
    ExportAuftrag auftrag;
    std::string fehler;
    if (!arguments.parse(args, auftrag, fehler)) {
        err << "zupfwerk-export: " << fehler << "\n"
            << "Hilfe: zupfwerk-export --help\n";
        return ExportAufrufFalsch;
    }
    if (auftrag.hilfe) {
        out << arguments.usage();
        return ExportOk;
    }
    if (sameFile(auftrag.tabelle, auftrag.ausgabe))
        return fail(err, ExportAufrufFalsch,
                    "die Ausgabe " + inQuotes(auftrag.ausgabe) + " ist die Grifftabelle");

    const auto tabelle = std::make_unique<AkkordDepotClass>();
    if (const int code = load(*tabelle, auftrag.tabelle, err))
        return code;

    const ChordNameParser names(*tabelle);
    if (auftrag.chordpro || !auftrag.importieren.empty() || !auftrag.lied.empty())
        return ChordProCommand::run(*tabelle, names, auftrag, out, err);
    if (!auftrag.finden.empty())
        return findGrips(*tabelle, names, auftrag, out, err);
    const DiagramExport exporter(*tabelle);
    std::vector<int> griffe;
    std::string was;
    int grundton = -1;
    int typ = -1;
    if (!auftrag.akkord.empty()) {
        if (!names.parse(auftrag.akkord, grundton, typ))
            return fail(err, ExportAkkordUnbekannt,
                        "Akkord " + inQuotes(auftrag.akkord) +
                            " unbekannt; Akkordtypen der Tabelle: " + names.typeList());
        griffe = exporter.select(grundton, typ);
        was = "den Akkord " + inQuotes(auftrag.akkord);
    } else if (!auftrag.grundton.empty()) {
        grundton = names.root(auftrag.grundton);
        if (grundton < 0)
            return fail(err, ExportAkkordUnbekannt, "Grundton " + inQuotes(auftrag.grundton) + " unbekannt");
        griffe = exporter.select(grundton, -1);
        was = "den Grundton " + inQuotes(auftrag.grundton);
    } else {
        griffe = exporter.select(-1, -1);
        was = "die Grifftabelle";
    }
    if (griffe.empty())
        return fail(err, ExportKeineGriffe, "keine gespeicherten Griffe für " + was);

    if (auftrag.format == "wav")
        return writeSound(exporter, griffe.front(), auftrag, out, err);

    const QString path = QString::fromStdString(auftrag.ausgabe);
    QString reason;
    const DiagramStil stil = auftrag.griffbrett ? DiagramStil::Griffbrett : DiagramStil::Kasten;
    if (auftrag.format == "pdf") {
        ChordSheet::Layout layout;
        layout.spalten = auftrag.spalten;
        layout.stil = stil;
        const QString inhalt = exporter.contentText(grundton, typ, static_cast<int>(griffe.size()));
        if (!exporter.writeSheet(path, griffe, layout, inhalt, nullptr, &reason))
            return fail(err, ExportNichtSchreibbar, reason.toStdString());
        const int pages = exporter.sheet(layout, inhalt).pageCount(static_cast<int>(griffe.size()));
        out << auftrag.ausgabe << ": " << griffe.size()
            << (griffe.size() == 1 ? " Diagramm auf " : " Diagramme auf ") << pages
            << (pages == 1 ? " Seite\n" : " Seiten\n");
        return ExportOk;
    }
    AkkordClass griff;
    TrefferClass akkord;
    exporter.storedGrip(griffe.front(), griff, akkord);
    DiagramView view = DiagramExport::frameFor(griff);
    view.stil = stil;
    if (!exporter.writeImage(path, auftrag.format == "svg", griff, akkord, DiagramOptions(), view,
                             QSize(auftrag.breite, auftrag.hoehe), &reason))
        return fail(err, ExportNichtSchreibbar, reason.toStdString());
    out << auftrag.ausgabe << ": " << auftrag.akkord << ", " << auftrag.breite << "x" << auftrag.hoehe
        << '\n';
    return ExportOk;
}
