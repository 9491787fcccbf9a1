#include "klang/WavDatei.h"

#include <bit>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <limits>
#include <ostream>

// The header and the samples are written as they lie in memory.
static_assert(std::endian::native == std::endian::little);

namespace {

constexpr std::size_t maxSamples = (std::numeric_limits<std::uint32_t>::max() - 36) / 2;

} // namespace

WavKopfClass WavDateiClass::Kopf(std::size_t anzahl, int abtastrate)
{
    WavKopfClass kopf;
    kopf.DatenGroesse = static_cast<std::uint32_t>(anzahl * 2);
    kopf.RiffGroesse = 36 + kopf.DatenGroesse;
    kopf.Abtastrate = static_cast<std::uint32_t>(abtastrate);
    kopf.BytesProSekunde = kopf.Abtastrate * kopf.BlockGroesse;
    return kopf;
}

bool WavDateiClass::Schreiben(std::ostream& out, const std::int16_t* samples, std::size_t anzahl,
                              int abtastrate)
{
    if (anzahl > maxSamples || abtastrate <= 0 || (anzahl > 0 && samples == nullptr))
        return false;
    const WavKopfClass kopf = Kopf(anzahl, abtastrate);
    out.write(reinterpret_cast<const char*>(&kopf), sizeof kopf);
    if (anzahl > 0)
        out.write(reinterpret_cast<const char*>(samples), static_cast<std::streamsize>(anzahl * 2));
    out.flush();
    return static_cast<bool>(out);
}

WavErgebnis WavDateiClass::Speichern(const std::string& pfad, const std::int16_t* samples, std::size_t anzahl,
                                     int abtastrate, int* fehler)
{
    int ignored = 0;
    int& error = fehler ? *fehler : ignored;
    error = 0;
    if (anzahl > maxSamples)
        return WavZuLang;
    errno = 0;
    std::ofstream out(pfad, std::ios::binary | std::ios::trunc);
    if (!out) {
        error = errno;
        return WavNichtAngelegt;
    }
    bool written = Schreiben(out, samples, anzahl, abtastrate);
    out.close();
    written = written && !out.fail();
    if (!written) {
        error = errno;
        // Only a file of our own goes; a device such as /dev/full stays.
        std::error_code ignoredError;
        if (std::filesystem::is_regular_file(pfad, ignoredError))
            std::filesystem::remove(pfad, ignoredError);
        return WavSchreibfehler;
    }
    return WavGespeichert;
}
