#include "export/ChordProCommand.h"

#include <memory>
#include <ostream>

#include <QFile>
#include <QSaveFile>

#include "chordpro/ChordProExport.h"
#include "chordpro/ChordProImport.h"
#include "chordpro/ChordProReader.h"
#include "chordpro/Liedblatt.h"
#include "export/ChordNameParser.h"
#include "export/ExportArguments.h"
#include "export/ExportCommand.h"
#include "export/LiedblattPdf.h"
#include "render/DiagramExport.h"
#include "table/AkkordDepot.h"

namespace {

int fail(std::ostream& err, int code, const std::string& message)
{
    err << "zupfwerk-export: " << message << '\n';
    return code;
}

bool readText(const std::string& pfad, std::string& text, std::string& fehler)
{
    QFile file(QString::fromStdString(pfad));
    if (!file.open(QIODevice::ReadOnly)) {
        fehler = "\"" + pfad + "\" nicht lesbar";
        return false;
    }
    const QByteArray bytes = file.readAll();
    text.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return true;
}

bool writeText(const std::string& pfad, const std::string& text, std::string& fehler)
{
    QSaveFile file(QString::fromStdString(pfad));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) ||
        !file.commit()) {
        fehler = "\"" + pfad + "\" nicht schreibbar: " + file.errorString().toStdString();
        return false;
    }
    return true;
}

int exportDefinitions(const AkkordDepotClass& tabelle, const ChordNameParser& names, const ExportAuftrag& auftrag,
                      std::ostream& out, std::ostream& err)
{
    const DiagramExport exporter(tabelle);
    std::vector<int> griffe;
    if (!auftrag.akkord.empty()) {
        int grundton = -1;
        int typ = -1;
        if (!names.parse(auftrag.akkord, grundton, typ))
            return fail(err, ExportAkkordUnbekannt,
                        "Akkord \"" + auftrag.akkord + "\" unbekannt; Akkordtypen der Tabelle: " + names.typeList());
        griffe = exporter.select(grundton, typ);
    } else if (!auftrag.grundton.empty()) {
        const int grundton = names.root(auftrag.grundton);
        if (grundton < 0)
            return fail(err, ExportAkkordUnbekannt, "Grundton \"" + auftrag.grundton + "\" unbekannt");
        griffe = exporter.select(grundton, -1);
    } else {
        griffe = exporter.select(-1, -1);
    }
    if (griffe.empty())
        return fail(err, ExportKeineGriffe, "keine gespeicherten Griffe");
    const auto d = ChordProExport::definitions(tabelle, griffe,
                                               auftrag.tabellenNamen ? Tonnamen::Tabelle : Tonnamen::International);
    const std::string text = auftrag.format == "json" ? ChordProExport::json(tabelle, d, !auftrag.ohneFinger)
                                                      : ChordProExport::defineBlock(tabelle, d, !auftrag.ohneFinger);
    std::string fehler;
    if (!writeText(auftrag.ausgabe, text, fehler))
        return fail(err, ExportNichtSchreibbar, fehler);
    out << auftrag.ausgabe << ": " << d.size() << " Akkorddefinitionen; mehrere Griffe eines Akkords heißen "
        << "\"Am\", \"Am_2\" ...\n";
    return ExportOk;
}

int importDefinitions(AkkordDepotClass& tabelle, const ExportAuftrag& auftrag, std::ostream& out, std::ostream& err)
{
    std::string text;
    std::string fehler;
    if (!readText(auftrag.importieren, text, fehler))
        return fail(err, ExportAufrufFalsch, fehler);
    const ChordProInhalt inhalt = ChordProReader::read(text, ChordProReader::looksLikeSong(text));
    ChordProImport import;
    const ImportBericht bericht = import.importieren(tabelle, inhalt);
    for (const std::string& line : bericht.zeilen)
        out << line << '\n';
    out << ChordProImport::zusammenfassung(bericht) << '\n';
    if (!tabelle.Speichern(auftrag.ausgabe))
        return fail(err, ExportNichtSchreibbar, "\"" + auftrag.ausgabe + "\" nicht schreibbar");
    return ExportOk;
}

int songSheet(const AkkordDepotClass& tabelle, const ExportAuftrag& auftrag, std::ostream& out, std::ostream& err)
{
    std::string text;
    std::string fehler;
    if (!readText(auftrag.lied, text, fehler))
        return fail(err, ExportAufrufFalsch, fehler);
    const ChordProInhalt lied = ChordProReader::read(text, true);
    LiedblattEinstellung einstellung;
    einstellung.transponieren = auftrag.transponieren;
    einstellung.kapo = auftrag.kapo;
    einstellung.wahl = auftrag.ersterGriff ? Griffwahl::ErsterGespeicherter : Griffwahl::GanzesLied;
    einstellung.tonnamen = auftrag.tabellenNamen ? Tonnamen::Tabelle : Tonnamen::International;
    Liedblatt blatt;
    const bool any = blatt.erstellen(tabelle, lied, einstellung);
    for (const std::string& name : blatt.unlesbar())
        err << "zupfwerk-export: Akkord \"" << name << "\" nicht lesbar, ausgelassen\n";
    if (!any)
        return fail(err, ExportKeineGriffe, "das Lied hat keine lesbaren Akkorde");
    if (auftrag.format == "pdf") {
        QString reason;
        if (!liedblattPdfSchreiben(tabelle, blatt, QString::fromStdString(auftrag.ausgabe), &reason))
            return fail(err, ExportNichtSchreibbar, reason.toStdString());
    } else if (!writeText(auftrag.ausgabe, blatt.defineBlock(tabelle, !auftrag.ohneFinger), fehler)) {
        return fail(err, ExportNichtSchreibbar, fehler);
    }
    out << auftrag.ausgabe << ": " << blatt.akkorde().size() << " Akkorde, Bewegung " << blatt.bewegung()
        << " Bünde\n";
    return ExportOk;
}

} // namespace

int ChordProCommand::run(AkkordDepotClass& tabelle, const ChordNameParser& names, const ExportAuftrag& auftrag,
                         std::ostream& out, std::ostream& err)
{
    if (auftrag.chordpro)
        return exportDefinitions(tabelle, names, auftrag, out, err);
    if (!auftrag.importieren.empty())
        return importDefinitions(tabelle, auftrag, out, err);
    return songSheet(tabelle, auftrag, out, err);
}
