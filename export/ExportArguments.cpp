#include "export/ExportArguments.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <utility>

namespace {

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool knownFormat(const std::string& format)
{
    return format == "png" || format == "svg" || format == "pdf";
}

// The extension of a path without its dot, lower case; empty when it has none.
std::string extension(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string();
    return lower(path.substr(dot + 1));
}

bool parseSide(std::string_view text, int& side)
{
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, side);
    return result.ec == std::errc() && result.ptr == end && side >= 16 && side <= 8192;
}

bool parseNumber(std::string_view text, int lowest, int highest, int& number)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (result.ec != std::errc() || result.ptr != end || value < lowest || value > highest)
        return false;
    number = value;
    return true;
}

} // namespace

ExportArguments::ExportArguments()
{
    addOption({"--chord", "", "NAME", "Diagramm des Akkords NAME, z. B. Am7, C#maj7, H7, Bm, Eb",
               [](ExportAuftrag& a, const std::string& wert, std::string&) {
                   a.akkord = wert;
                   return true;
               }});
    addOption({"--root", "", "TON", "alle Griffe auf dem Grundton TON (nur pdf)",
               [](ExportAuftrag& a, const std::string& wert, std::string&) {
                   a.grundton = wert;
                   return true;
               }});
    addOption({"--all", "", "", "alle Griffe der Tabelle (nur pdf)",
               [](ExportAuftrag& a, const std::string&, std::string&) {
                   a.alle = true;
                   return true;
               }});
    addOption({"--output", "-o", "DATEI", "die Datei, die geschrieben wird",
               [](ExportAuftrag& a, const std::string& wert, std::string&) {
                   a.ausgabe = wert;
                   return true;
               }});
    addOption({"--format", "", "png|svg|pdf", "Format der Ausgabe (sonst nach der Endung der Datei)",
               [](ExportAuftrag& a, const std::string& wert, std::string& fehler) {
                   a.format = lower(wert);
                   if (knownFormat(a.format))
                       return true;
                   fehler = "Format \"" + wert + "\" unbekannt: png, svg oder pdf";
                   return false;
               }});
    addOption({"--size", "", "BxH", "Bildgröße in Pixeln, z. B. 400x400 (Vorgabe) oder 600",
               [](ExportAuftrag& a, const std::string& wert, std::string& fehler) {
                   if (parseSize(wert, a.breite, a.hoehe))
                       return true;
                   fehler = "Größe \"" + wert + "\" ungültig: BREITExHÖHE, je 16 bis 8192 Pixel";
                   return false;
               }});
    addOption({"--stil", "", "kasten|griffbrett",
               "Akkordkasten (Vorgabe) oder das waagerechte Griffbrett des Fensters",
               [](ExportAuftrag& a, const std::string& wert, std::string& fehler) {
                   const std::string stil = lower(wert);
                   if (stil == "kasten" || stil == "griffbrett") {
                       a.griffbrett = stil == "griffbrett";
                       return true;
                   }
                   fehler = "Stil \"" + wert + "\" unbekannt: kasten oder griffbrett";
                   return false;
               }});
    addOption({"--spalten", "", "N", "Diagramme je Zeile im Griffblatt, 3 bis 8 (Vorgabe 5; nur pdf)",
               [](ExportAuftrag& a, const std::string& wert, std::string& fehler) {
                   if (parseNumber(wert, 3, 8, a.spalten))
                       return true;
                   fehler = "Spalten \"" + wert + "\" ungültig: 3 bis 8";
                   return false;
               }});
    addOption({"--find", "", "NAME",
               "alle spielbaren Griffe des Akkords NAME auflisten, die leichtesten zuerst",
               [](ExportAuftrag& a, const std::string& wert, std::string&) {
                   a.finden = wert;
                   return true;
               }});
    addOption({"--span", "", "N", "mit --find: Spannweite der Griffe, 3 bis 5 Bünde (Vorgabe 4)",
               [](ExportAuftrag& a, const std::string& wert, std::string& fehler) {
                   if (parseNumber(wert, 3, 5, a.spannweite))
                       return true;
                   fehler = "Spannweite \"" + wert + "\" ungültig: 3 bis 5 Bünde";
                   return false;
               }});
    addOption({"--frets", "", "N", "mit --find: Griffe bis zu diesem Bund, 1 bis 24 (Vorgabe 15)",
               [](ExportAuftrag& a, const std::string& wert, std::string& fehler) {
                   if (parseNumber(wert, 1, 24, a.buende))
                       return true;
                   fehler = "Bund \"" + wert + "\" ungültig: 1 bis 24";
                   return false;
               }});
    addOption({"--wav", "", "", "den Klang des Akkords als WAV-Datei, angeschlagen (mit --chord)",
               [](ExportAuftrag& a, const std::string&, std::string&) {
                   a.wav = true;
                   return true;
               }});
    addOption({"--zerlegt", "", "", "mit --wav: Saite für Saite gespielt statt angeschlagen",
               [](ExportAuftrag& a, const std::string&, std::string&) {
                   a.zerlegt = true;
                   return true;
               }});
    addChordProOptions();
    addOption({"--help", "-h", "", "diese Hilfe", [](ExportAuftrag& a, const std::string&, std::string&) {
                   a.hilfe = true;
                   return true;
               }});
}

void ExportArguments::addOption(Option option)
{
    m_options.push_back(std::move(option));
}

const ExportArguments::Option* ExportArguments::find(const std::string& name) const
{
    for (const Option& option : m_options) {
        if (name == option.name || (!option.kurzname.empty() && name == option.kurzname))
            return &option;
    }
    return nullptr;
}

bool ExportArguments::parse(const std::vector<std::string>& args, ExportAuftrag& auftrag,
                            std::string& fehler) const
{
    auftrag = ExportAuftrag();
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            auftrag.hilfe = true;
            return true;
        }
    }
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (arg.size() < 2 || arg[0] != '-') {
            if (!auftrag.tabelle.empty()) {
                fehler = "nur eine Grifftabelle angeben, nicht auch \"" + arg + "\"";
                return false;
            }
            auftrag.tabelle = arg;
            continue;
        }
        std::string value;
        bool inlineValue = false;
        const std::size_t equals = arg.find('=');
        if (arg.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = arg.substr(equals + 1);
            arg.resize(equals);
            inlineValue = true;
        }
        const Option* option = find(arg);
        if (!option) {
            fehler = "unbekannte Option \"" + arg + "\"";
            return false;
        }
        if (option->wertname.empty() && inlineValue) {
            fehler = "\"" + arg + "\" hat keinen Wert";
            return false;
        }
        if (!option->wertname.empty() && !inlineValue) {
            if (i + 1 >= args.size()) {
                fehler = "\"" + arg + "\" braucht einen Wert: " + option->wertname;
                return false;
            }
            value = args[++i];
        }
        if (!option->uebernehmen(auftrag, value, fehler))
            return false;
    }
    return check(auftrag, fehler);
}

bool ExportArguments::check(ExportAuftrag& auftrag, std::string& fehler)
{
    if (auftrag.tabelle.empty()) {
        fehler = "keine Grifftabelle angegeben";
        return false;
    }
    if (auftrag.chordpro || !auftrag.importieren.empty() || !auftrag.lied.empty() || auftrag.ohneFinger ||
        auftrag.tabellenNamen || auftrag.transponieren != 0 || auftrag.kapo != 0 || auftrag.ersterGriff)
        return checkChordPro(auftrag, fehler);
    const int choices = (auftrag.akkord.empty() ? 0 : 1) + (auftrag.grundton.empty() ? 0 : 1) +
                        (auftrag.alle ? 1 : 0) + (auftrag.finden.empty() ? 0 : 1);
    if (choices != 1) {
        fehler = choices == 0 ? "was exportieren? --chord NAME, --root TON oder --all angeben, "
                                "oder Griffe suchen mit --find NAME"
                              : "nur eines von --chord, --root, --all und --find angeben";
        return false;
    }
    // The finder lists its grips on standard output; span and frets belong to it alone.
    if (!auftrag.finden.empty()) {
        if (auftrag.ausgabe.empty() && auftrag.format.empty())
            return true;
        fehler = "--find schreibt die Griffe auf die Standardausgabe, ohne -o und --format";
        return false;
    }
    if (auftrag.spannweite != 0 || auftrag.buende != 0) {
        fehler = "--span und --frets gibt es nur mit --find";
        return false;
    }
    if (auftrag.ausgabe.empty()) {
        fehler = "keine Ausgabedatei angegeben: -o DATEI";
        return false;
    }
    if (!checkSound(auftrag, fehler))
        return false;
    if (auftrag.format.empty()) {
        auftrag.format = extension(auftrag.ausgabe);
        if (!knownFormat(auftrag.format)) {
            fehler = "Format von \"" + auftrag.ausgabe +
                     "\" unbekannt: Endung .png, .svg oder .pdf oder --format angeben";
            return false;
        }
    }
    if (auftrag.format != "pdf" && auftrag.akkord.empty()) {
        fehler = "--root und --all gibt es nur als pdf; ein Bild zeigt einen Akkord (--chord)";
        return false;
    }
    return true;
}

bool ExportArguments::checkSound(ExportAuftrag& auftrag, std::string& fehler)
{
    // An output named .wav asks for the sound as --wav does.
    if (auftrag.format.empty() && extension(auftrag.ausgabe) == "wav")
        auftrag.wav = true;
    if (auftrag.zerlegt && !auftrag.wav) {
        fehler = "--zerlegt gibt es nur mit --wav";
        return false;
    }
    if (!auftrag.wav)
        return true;
    if (!auftrag.format.empty() && auftrag.format != "wav") {
        fehler = "--wav schreibt eine WAV-Datei, nicht --format " + auftrag.format;
        return false;
    }
    if (auftrag.akkord.empty()) {
        fehler = "--wav gibt es nur mit --chord: ein Klang ist ein Griff";
        return false;
    }
    auftrag.format = "wav";
    return true;
}

std::string ExportArguments::usage() const
{
    std::string text =
        "Aufruf: zupfwerk-export GRIFFTABELLE.cho (--chord NAME | --root TON | --all) -o DATEI "
        "[--format png|svg|pdf] [--size BxH] [--stil kasten|griffbrett] [--spalten N]\n"
        "       zupfwerk-export GRIFFTABELLE.cho --find NAME [--span N] [--frets N]\n"
        "       zupfwerk-export GRIFFTABELLE.cho --chord NAME --wav [--zerlegt] -o DATEI.wav\n"
        "       zupfwerk-export GRIFFTABELLE.cho --chordpro (--chord NAME | --root TON | --all) -o DATEI.chopro|.json\n"
        "       zupfwerk-export GRIFFTABELLE.cho --import DATEI.chopro -o NEUE.cho\n"
        "       zupfwerk-export GRIFFTABELLE.cho --song LIED.chopro [--transpose N] [--capo N] -o DATEI.pdf|.chopro\n\n"
        "Zeichnet Griffdiagramme einer Grifftabelle von Zupfwerk: einen Akkord als Bild (PNG, SVG)\n"
        "mit seinem ersten gespeicherten Griff, oder ein Griffblatt als PDF (A4, 5 Diagramme je\n"
        "Zeile oder --spalten N) mit allen Griffen der Tabelle, eines Grundtons oder eines Akkords,\n"
        "als Akkordkästen oder mit --stil griffbrett als waagerechtes Griffbrett. Mit --find listet es\n"
        "alle spielbaren Griffe eines Akkords auf dem Instrument der Tabelle, einen je Zeile: die Bünde\n"
        "von der tiefsten Saite an (x gedämpft, Bünde über 9 in Klammern), dann die Finger (- ohne).\n"
        "Mit --wav schreibt es den Klang des ersten gespeicherten Griffs als WAV-Datei (48 kHz, 16 Bit,\n"
        "mono): angeschlagen, mit --zerlegt Saite für Saite; eine Ausgabe auf .wav wählt --wav von "
        "selbst.\n\n"
        "Optionen:\n";
    for (const Option& option : m_options) {
        std::string names = option.kurzname.empty() ? "    " : option.kurzname + ", ";
        names += option.name;
        if (!option.wertname.empty())
            names += " " + option.wertname;
        text += "  " + names;
        text += std::string(names.size() < 26 ? 26 - names.size() : 1, ' ');
        text += option.hilfe + "\n";
    }
    text +=
        "\nAkkordnamen mit den Notennamen und Akkordtypen der Tabelle; auch Db, Eb, Gb, Ab und B (= A#).\n"
        "Rückgabewerte: 0 geschrieben, 1 falscher Aufruf, 2 Grifftabelle nicht lesbar oder beschädigt,\n"
        "3 Akkord oder Grundton unbekannt, 4 keine gespeicherten Griffe (mit --find: keine spielbaren),\n"
        "5 Ausgabe nicht schreibbar.\n";
    return text;
}

bool ExportArguments::parseSize(const std::string& text, int& breite, int& hoehe)
{
    const std::size_t x = lower(text).find('x');
    int w = 0;
    int h = 0;
    if (x == std::string::npos) {
        if (!parseSide(text, w))
            return false;
        h = w;
    } else if (!parseSide(std::string_view(text).substr(0, x), w) ||
               !parseSide(std::string_view(text).substr(x + 1), h)) {
        return false;
    }
    breite = w;
    hoehe = h;
    return true;
}

void ExportArguments::addChordProOptions()
{
    addOption({"--chordpro", "", "", "{define}-Zeilen für ChordPro schreiben (mit .json eine Konfigurationsdatei)",
               [](ExportAuftrag& a, const std::string&, std::string&) {
                   a.chordpro = true;
                   return true;
               }});
    addOption({"--import", "", "DATEI", "ChordPro-Akkorde aus DATEI in eine neue Grifftabelle (-o) übernehmen",
               [](ExportAuftrag& a, const std::string& wert, std::string&) {
                   a.importieren = wert;
                   return true;
               }});
    addOption({"--song", "", "LIED", "Liedblatt: die Akkorde des ChordPro-Lieds mit Griffen (pdf oder chopro)",
               [](ExportAuftrag& a, const std::string& wert, std::string&) {
                   a.lied = wert;
                   return true;
               }});
    addOption({"--ohne-finger", "", "", "ChordPro ohne fingers-Angaben (für ältere Programme wie chordii)",
               [](ExportAuftrag& a, const std::string&, std::string&) {
                   a.ohneFinger = true;
                   return true;
               }});
    addOption({"--tonnamen", "", "international|tabelle",
               "Notennamen in ChordPro: international (B, Bb; Vorgabe) oder die der Tabelle",
               [](ExportAuftrag& a, const std::string& wert, std::string& fehler) {
                   if (wert != "international" && wert != "tabelle") {
                       fehler = "Tonnamen \"" + wert + "\" unbekannt: international oder tabelle";
                       return false;
                   }
                   a.tabellenNamen = wert == "tabelle";
                   return true;
               }});
    addOption({"--transpose", "", "N", "mit --song: um N Halbtöne transponieren, -11 bis 11",
               [](ExportAuftrag& a, const std::string& wert, std::string& fehler) {
                   if (parseNumber(wert, -11, 11, a.transponieren))
                       return true;
                   fehler = "Transponieren \"" + wert + "\" ungültig: -11 bis 11 Halbtöne";
                   return false;
               }});
    addOption({"--capo", "", "N", "mit --song: Kapodaster im Bund N, 0 bis 12 (Griffe wie gegriffen)",
               [](ExportAuftrag& a, const std::string& wert, std::string& fehler) {
                   if (parseNumber(wert, 0, 12, a.kapo))
                       return true;
                   fehler = "Kapodaster \"" + wert + "\" ungültig: Bund 0 bis 12";
                   return false;
               }});
    addOption({"--erster-griff", "", "", "mit --song: je Akkord der erste gespeicherte Griff statt der Wahl fürs ganze Lied",
               [](ExportAuftrag& a, const std::string&, std::string&) {
                   a.ersterGriff = true;
                   return true;
               }});
}

bool ExportArguments::checkChordPro(ExportAuftrag& auftrag, std::string& fehler)
{
    const int modes = (auftrag.chordpro ? 1 : 0) + (auftrag.importieren.empty() ? 0 : 1) + (auftrag.lied.empty() ? 0 : 1);
    const int choices = (auftrag.akkord.empty() ? 0 : 1) + (auftrag.grundton.empty() ? 0 : 1) + (auftrag.alle ? 1 : 0);
    if (modes != 1) {
        fehler = modes == 0 ? "--ohne-finger, --tonnamen, --transpose, --capo und --erster-griff gehören zu "
                              "--chordpro oder --song"
                            : "nur eines von --chordpro, --import und --song angeben";
        return false;
    }
    if (!auftrag.finden.empty() || auftrag.spannweite != 0 || auftrag.buende != 0 || auftrag.breite != 400 ||
        auftrag.hoehe != 400) {
        fehler = "--find, --span, --frets und --size gibt es nicht mit --chordpro, --import und --song";
        return false;
    }
    if (auftrag.ausgabe.empty()) {
        fehler = "keine Ausgabedatei angegeben: -o DATEI";
        return false;
    }
    if (!auftrag.lied.empty() ? false : (auftrag.transponieren != 0 || auftrag.kapo != 0 || auftrag.ersterGriff)) {
        fehler = "--transpose, --capo und --erster-griff gibt es nur mit --song";
        return false;
    }
    const std::string ending = extension(auftrag.ausgabe);
    if (auftrag.chordpro) {
        if (choices != 1) {
            fehler = "mit --chordpro eines von --chord, --root und --all angeben";
            return false;
        }
        auftrag.format = ending == "json" ? "json" : "chopro";
        return true;
    }
    if (choices != 0) {
        fehler = "--chord, --root und --all gibt es nicht mit --import und --song";
        return false;
    }
    if (!auftrag.importieren.empty()) {
        if (auftrag.ohneFinger || auftrag.tabellenNamen || ending != "cho") {
            fehler = ending != "cho" ? "mit --import ist die Ausgabe eine Grifftabelle: -o NEUE.cho"
                                     : "--ohne-finger und --tonnamen gibt es nicht mit --import";
            return false;
        }
        auftrag.format = "cho";
        return true;
    }
    if (auftrag.format.empty())
        auftrag.format = ending == "pdf" ? "pdf" : "chopro";
    if (auftrag.format != "pdf" && auftrag.format != "chopro") {
        fehler = "ein Liedblatt ist pdf oder ChordPro-Text";
        return false;
    }
    return true;
}
