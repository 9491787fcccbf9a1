#include "export/ExportCommand.h"

#include <memory>
#include <ostream>

#include <QFileInfo>
#include <QSize>
#include <QString>

#include "export/ChordNameParser.h"
#include "export/ExportArguments.h"
#include "griffsuche/Griffsuche.h"
#include "render/DiagramExport.h"
#include "table/AkkordDepot.h"

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
