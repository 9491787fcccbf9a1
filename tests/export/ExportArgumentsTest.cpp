#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/ExportArguments.h"

namespace {

struct BadCall
{
    std::vector<std::string> args;
    const char* message; // a part of the message
};

} // namespace

TEST(ExportArguments, ChordToSvgTakesTheFormatFromTheExtension)
{
    ExportAuftrag auftrag;
    std::string fehler;
    ASSERT_TRUE(ExportArguments().parse({"t.cho", "--chord", "Am7", "-o", "am7.SVG"}, auftrag, fehler))
        << fehler;
    EXPECT_EQ(auftrag.tabelle, "t.cho");
    EXPECT_EQ(auftrag.akkord, "Am7");
    EXPECT_EQ(auftrag.ausgabe, "am7.SVG");
    EXPECT_EQ(auftrag.format, "svg");
    EXPECT_EQ(auftrag.breite, 400);
    EXPECT_EQ(auftrag.hoehe, 400);
    EXPECT_FALSE(auftrag.hilfe);
}

TEST(ExportArguments, OptionsInAnyOrderAndWithEquals)
{
    ExportAuftrag auftrag;
    std::string fehler;
    ASSERT_TRUE(ExportArguments().parse(
        {"--format=png", "--size", "640x480", "--output=bild", "--chord", "C#", "t.cho"}, auftrag, fehler))
        << fehler;
    EXPECT_EQ(auftrag.format, "png");
    EXPECT_EQ(auftrag.ausgabe, "bild");
    EXPECT_EQ(auftrag.akkord, "C#");
    EXPECT_EQ(auftrag.tabelle, "t.cho");
    EXPECT_EQ(auftrag.breite, 640);
    EXPECT_EQ(auftrag.hoehe, 480);
}

TEST(ExportArguments, AllAndRootMakeSheets)
{
    ExportAuftrag auftrag;
    std::string fehler;
    ASSERT_TRUE(ExportArguments().parse({"t.cho", "--all", "-o", "tabelle.pdf"}, auftrag, fehler)) << fehler;
    EXPECT_TRUE(auftrag.alle);
    EXPECT_EQ(auftrag.format, "pdf");
    ASSERT_TRUE(
        ExportArguments().parse({"t.cho", "--root", "Eb", "--format", "PDF", "-o", "es"}, auftrag, fehler))
        << fehler;
    EXPECT_EQ(auftrag.grundton, "Eb");
    EXPECT_EQ(auftrag.format, "pdf");
}

TEST(ExportArguments, HelpWinsOverEverythingElse)
{
    ExportAuftrag auftrag;
    std::string fehler;
    ASSERT_TRUE(ExportArguments().parse({"--bogus", "-h"}, auftrag, fehler));
    EXPECT_TRUE(auftrag.hilfe);
    const std::string usage = ExportArguments().usage();
    for (const char* option : {"--chord NAME", "--root TON", "--all", "-o, --output DATEI",
                               "--format png|svg|pdf", "--size BxH", "--help"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}

TEST(ExportArguments, SizesAreSquareOrWidthByHeight)
{
    int w = 0;
    int h = 0;
    EXPECT_TRUE(ExportArguments::parseSize("600", w, h));
    EXPECT_EQ(w, 600);
    EXPECT_EQ(h, 600);
    EXPECT_TRUE(ExportArguments::parseSize("640X480", w, h));
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    for (const char* bad :
         {"", "x", "0x400", "15", "8193", "400x", "x400", "40 0", "-400", "400x300x2", "abc"})
        EXPECT_FALSE(ExportArguments::parseSize(bad, w, h)) << bad;
    EXPECT_EQ(w, 640) << "a refused size leaves the values alone";
}

TEST(ExportArguments, BadCallsAreRefusedWithTheirReason)
{
    const BadCall calls[] = {
        {{}, "keine Grifftabelle"},
        {{"--chord", "C", "-o", "c.png"}, "keine Grifftabelle"},
        {{"a.cho", "b.cho", "--all", "-o", "x.pdf"}, "nur eine Grifftabelle"},
        {{"t.cho", "-o", "c.png"}, "--chord NAME, --root TON oder --all"},
        {{"t.cho", "--chord", "C", "--all", "-o", "c.pdf"}, "nur eines von"},
        {{"t.cho", "--chord", "C"}, "keine Ausgabedatei"},
        {{"t.cho", "--chord"}, "braucht einen Wert"},
        {{"t.cho", "--chord", "C", "-o", "c.gif"}, "Format von \"c.gif\" unbekannt"},
        {{"t.cho", "--chord", "C", "-o", "ohne"}, "Format von \"ohne\" unbekannt"},
        {{"t.cho", "--chord", "C", "-o", "c", "--format", "jpg"}, "Format \"jpg\" unbekannt"},
        {{"t.cho", "--chord", "C", "-o", "c.png", "--size", "huge"}, "Größe \"huge\" ungültig"},
        {{"t.cho", "--all", "-o", "c.png"}, "nur als pdf"},
        {{"t.cho", "--root", "C", "-o", "c.svg"}, "nur als pdf"},
        {{"t.cho", "--chord", "C", "-o", "c.png", "--colour", "red"}, "unbekannte Option \"--colour\""},
        {{"t.cho", "--all=yes", "-o", "c.pdf"}, "\"--all\" hat keinen Wert"},
    };
    for (const BadCall& call : calls) {
        ExportAuftrag auftrag;
        std::string fehler;
        EXPECT_FALSE(ExportArguments().parse(call.args, auftrag, fehler)) << call.message;
        EXPECT_NE(fehler.find(call.message), std::string::npos) << fehler << " / expected: " << call.message;
    }
}

TEST(ExportArguments, NewOptionsAreOneMoreEntry)
{
    ExportArguments arguments;
    std::string seen;
    arguments.addOption({"--extra", "", "WERT", "eine weitere Option",
                         [&seen](ExportAuftrag&, const std::string& wert, std::string&) {
                             seen = wert;
                             return true;
                         }});
    ExportAuftrag auftrag;
    std::string fehler;
    ASSERT_TRUE(arguments.parse({"t.cho", "--extra", "42", "--all", "-o", "t.pdf"}, auftrag, fehler))
        << fehler;
    EXPECT_EQ(seen, "42");
    EXPECT_NE(arguments.usage().find("--extra WERT"), std::string::npos);
}
