#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>

// The 44-byte header of a RIFF/WAVE file with 16-bit PCM samples, little-endian as in the file.
struct WavKopfClass
{
    char Riff[4] = {'R', 'I', 'F', 'F'};
    std::uint32_t RiffGroesse = 36; // file size minus 8
    char Wave[4] = {'W', 'A', 'V', 'E'};
    char Fmt[4] = {'f', 'm', 't', ' '};
    std::uint32_t FmtGroesse = 16;
    std::uint16_t Format = 1; // PCM
    std::uint16_t Kanaele = 1;
    std::uint32_t Abtastrate = 48000;
    std::uint32_t BytesProSekunde = 96000;
    std::uint16_t BlockGroesse = 2;
    std::uint16_t BitsProSample = 16;
    char Data[4] = {'d', 'a', 't', 'a'};
    std::uint32_t DatenGroesse = 0;
};
static_assert(sizeof(WavKopfClass) == 44);
static_assert(offsetof(WavKopfClass, RiffGroesse) == 4);
static_assert(offsetof(WavKopfClass, Wave) == 8);
static_assert(offsetof(WavKopfClass, Fmt) == 12);
static_assert(offsetof(WavKopfClass, FmtGroesse) == 16);
static_assert(offsetof(WavKopfClass, Format) == 20);
static_assert(offsetof(WavKopfClass, Kanaele) == 22);
static_assert(offsetof(WavKopfClass, Abtastrate) == 24);
static_assert(offsetof(WavKopfClass, BytesProSekunde) == 28);
static_assert(offsetof(WavKopfClass, BlockGroesse) == 32);
static_assert(offsetof(WavKopfClass, BitsProSample) == 34);
static_assert(offsetof(WavKopfClass, Data) == 36);
static_assert(offsetof(WavKopfClass, DatenGroesse) == 40);

// Results of WavDateiClass::Speichern.
enum WavErgebnis {
    WavGespeichert = 0,
    WavNichtAngelegt = 1, // the file could not be created
    WavSchreibfehler = 2, // it was created, but writing failed; the partial file is removed
    WavZuLang = 3,        // more samples than a WAV file can hold
};

// Writes 16-bit mono WAV files.
class WavDateiClass
{
public:
    // The header for anzahl samples of one channel at abtastrate.
    static WavKopfClass Kopf(std::size_t anzahl, int abtastrate);
    static bool Schreiben(std::ostream& out, const std::int16_t* samples, std::size_t anzahl, int abtastrate);
    // fehler, when given, receives the system's error number of a failure (0 when none is known).
    static WavErgebnis Speichern(const std::string& pfad, const std::int16_t* samples, std::size_t anzahl,
                                 int abtastrate, int* fehler = nullptr);
};
