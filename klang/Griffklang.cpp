#include "klang/Griffklang.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "grip/Akkord.h"
#include "klang/Saitenklang.h"

namespace {

// Each string's level before the mix is checked; six strings in a strum rarely need less.
constexpr float stringLevel = 0.3f;
// The mix never goes above this, so six strings together leave headroom below full scale.
constexpr float peakLimit = 0.9f;
constexpr int fadeOutSamples = static_cast<int>(GriffklangClass::Ausklang * GriffklangClass::Abtastrate);
// Notes far off the guitar's range keep a decay that still sounds like a string.
constexpr double shortestDecay = 0.5;
constexpr double longestDecay = 15.0;
constexpr int midiOfOctaveZeroC = 48;

std::int16_t toSample(float v)
{
    const float clamped = std::clamp(v, -32767.0f, 32767.0f);
    return static_cast<std::int16_t>(clamped >= 0.0f ? clamped + 0.5f : clamped - 0.5f);
}

double playable(double frequency)
{
    // Tunings down to octave -8 and up to +8 exist; such notes are played in the nearest octave the
    // string voice can hold.
    while (frequency > 0.0 && frequency < SaitenklangClass::TiefsteFrequenz)
        frequency *= 2.0;
    while (frequency > SaitenklangClass::HoechsteFrequenz)
        frequency *= 0.5;
    return frequency;
}

} // namespace

double GriffklangClass::Frequenz(int ton, int oktave, int bund)
{
    const int midi = midiOfOctaveZeroC + 12 * oktave + ton + bund;
    return 440.0 * std::exp2((midi - 69) / 12.0);
}

double GriffklangClass::Abklingzeit(double frequenz)
{
    if (!(frequenz > 0.0))
        return 0.0;
    // Q is 2 pi times the energy stored over the energy lost per period; 60 dB are ln(1000) nepers of
    // amplitude, lost at pi f / Q nepers per second.
    const double seconds = Guete * std::log(1000.0) / (std::numbers::pi * frequenz);
    return std::clamp(seconds, shortestDecay, longestDecay);
}

double GriffklangClass::SaitenFrequenz(const AkkordClass& griff, int saite)
{
    if (saite < 1 || saite > griff.SaitenAnzahl() || griff.KlingenderTon(saite) == KeinTon)
        return 0.0;
    int highest = 0;
    for (int i = 0; i < griff.PunktAnzahl(); ++i) {
        const FingerPunktClass punkt = griff.Punkt(i);
        if (punkt.Saite == saite)
            highest = std::max(highest, static_cast<int>(punkt.Bund));
    }
    StimmSaiteClass open;
    griff.SaiteLesen(saite, &open);
    return Frequenz(open.Ton, open.Oktave, highest);
}

KlangStimmeClass GriffklangClass::Stimme(int i) const
{
    if (i < 0 || i >= m_stimmenAnzahl)
        return KlangStimmeClass{};
    return m_stimmen[i];
}

int GriffklangClass::Rendern(const AkkordClass& griff, double abstand)
{
    const int spacing = static_cast<int>(std::lround(std::max(0.0, abstand) * Abtastrate));
    m_stimmenAnzahl = 0;
    for (int s = 1; s <= griff.SaitenAnzahl() && s <= MaxSaiten; ++s) {
        const double frequency = SaitenFrequenz(griff, s);
        if (frequency <= 0.0)
            continue;
        KlangStimmeClass& stimme = m_stimmen[m_stimmenAnzahl];
        stimme.Saite = s;
        stimme.Frequenz = playable(frequency);
        stimme.Abklingzeit = Abklingzeit(stimme.Frequenz);
        stimme.Bund = 0;
        for (int i = 0; i < griff.PunktAnzahl(); ++i) {
            if (griff.Punkt(i).Saite == s)
                stimme.Bund = std::max(stimme.Bund, static_cast<int>(griff.Punkt(i).Bund));
        }
        stimme.Einsatz = m_stimmenAnzahl * spacing;
        stimme.Zufall = 0x2545F491u * static_cast<std::uint32_t>(s) + 0x6C078965u;
        ++m_stimmenAnzahl;
    }
    m_samples.clear();
    if (m_stimmenAnzahl == 0)
        return 0;

    const int total = m_stimmen[m_stimmenAnzahl - 1].Einsatz + static_cast<int>(Nachklang * Abtastrate);
    m_mischung.assign(static_cast<std::size_t>(total), 0.0f);
    for (int i = 0; i < m_stimmenAnzahl; ++i) {
        const KlangStimmeClass& stimme = m_stimmen[i];
        if (!m_saite.Stimmen(stimme.Frequenz, stimme.Abklingzeit))
            continue;
        m_saite.Anschlagen(stimme.Zufall);
        m_saite.Hinzufuegen(m_mischung.data() + stimme.Einsatz, total - stimme.Einsatz, stringLevel);
    }

    float peak = 0.0f;
    for (const float v : m_mischung)
        peak = std::max(peak, std::fabs(v));
    const float gain = (peak > peakLimit ? peakLimit / peak : 1.0f) * 32767.0f;
    m_samples.resize(static_cast<std::size_t>(total));
    const int fadeStart = std::max(0, total - fadeOutSamples);
    const float* const mix = m_mischung.data();
    std::int16_t* const out = m_samples.data();
    for (int n = 0; n < fadeStart; ++n)
        out[n] = toSample(mix[n] * gain);
    // The fade is a raised cosine, 0.5 - 0.5 cos(pi x) for x from 1 down to 0; the cosine turns by a fixed
    // angle each sample, a rotation instead of a cosine per sample.
    const double step = std::numbers::pi / std::max(1, total - fadeStart);
    const double turnCos = std::cos(step);
    const double turnSin = std::sin(step);
    double c = -1.0; // cos(pi x) at x = 1
    double sn = 0.0;
    for (int n = fadeStart; n < total; ++n) {
        out[n] = toSample(mix[n] * gain * static_cast<float>(0.5 - 0.5 * c));
        const double next = c * turnCos + sn * turnSin;
        sn = sn * turnCos - c * turnSin;
        c = next;
    }
    return total;
}
