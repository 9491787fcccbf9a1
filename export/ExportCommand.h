#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Exit codes of zupfwerk-export.
enum ExportErgebnis : int {
    ExportOk = 0,
    ExportAufrufFalsch = 1,
    ExportTabelleFehlerhaft = 2,
    ExportAkkordUnbekannt = 3,
    ExportKeineGriffe = 4,
    ExportNichtSchreibbar = 5,
};

// One run of zupfwerk-export from its arguments to the written file. Needs a QGuiApplication for the
// fonts. Messages go to err, the help and the summary to out; on any failure no file is written.
class ExportCommand
{
public:
    static int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};
