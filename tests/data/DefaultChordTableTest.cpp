#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iostream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "table/AkkordDepot.h"
#include "table/FingersatzSuche.h"

namespace {

// Standard guitar voicings as songbooks name them, written independently of the stored grips: frets per
// string from the low E up ('x' muted, '0' open, blanks between the strings when a fret exceeds 9), the
// root and type, and for inversions and slash chords the bass after the slash.
struct Voicing
{
    const char* frets;
    const char* root;
    const char* type;
    const char* bass; // empty when the root is the lowest note
};

// clang-format off
const Voicing standardVoicings[] = {
    {"x32010", "C", "", ""}, {"x32013", "C", "", ""}, {"x02220", "A", "", ""}, {"320003", "G", "", ""},
    {"320033", "G", "", ""}, {"3x0003", "G", "", ""}, {"022100", "E", "", ""}, {"xx0232", "D", "", ""},
    {"xx3211", "F", "", ""}, {"x0222x", "A", "", ""}, {"xx2100", "E", "", ""}, {"xx5433", "G", "", ""},
    {"133211", "F", "", ""}, {"244322", "F#", "", ""}, {"355433", "G", "", ""}, {"466544", "G#", "", ""},
    {"577655", "A", "", ""}, {"688766", "A#", "", ""}, {"799877", "H", "", ""},
    {"8 10 10 9 8 8", "C", "", ""}, {"9 11 11 10 9 9", "C#", "", ""}, {"10 12 12 11 10 10", "D", "", ""},
    {"x13331", "A#", "", ""}, {"x24442", "H", "", ""}, {"x35553", "C", "", ""}, {"x46664", "C#", "", ""},
    {"x57775", "D", "", ""}, {"x68886", "D#", "", ""}, {"x79997", "E", "", ""},
    {"x 8 10 10 10 8", "F", "", ""}, {"x3555x", "C", "", ""}, {"x5777x", "D", "", ""},
    {"x7999x", "E", "", ""}, {"xx2454", "E", "", ""}, {"xx3565", "F", "", ""}, {"xx5787", "G", "", ""},
    {"x x 7 9 10 9", "A", "", ""}, {"x54232", "D", "", ""}, {"x76454", "E", "", ""},
    {"542225", "A", "", ""}, {"764447", "H", "", ""}, {"x02210", "A", "m", ""}, {"022000", "E", "m", ""},
    {"xx0231", "D", "m", ""}, {"x0221x", "A", "m", ""}, {"xx2000", "E", "m", ""}, {"133111", "F", "m", ""},
    {"244222", "F#", "m", ""}, {"355333", "G", "m", ""}, {"466444", "G#", "m", ""},
    {"577555", "A", "m", ""}, {"688666", "A#", "m", ""}, {"799777", "H", "m", ""},
    {"8 10 10 8 8 8", "C", "m", ""}, {"9 11 11 9 9 9", "C#", "m", ""}, {"10 12 12 10 10 10", "D", "m", ""},
    {"x13321", "A#", "m", ""}, {"x24432", "H", "m", ""}, {"x35543", "C", "m", ""},
    {"x46654", "C#", "m", ""}, {"x57765", "D", "m", ""}, {"x68876", "D#", "m", ""},
    {"x79987", "E", "m", ""}, {"x 8 10 10 9 8", "F", "m", ""}, {"xx2453", "E", "m", ""},
    {"xx3564", "F", "m", ""}, {"xx5786", "G", "m", ""}, {"x x 7 9 10 8", "A", "m", ""},
    {"x3554x", "C", "m", ""}, {"x5776x", "D", "m", ""}, {"022xxx", "E", "5", ""}, {"x022xx", "A", "5", ""},
    {"xx023x", "D", "5", ""}, {"02xxxx", "E", "5", ""}, {"133xxx", "F", "5", ""}, {"355xxx", "G", "5", ""},
    {"577xxx", "A", "5", ""}, {"8 10 10 x x x", "C", "5", ""}, {"10 12 12 x x x", "D", "5", ""},
    {"x355xx", "C", "5", ""}, {"x577xx", "D", "5", ""}, {"x799xx", "E", "5", ""},
    {"x 8 10 10 x x", "F", "5", ""}, {"35xxxx", "G", "5", ""}, {"57xxxx", "A", "5", ""},
    {"x02222", "A", "6", ""}, {"xx0202", "D", "6", ""}, {"320000", "G", "6", ""}, {"022120", "E", "6", ""},
    {"x32213", "C", "6", ""}, {"x35555", "C", "6", ""}, {"x57777", "D", "6", ""}, {"x79999", "E", "6", ""},
    {"3x243x", "G", "6", ""}, {"5x465x", "A", "6", ""}, {"7x687x", "H", "6", ""}, {"8x798x", "C", "6", ""},
    {"xx2424", "E", "6", ""}, {"xx3535", "F", "6", ""}, {"xx5757", "G", "6", ""}, {"x02212", "A", "m6", ""},
    {"xx0201", "D", "m6", ""}, {"022020", "E", "m6", ""}, {"3x233x", "G", "m6", ""},
    {"5x455x", "A", "m6", ""}, {"7x677x", "H", "m6", ""}, {"8x788x", "C", "m6", ""},
    {"x31213", "C", "m6", ""}, {"x53435", "D", "m6", ""}, {"x75657", "E", "m6", ""},
    {"xx2423", "E", "m6", ""}, {"xx3534", "F", "m6", ""}, {"xx5756", "G", "m6", ""},
    {"x02020", "A", "7", ""}, {"x02223", "A", "7", ""}, {"020100", "E", "7", ""}, {"022130", "E", "7", ""},
    {"xx0212", "D", "7", ""}, {"x32310", "C", "7", ""}, {"320001", "G", "7", ""}, {"x21202", "H", "7", ""},
    {"020130", "E", "7", ""}, {"131211", "F", "7", ""}, {"242322", "F#", "7", ""}, {"353433", "G", "7", ""},
    {"464544", "G#", "7", ""}, {"575655", "A", "7", ""}, {"686766", "A#", "7", ""},
    {"797877", "H", "7", ""}, {"8 10 8 9 8 8", "C", "7", ""}, {"x13131", "A#", "7", ""},
    {"x24242", "H", "7", ""}, {"x35353", "C", "7", ""}, {"x46464", "C#", "7", ""}, {"x57575", "D", "7", ""},
    {"x68686", "D#", "7", ""}, {"x79797", "E", "7", ""}, {"x 8 10 8 10 8", "F", "7", ""},
    {"3x34xx", "G", "7", ""}, {"5x56xx", "A", "7", ""}, {"8x89xx", "C", "7", ""}, {"x3x35x", "C", "7", ""},
    {"x5x57x", "D", "7", ""}, {"x7x79x", "E", "7", ""}, {"xx2434", "E", "7", ""}, {"xx3545", "F", "7", ""},
    {"xx5767", "G", "7", ""}, {"xx7989", "A", "7", ""}, {"353463", "G", "7", ""}, {"575685", "A", "7", ""},
    {"x02010", "A", "m7", ""}, {"022030", "E", "m7", ""}, {"020000", "E", "m7", ""},
    {"xx0211", "D", "m7", ""}, {"x20202", "H", "m7", ""}, {"x02013", "A", "m7", ""},
    {"022033", "E", "m7", ""}, {"131111", "F", "m7", ""}, {"242222", "F#", "m7", ""},
    {"353333", "G", "m7", ""}, {"464444", "G#", "m7", ""}, {"575555", "A", "m7", ""},
    {"686666", "A#", "m7", ""}, {"797777", "H", "m7", ""}, {"8 10 8 8 8 8", "C", "m7", ""},
    {"x13121", "A#", "m7", ""}, {"x24232", "H", "m7", ""}, {"x35343", "C", "m7", ""},
    {"x46454", "C#", "m7", ""}, {"x57565", "D", "m7", ""}, {"x68676", "D#", "m7", ""},
    {"x79787", "E", "m7", ""}, {"x 8 10 8 9 8", "F", "m7", ""}, {"3x33xx", "G", "m7", ""},
    {"5x55xx", "A", "m7", ""}, {"8x88xx", "C", "m7", ""}, {"x3x34x", "C", "m7", ""},
    {"x5x56x", "D", "m7", ""}, {"x7x78x", "E", "m7", ""}, {"xx2433", "E", "m7", ""},
    {"xx3544", "F", "m7", ""}, {"xx5766", "G", "m7", ""}, {"xx7988", "A", "m7", ""},
    {"x02120", "A", "maj7", ""}, {"x32000", "C", "maj7", ""}, {"xx0222", "D", "maj7", ""},
    {"xx3210", "F", "maj7", ""}, {"320002", "G", "maj7", ""}, {"021100", "E", "maj7", ""},
    {"1x221x", "F", "maj7", ""}, {"3x443x", "G", "maj7", ""}, {"5x665x", "A", "maj7", ""},
    {"7x887x", "H", "maj7", ""}, {"8x998x", "C", "maj7", ""}, {"x13231", "A#", "maj7", ""},
    {"x35453", "C", "maj7", ""}, {"x57675", "D", "maj7", ""}, {"x79897", "E", "maj7", ""},
    {"x 8 10 9 10 8", "F", "maj7", ""}, {"3x44xx", "G", "maj7", ""}, {"5x66xx", "A", "maj7", ""},
    {"8x99xx", "C", "maj7", ""}, {"x3x45x", "C", "maj7", ""}, {"x5x67x", "D", "maj7", ""},
    {"x7x89x", "E", "maj7", ""}, {"xx2444", "E", "maj7", ""}, {"xx3555", "F", "maj7", ""},
    {"xx5777", "G", "maj7", ""}, {"x02110", "A", "m(maj7)", ""}, {"021000", "E", "m(maj7)", ""},
    {"xx0221", "D", "m(maj7)", ""}, {"354333", "G", "m(maj7)", ""}, {"576555", "A", "m(maj7)", ""},
    {"8 10 9 8 8 8", "C", "m(maj7)", ""}, {"x35443", "C", "m(maj7)", ""}, {"x57665", "D", "m(maj7)", ""},
    {"x79887", "E", "m(maj7)", ""}, {"xx2443", "E", "m(maj7)", ""}, {"xx3554", "F", "m(maj7)", ""},
    {"x02200", "A", "sus2", ""}, {"xx0230", "D", "sus2", ""}, {"x30033", "C", "sus2", ""},
    {"x35533", "C", "sus2", ""}, {"x57755", "D", "sus2", ""}, {"x79977", "E", "sus2", ""},
    {"x 8 10 10 8 8", "F", "sus2", ""}, {"xx2452", "E", "sus2", ""}, {"xx3563", "F", "sus2", ""},
    {"xx5785", "G", "sus2", ""}, {"x02230", "A", "sus4", ""}, {"xx0233", "D", "sus4", ""},
    {"022200", "E", "sus4", ""}, {"x33011", "C", "sus4", ""}, {"330013", "G", "sus4", ""},
    {"133311", "F", "sus4", ""}, {"355533", "G", "sus4", ""}, {"577755", "A", "sus4", ""},
    {"8 10 10 10 8 8", "C", "sus4", ""}, {"x35563", "C", "sus4", ""}, {"x57785", "D", "sus4", ""},
    {"x 7 9 9 10 7", "E", "sus4", ""}, {"x24452", "H", "sus4", ""}, {"xx2455", "E", "sus4", ""},
    {"xx3566", "F", "sus4", ""}, {"xx5788", "G", "sus4", ""}, {"x02030", "A", "7sus4", ""},
    {"xx0213", "D", "7sus4", ""}, {"020200", "E", "7sus4", ""}, {"330011", "G", "7sus4", ""},
    {"131311", "F", "7sus4", ""}, {"353533", "G", "7sus4", ""}, {"575755", "A", "7sus4", ""},
    {"8 10 8 10 8 8", "C", "7sus4", ""}, {"x35363", "C", "7sus4", ""}, {"x57585", "D", "7sus4", ""},
    {"x 7 9 7 10 7", "E", "7sus4", ""}, {"xx2435", "E", "7sus4", ""}, {"xx3546", "F", "7sus4", ""},
    {"xx5768", "G", "7sus4", ""}, {"xx0010", "D", "9sus4", ""}, {"000202", "E", "9sus4", ""},
    {"x00000", "A", "9sus4", ""}, {"x33333", "C", "9sus4", ""}, {"x55555", "D", "9sus4", ""},
    {"x77777", "E", "9sus4", ""}, {"x88888", "F", "9sus4", ""}, {"3x321x", "G", "9sus4", ""},
    {"5x543x", "A", "9sus4", ""}, {"7x765x", "H", "9sus4", ""}, 
    
    
    {"x32030", "C", "add9", ""},
    {"320203", "G", "add9", ""}, {"024100", "E", "add9", ""}, {"x02420", "A", "add9", ""},
    {"xx3213", "F", "add9", ""}, {"x32033", "C", "add9", ""}, {"x5425x", "D", "add9", ""},
    {"x7647x", "E", "add9", ""}, {"x8758x", "F", "add9", ""}, {"xx5435", "G", "add9", ""},
    {"xx7657", "A", "add9", ""}, {"x02410", "A", "m(add9)", ""}, {"024000", "E", "m(add9)", ""},
    {"x5325x", "D", "m(add9)", ""}, {"x7547x", "E", "m(add9)", ""}, {"x8658x", "F", "m(add9)", ""},
    {"xx3113", "F", "m(add9)", ""}, {"xx5335", "G", "m(add9)", ""}, {"xx7557", "A", "m(add9)", ""},
    {"x32011", "C", "add11", ""}, {"002100", "E", "add11", ""}, {"x00220", "A", "add11", ""},
    {"320013", "G", "add11", ""}, {"113211", "F", "add11", ""}, {"335433", "G", "add11", ""},
    {"557655", "A", "add11", ""}, {"x32233", "C", "6/9", ""}, {"3x0200", "G", "6/9", ""},
    {"x02422", "A", "6/9", ""}, {"022122", "E", "6/9", ""}, {"x54455", "D", "6/9", ""},
    {"x76677", "E", "6/9", ""}, {"x87788", "F", "6/9", ""}, {"xx3233", "F", "6/9", ""},
    {"xx5455", "G", "6/9", ""}, {"xx7677", "A", "6/9", ""}, {"020102", "E", "9", ""},
    {"x02423", "A", "9", ""}, {"x32333", "C", "9", ""}, {"320201", "G", "9", ""}, {"x21222", "H", "9", ""},
    {"x54555", "D", "9", ""}, {"x76777", "E", "9", ""}, {"x3233x", "C", "9", ""}, {"x5455x", "D", "9", ""},
    {"x8788x", "F", "9", ""}, {"131213", "F", "9", ""}, {"353435", "G", "9", ""}, {"575657", "A", "9", ""},
    {"x02413", "A", "m9", ""}, {"022032", "E", "m9", ""}, {"020002", "E", "m9", ""},
    {"x31333", "C", "m9", ""}, {"x53555", "D", "m9", ""}, {"x75777", "E", "m9", ""},
    {"x3133x", "C", "m9", ""}, {"x5355x", "D", "m9", ""}, {"x8688x", "F", "m9", ""},
    {"3x3335", "G", "m9", ""}, {"5x5557", "A", "m9", ""}, {"7x7779", "H", "m9", ""},
    {"x32430", "C", "maj9", ""}, {"x3243x", "C", "maj9", ""}, {"x5465x", "D", "maj9", ""},
    {"x7687x", "E", "maj9", ""}, {"x8798x", "F", "maj9", ""}, {"x54655", "D", "maj9", ""},
    {"x76877", "E", "maj9", ""}, {"021002", "E", "m(maj9)", ""}, {"x3143x", "C", "m(maj9)", ""},
    {"x5365x", "D", "m(maj9)", ""}, {"x7587x", "E", "m(maj9)", ""}, {"x8698x", "F", "m(maj9)", ""},
    {"3x43x5", "G", "m(maj9)", ""}, {"5x65x7", "A", "m(maj9)", ""}, {"000100", "E", "11", ""},
    {"x00020", "A", "11", ""}, {"111211", "F", "11", ""}, {"333433", "G", "11", ""},
    {"555655", "A", "11", ""}, {"x33353", "C", "11", ""}, {"x55575", "D", "11", ""},
    {"x00010", "A", "m11", ""}, {"000030", "E", "m11", ""}, {"x05533", "A", "m11", ""},
    {"x31331", "C", "m11", ""}, {"x53553", "D", "m11", ""}, {"x75775", "E", "m11", ""},
    {"3x331x", "G", "m11", ""}, {"5x553x", "A", "m11", ""}, {"7x775x", "H", "m11", ""},
    {"x33343", "C", "m11", ""}, {"x55565", "D", "m11", ""}, {"020120", "E", "13", ""},
    {"x0x022", "A", "13", ""}, {"x32335", "C", "13", ""}, {"3x345x", "G", "13", ""},
    {"5x567x", "A", "13", ""}, {"7x789x", "H", "13", ""}, {"8 x 8 9 10 x", "C", "13", ""},
    {"x3x355", "C", "13", ""}, {"x5x577", "D", "13", ""}, {"x7x799", "E", "13", ""},
    {"1x1231", "F", "13", ""}, {"3x3453", "G", "13", ""}, {"020020", "E", "m13", ""},
    {"x0x012", "A", "m13", ""}, {"3x335x", "G", "m13", ""}, {"5x557x", "A", "m13", ""},
    {"8 x 8 8 10 x", "C", "m13", ""}, {"x3x345", "C", "m13", ""}, {"x5x567", "D", "m13", ""},
    {"x7x789", "E", "m13", ""}, {"x32200", "C", "maj13", ""}, {"x02122", "A", "maj13", ""},
    {"x3x455", "C", "maj13", ""}, {"x5x677", "D", "maj13", ""}, {"x7x899", "E", "maj13", ""},
    {"3x445x", "G", "maj13", ""}, {"5x667x", "A", "maj13", ""}, {"7x889x", "H", "maj13", ""},
    {"xx0131", "D", "dim", ""}, {"x0121x", "A", "dim", ""}, {"x3454x", "C", "dim", ""},
    {"x5676x", "D", "dim", ""}, {"x2343x", "H", "dim", ""}, {"xx2353", "E", "dim", ""},
    {"xx3464", "F", "dim", ""}, {"3453xx", "G", "dim", ""}, {"5675xx", "A", "dim", ""},
    {"xx0101", "D", "dim7", ""}, {"012020", "E", "dim7", ""}, {"x01212", "A", "dim7", ""},
    {"x3424x", "C", "dim7", ""}, {"x5646x", "D", "dim7", ""}, {"x2313x", "H", "dim7", ""},
    {"3x232x", "G", "dim7", ""}, {"5x454x", "A", "dim7", ""}, {"8x787x", "C", "dim7", ""},
    {"xx2323", "E", "dim7", ""}, {"xx3434", "F", "dim7", ""}, {"x0101x", "A", "m7b5", ""},
    {"012030", "E", "m7b5", ""}, {"xx0111", "D", "m7b5", ""}, {"x2323x", "H", "m7b5", ""},
    {"x3434x", "C", "m7b5", ""}, {"x5656x", "D", "m7b5", ""}, {"x7878x", "E", "m7b5", ""},
    {"2x221x", "F#", "m7b5", ""}, {"3x332x", "G", "m7b5", ""}, {"5x554x", "A", "m7b5", ""},
    {"8x887x", "C", "m7b5", ""}, {"xx2333", "E", "m7b5", ""}, {"xx3444", "F", "m7b5", ""},
    {"x32110", "C", "+", ""}, {"x03221", "A", "+", ""}, {"032110", "E", "+", ""}, {"xx0332", "D", "+", ""},
    {"321003", "G", "+", ""}, {"x3211x", "C", "+", ""}, {"x5433x", "D", "+", ""}, {"x7655x", "E", "+", ""},
    {"xx2554", "E", "+", ""}, {"xx3665", "F", "+", ""}, {"0x0110", "E", "7#5", ""},
    {"x0x021", "A", "7#5", ""}, {"3x344x", "G", "7#5", ""}, {"5x566x", "A", "7#5", ""},
    {"8x899x", "C", "7#5", ""}, {"x3x354", "C", "7#5", ""}, {"x5x576", "D", "7#5", ""},
    {"x7x798", "E", "7#5", ""}, {"x32100", "C", "maj7#5", ""}, {"xx3220", "F", "maj7#5", ""},
    {"x3x454", "C", "maj7#5", ""}, {"x5x676", "D", "maj7#5", ""}, {"x7x898", "E", "maj7#5", ""},
    {"3x444x", "G", "maj7#5", ""}, {"5x666x", "A", "maj7#5", ""}, {"7x888x", "H", "maj7#5", ""},
    
    
    
    
    {"x3435x", "C", "7b5", ""},
    {"x5657x", "D", "7b5", ""}, {"x7879x", "E", "7b5", ""}, {"x 8 9 8 10 x", "F", "7b5", ""},
    {"3x342x", "G", "7b5", ""}, {"5x564x", "A", "7b5", ""}, {"7x786x", "H", "7b5", ""},
    {"x0102x", "A", "7b5", ""}, {"x02323", "A", "7b9", ""}, {"020101", "E", "7b9", ""},
    {"x3232x", "C", "7b9", ""}, {"x5454x", "D", "7b9", ""}, {"x7676x", "E", "7b9", ""},
    {"3x3434", "G", "7b9", ""}, {"5x5656", "A", "7b9", ""}, {"8x8989", "C", "7b9", ""},
    {"076780", "E", "7#9", ""}, {"020133", "E", "7#9", ""}, {"x3234x", "C", "7#9", ""},
    {"x5456x", "D", "7#9", ""}, {"x7678x", "E", "7#9", ""}, {"x8789x", "F", "7#9", ""},
    {"3x34x6", "G", "7#9", ""}, {"5x56x8", "A", "7#9", ""}, {"x01020", "A", "7#11", ""},
    {"010100", "E", "7#11", ""}, {"x34353", "C", "7#11", ""}, {"x56575", "D", "7#11", ""},
    {"x 8 9 8 10 8", "F", "7#11", ""}, {"343433", "G", "7#11", ""}, {"565655", "A", "7#11", ""},
    {"xx3200", "F", "maj7#11", ""}, {"x32002", "C", "maj7#11", ""}, {"x3445x", "C", "maj7#11", ""},
    {"x5667x", "D", "maj7#11", ""}, {"x7889x", "E", "maj7#11", ""}, {"x 8 9 9 10 x", "F", "maj7#11", ""},
    {"2x0232", "D", "", "F#"}, {"332010", "C", "", "G"}, {"032010", "C", "", "E"}, {"x20003", "G", "", "H"},
    {"xx0003", "G", "", "D"}, {"x32210", "A", "m", "C"}, {"002210", "A", "m", "E"},
    {"x33211", "F", "", "C"}, {"x03211", "F", "", "A"}, {"x00232", "D", "", "A"}, {"x4222x", "A", "", "C#"},
    {"002220", "A", "", "E"}, {"4x2100", "E", "", "G#"}, {"x22100", "E", "", "H"},
    {"3x2000", "E", "m", "G"}, {"x22000", "E", "m", "H"}, {"1x0231", "D", "m", "F"},
    {"x00231", "D", "m", "A"}, {"1x0003", "G", "7", "F"}, {"x30212", "D", "7", "C"},
    {"x22010", "C", "maj7", "H"}, {"032310", "C", "7", "E"}, {"x20001", "G", "7", "H"},
    {"xx0001", "G", "7", "D"}, {"x4x223", "A", "7", "C#"}, {"002020", "A", "7", "E"},
    {"2x0212", "D", "7", "F#"}, {"x00212", "D", "7", "A"}, {"4x0100", "E", "7", "G#"},
    {"xx0100", "E", "7", "D"}, {"032030", "C", "add9", "E"}, {"x03210", "F", "maj7", "A"},
    {"x33210", "F", "maj7", "C"}, {"3x2210", "A", "m7", "G"}, {"x3221x", "A", "m", "C"},
    {"2x0202", "H", "m7", "F#"}, {"x00221", "D", "m(maj7)", "A"}, {"xx0432", "H", "m", "D"},
    {"113331", "A#", "", "F"}, {"224442", "H", "", "F#"}, {"335553", "C", "", "G"},
    {"557775", "D", "", "A"}, {"224432", "H", "m", "F#"}, {"335543", "C", "m", "G"},
    {"557765", "D", "m", "A"}, {"14 x 12 14 15 x", "D", "", "F#"}, {"5x356x", "F", "", "A"},
    {"9 x 7 9 10 x", "A", "", "C#"}, {"x7555x", "C", "", "E"}, {"x9777x", "D", "", "F#"},
    {"x 12 10 10 10 x", "F", "", "A"}, {"x6554x", "C", "m", "D#"}, {"x 10 9 9 8 x", "E", "m", "G"},
    {"x 11 10 10 9 x", "F", "m", "G#"}, {"x5546x", "G", "7", "D"}, {"x7768x", "A", "7", "E"},
    {"x02412", "A", "m6/9", ""}, {"022022", "E", "m6/9", ""}, {"x31233", "C", "m6/9", ""},
    {"x53455", "D", "m6/9", ""}, {"x75677", "E", "m6/9", ""},
    {"x32001", "C", "maj11", ""}, {"x33453", "C", "maj11", ""}, {"x55675", "D", "maj11", ""},
    {"010102", "E", "9#11", ""}, {"x32332", "C", "9#11", ""},
    {"x54554", "D", "9#11", ""}, {"x76776", "E", "9#11", ""},
};
// clang-format on

int noteIndex(std::string_view name)
{
    static const char* const names[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "H"};
    if (name == "B")
        return 10;
    for (int n = 0; n < 12; ++n) {
        if (name == names[n])
            return n;
    }
    return -1;
}

std::vector<std::string> fretTokens(std::string_view frets)
{
    std::vector<std::string> tokens;
    if (frets.find(' ') == std::string_view::npos) {
        for (char c : frets)
            tokens.emplace_back(1, c);
        return tokens;
    }
    std::istringstream words{std::string(frets)};
    for (std::string word; words >> word;)
        tokens.push_back(word);
    return tokens;
}

// Fingers do not change what sounds, so every fretted note gets finger 1.
bool play(AkkordDepotClass& doc, std::string_view frets)
{
    const std::vector<std::string> tokens = fretTokens(frets);
    if (static_cast<int>(tokens.size()) != doc.SaitenAnzahl())
        return false;
    doc.Loeschen();
    for (int s = 1; s <= doc.SaitenAnzahl(); ++s) {
        const std::string& token = tokens[s - 1];
        if (token == "x")
            continue;
        if (token == "0")
            doc.LeerSetzen(s, true);
        else
            doc.FingerSetzen(std::stoi(token), s, 1);
    }
    return true;
}

TrefferClass recognise(AkkordDepotClass& doc, int startString, TrefferClass* list = nullptr,
                       int* count = nullptr)
{
    TrefferClass result;
    doc.SetzeStartSaite(startString);
    doc.AkkordSetzen(KeinTon, 0);
    const int matches = doc.Erkennen(&result, list);
    if (count)
        *count = matches;
    doc.SetzeStartSaite(0);
    return result;
}

std::string chordName(const AkkordDepotClass& doc, const TrefferClass& chord)
{
    if (chord.AkkordTyp < 0)
        return "(none)";
    return doc.AkkordName(chord.Grundton, chord.AkkordTyp, chord.Basston);
}

std::string expectedName(const Voicing& v)
{
    return std::string(v.root) + v.type + (*v.bass ? std::string("/") + v.bass : std::string());
}

// The grip as the fingering editor builds it on an empty grip: the open strings switched on, then the
// fingers placed one by one, the highest string first, each placement clearing the open flag it covers.
void buildByHand(AkkordDepotClass& doc, const AkkordDatenClass& stored)
{
    doc.Loeschen();
    for (int s = 1; s <= doc.SaitenAnzahl(); ++s) {
        if (stored.Leer[s - 1] != 0)
            doc.LeerSetzen(s, true);
    }
    for (int i = stored.PunktAnzahl - 1; i >= 0; --i) {
        const FingerPunktClass& p = stored.Punkte[i];
        doc.FingerSetzen(p.Bund, p.Saite, p.Finger);
        doc.LeerBereinigen();
    }
}

class DefaultChordTable : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_doc = std::make_unique<AkkordDepotClass>();
        s_loadResult = s_doc->Laden(ZW_DEFAULT_TABLE);
    }
    static void TearDownTestSuite() { s_doc.reset(); }
    void SetUp() override { ASSERT_EQ(s_loadResult, LadenOk) << "cannot load " << ZW_DEFAULT_TABLE; }

    AkkordDepotClass& doc() { return *s_doc; }

    // One load for all tests: the table is 2.3 MB and the tests only read it.
    static std::unique_ptr<AkkordDepotClass> s_doc;
    static int s_loadResult;
};

std::unique_ptr<AkkordDepotClass> DefaultChordTable::s_doc;
int DefaultChordTable::s_loadResult = -1;

} // namespace

TEST_F(DefaultChordTable, LoadsAsAGuitarTableInStandardTuning)
{
    EXPECT_EQ(doc().Text(0), "Gitarre");
    EXPECT_FALSE(doc().Text(1).empty());
    EXPECT_NE(doc().Text(1).find("f\xFCr"), std::string::npos) << "the info text is Windows-1252";
    EXPECT_EQ(doc().AlsText(), "E-A-D-G-H-E");
    ASSERT_EQ(doc().SaitenAnzahl(), 6);
    StimmSaiteClass lowest;
    StimmSaiteClass highest;
    doc().SaiteLesen(1, &lowest);
    doc().SaiteLesen(6, &highest);
    EXPECT_EQ(lowest.Oktave, -1);
    EXPECT_EQ(highest.Oktave, 1);
    EXPECT_STREQ(doc().TonName(11, true), "H");
    EXPECT_FALSE(doc().IstGeaendert());
}

TEST_F(DefaultChordTable, HoldsABroadCatalogueAndManyGrips)
{
    EXPECT_EQ(doc().TypAnzahl(), MaxTypen) << "every place of the catalogue is used";
    EXPECT_GE(doc().Anzahl(), 900);
    std::set<std::string> names;
    for (int t = 0; t < doc().TypAnzahl(); ++t) {
        EXPECT_TRUE(names.insert(doc().TypName(t)).second) << "type name twice: " << doc().TypName(t);
        EXPECT_EQ(doc().IntervallAn(t, 0), 0) << doc().TypName(t) << " starts with its root";
        EXPECT_EQ(doc().IstOptional(t, 0), 0) << doc().TypName(t) << " requires its root";
    }
    for (const char* name :
         {"",  "m",     "7",    "m7",    "maj7", "sus4",    "dim7",   "m7b5",  "+",    "9",  "13",
          "5", "9sus4", "7#11", "maj13", "m6/9", "m(maj9)", "maj7#5", "maj11", "9#11", "m11"})
        EXPECT_EQ(names.count(name), 1u) << "missing type \"" << name << "\"";
}

TEST_F(DefaultChordTable, NewTypesHaveOpenAndMovableGrips)
{
    for (const char* name : {"9sus4", "7#11", "9#11", "maj11", "m6/9", "maj13", "m(maj9)", "maj7#5"}) {
        int type = -1;
        for (int t = 0; t < doc().TypAnzahl(); ++t) {
            if (std::string(doc().TypName(t)) == name)
                type = t;
        }
        ASSERT_GE(type, 0) << name;
        int open = 0;
        int movable = 0;
        for (int i = 0; i < doc().Anzahl(); ++i) {
            const AkkordDatenClass& grip = doc().Element(i);
            if (grip.AkkordTyp != type)
                continue;
            bool ringsOpen = false;
            for (int s = 0; s < MaxSaiten; ++s)
                ringsOpen = ringsOpen || grip.Leer[s] != 0;
            ++(ringsOpen ? open : movable);
        }
        EXPECT_GE(open, 1) << name << " has an open grip";
        EXPECT_GE(movable, 12) << name << " has a movable shape on every root";
    }
}

// Grips a first start used to name with another chord's name, each read by the recognition alone
// (no stored fingering) from the bass and by interval count.
TEST_F(DefaultChordTable, CommonGripsAreNamedAsPlayersReadThemInBothModes)
{
    struct Case
    {
        const char* frets;
        const char* fromBass;
        const char* byCount;
    };
    const Case cases[] = {
        {"x30013", "Csus2", "Csus2"},
        {"x02212", "Am6", "Am6"},
        {"320000", "G6", "G6"},
        {"x31213", "Cm6", "Cm6"},
        {"335563", "Csus4/G", "Csus4"},
        {"335343", "Cm7/G", "Cm7"},
        {"00x43x", "E7sus4", "E7sus4"},
        {"x02413", "Am9", "Am9"},
        {"x32030", "Cadd9", "Cadd9"},
        {"x02410", "Am(add9)", "Am(add9)"},
        {"x32233", "C6/9", "C6/9"},
        {"x02030", "A7sus4", "A7sus4"},
        {"x31233", "Cm6/9", "Cm6/9"},
        {"x32001", "Cmaj11", "Cmaj11"},
        {"x32332", "C9#11", "C9#11"},
        {"x54554", "D9#11", "D9#11"},
        {"x02010", "Am7", "Am7"},
        {"332010", "C/G", "C"},
        {"xx0230", "Dsus2", "Dsus2"},
        {"x35343", "Cm7", "Cm7"},
        {"x35363", "C7sus4", "C7sus4"},
        {"xx1124", "G#sus4/D#", "G#sus4"},
        // The same notes over the bass as 335563 and xx1124: a sus4 over its fifth, not a 7sus4
        // without one.
        {"x33311", "Fsus4/C", "Fsus4"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(play(doc(), c.frets)) << c.frets;
        EXPECT_EQ(chordName(doc(), recognise(doc(), StartSaiteBasston)), c.fromBass) << c.frets;
        EXPECT_EQ(chordName(doc(), recognise(doc(), 0)), c.byCount) << c.frets;
    }
}

TEST_F(DefaultChordTable, TypesDoWithoutTheNotesPlayersLeaveOut)
{
    const auto typeNamed = [this](std::string_view name) {
        for (int t = 0; t < doc().TypAnzahl(); ++t) {
            if (name == doc().TypName(t))
                return t;
        }
        return -1;
    };
    EXPECT_EQ(doc().IstOptional(typeNamed("m11"), 12), 1) << "m11 does without its 9";
    EXPECT_EQ(doc().IstOptional(typeNamed("6"), 6), 0) << "C-E-A over C is Am/C";
    EXPECT_EQ(doc().IstOptional(typeNamed("7sus4"), 6), 0) << "C-F-Bb over C is Fsus4/C";
    EXPECT_EQ(doc().IstOptional(typeNamed("9#11"), 6), 1) << "9#11 does without its 5";
    EXPECT_EQ(doc().IstOptional(typeNamed("7#11"), 6), 1) << "7#11 does without its 5";
    EXPECT_FALSE(doc().EnthaeltIntervall(typeNamed("sus4"), 9)) << "an optional 7 would tie with 7sus4";
    EXPECT_LT(typeNamed("7b5"), typeNamed("7#11")) << "the same notes without the 5 read as 7b5";
}

TEST_F(DefaultChordTable, GripsAreSortedByRootAndType)
{
    for (int i = 1; i < doc().Anzahl(); ++i) {
        const AkkordDatenClass& a = doc().Element(i - 1);
        const AkkordDatenClass& b = doc().Element(i);
        ASSERT_TRUE(a.Grundton < b.Grundton || (a.Grundton == b.Grundton && a.AkkordTyp <= b.AkkordTyp))
            << "grip " << i;
    }
}

TEST_F(DefaultChordTable, FingeringsArePlayable)
{
    for (int i = 0; i < doc().Anzahl(); ++i) {
        const AkkordDatenClass& grip = doc().Element(i);
        ASSERT_GT(grip.PunktAnzahl, 0) << "grip " << i;
        for (int a = 0; a < grip.PunktAnzahl; ++a) {
            const FingerPunktClass& p = grip.Punkte[a];
            EXPECT_GE(p.Finger, 1) << "grip " << i;
            EXPECT_LE(p.Finger, 4) << "grip " << i;
            EXPECT_EQ(grip.Leer[p.Saite - 1], 0) << "grip " << i << ": a fretted string is also marked open";
            for (int b = 0; b < grip.PunktAnzahl; ++b) {
                EXPECT_FALSE(p.Finger == grip.Punkte[b].Finger && p.Bund != grip.Punkte[b].Bund)
                    << "grip " << i << ": finger " << p.Finger << " at two frets";
            }
        }
    }
}

// Without the lookup of stored fingerings: a grip reads as it is filed when recognition starts at its
// bass, and most also by interval count.
TEST_F(DefaultChordTable, EveryStoredGripIsRecognisedFromItsBassAsItsChord)
{
    int byIntervalCount = 0;
    int misses = 0;
    for (int i = 0; i < doc().Anzahl(); ++i) {
        const AkkordDatenClass& stored = doc().Element(i);
        doc().Daten() = stored;
        TrefferClass filed;
        filed.Grundton = stored.Grundton;
        filed.AkkordTyp = stored.AkkordTyp;
        const TrefferClass fromBass = recognise(doc(), StartSaiteBasston);
        if (fromBass.Grundton != stored.Grundton || fromBass.AkkordTyp != stored.AkkordTyp) {
            ++misses;
            ADD_FAILURE() << "grip " << i << " is filed as " << chordName(doc(), filed) << " but reads as "
                          << chordName(doc(), fromBass);
        }
        const TrefferClass counted = recognise(doc(), 0);
        if (counted.Grundton == stored.Grundton && counted.AkkordTyp == stored.AkkordTyp)
            ++byIntervalCount;
    }
    EXPECT_EQ(misses, 0);
    EXPECT_GE(byIntervalCount * 100, doc().Anzahl() * 75)
        << byIntervalCount << " of " << doc().Anzahl() << " by interval count";
}

// With the lookup the program runs after every edit, each stored grip built by hand is named as filed
// in every mode: by interval count, from each start string, and from the bass.
TEST_F(DefaultChordTable, EveryStoredGripBuiltByHandIsNamedAsFiledInEveryMode)
{
    const int modes[] = {0, 1, 2, 3, 4, 5, 6, StartSaiteBasston};
    int misses = 0;
    for (int i = 0; i < doc().Anzahl(); ++i) {
        const AkkordDatenClass stored = doc().Element(i);
        for (int mode : modes) {
            FingersatzSucheClass suche;
            doc().SetzeStartSaite(mode);
            buildByHand(doc(), stored);
            const int found = suche.Uebernehmen(doc());
            TrefferClass result;
            doc().Erkennen(&result);
            int position = -1;
            doc().GriffeZaehlen(&position);
            const bool named = result.Grundton == stored.Grundton && result.AkkordTyp == stored.AkkordTyp;
            if (named && found == i && position >= 0)
                continue;
            if (++misses <= 20) {
                TrefferClass filed;
                filed.Grundton = stored.Grundton;
                filed.AkkordTyp = stored.AkkordTyp;
                ADD_FAILURE() << "grip " << i << " (" << chordName(doc(), filed) << ") built by hand in mode "
                              << mode << " reads " << chordName(doc(), result) << ", found at " << found
                              << ", position " << position;
            }
        }
    }
    doc().SetzeStartSaite(0);
    EXPECT_EQ(misses, 0);
}

TEST_F(DefaultChordTable, BuiltByHandInTheBassModeAnInversionShowsItsBass)
{
    int found = -1;
    for (int i = 0; i < doc().Anzahl() && found < 0; ++i) {
        const AkkordDatenClass& grip = doc().Element(i);
        if (std::string(doc().TonName(grip.Grundton, true)) == "D" && doc().BassTon(grip) == 6)
            found = i;
    }
    ASSERT_GE(found, 0) << "the table holds a D over F#";
    const AkkordDatenClass stored = doc().Element(found);
    FingersatzSucheClass suche;
    doc().SetzeStartSaite(StartSaiteBasston);
    buildByHand(doc(), stored);
    suche.Uebernehmen(doc());
    TrefferClass result;
    doc().Erkennen(&result);
    doc().SetzeStartSaite(0);
    EXPECT_EQ(chordName(doc(), result), "D/F#");
}

TEST_F(DefaultChordTable, StandardVoicingsAreNamedAsInSongbooks)
{
    int total = 0;
    int exact = 0;
    int listed = 0;
    int slashChords = 0;
    std::set<std::string> types;
    for (const Voicing& v : standardVoicings) {
        ++total;
        const int root = noteIndex(v.root);
        const int bass = *v.bass ? noteIndex(v.bass) : root;
        ASSERT_GE(root, 0) << v.frets << ": unknown root " << v.root;
        ASSERT_GE(bass, 0) << v.frets << ": unknown bass " << v.bass;
        ASSERT_TRUE(play(doc(), v.frets)) << v.frets;
        types.insert(v.type);
        slashChords += bass != root ? 1 : 0;

        const TrefferClass fromBass = recognise(doc(), StartSaiteBasston);
        const int shownBass = bass == root ? KeinTon : bass;
        if (fromBass.AkkordTyp >= 0 && std::strcmp(doc().TypName(fromBass.AkkordTyp), v.type) == 0 &&
            fromBass.Grundton == root && fromBass.Basston == shownBass)
            ++exact;
        else
            std::cout << "[ miss ] Basston " << v.frets << ": expected " << expectedName(v) << ", recognised "
                      << chordName(doc(), fromBass) << "\n";

        TrefferClass list[MaxTreffer];
        int count = 0;
        const TrefferClass counted = recognise(doc(), 0, list, &count);
        bool among = false;
        for (int i = 0; i < std::min(count, MaxTreffer); ++i) {
            among = among || (list[i].Grundton == root && list[i].AkkordTyp >= 0 &&
                              std::strcmp(doc().TypName(list[i].AkkordTyp), v.type) == 0);
        }
        if (among)
            ++listed;
        else
            std::cout << "[ miss ] Intervallanzahl " << v.frets << ": " << v.root << v.type
                      << " is not among the matches; recognised " << chordName(doc(), counted) << "\n";
    }
    std::cout << "[ score ] " << exact << " of " << total << " named exactly from the bass, " << listed
              << " of " << total << " among the matches by interval count\n";
    EXPECT_GE(total, 500);
    EXPECT_GE(slashChords, 40);
    for (int t = 0; t < doc().TypAnzahl(); ++t)
        EXPECT_EQ(types.count(doc().TypName(t)), 1u) << "no voicing of \"" << doc().TypName(t) << "\"";
    EXPECT_GE(exact * 100, total * 97) << exact << " of " << total;
    EXPECT_GE(listed * 100, total * 99) << listed << " of " << total;
}
