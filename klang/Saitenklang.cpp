#include "klang/Saitenklang.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// A one-millisecond ramp keeps the noise burst from starting with a step.
constexpr int attackSamples = SaitenklangClass::Abtastrate / 1000;
// Where the pick meets the string, as a fraction of its length: it shapes the overtones.
constexpr double pickPosition = 0.13;
// One-pole low-pass over the noise: a softer pluck than plain white noise.
constexpr float pluckSmoothing = 0.35f;

std::uint32_t nextRandom(std::uint32_t& state)
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

} // namespace

bool SaitenklangClass::Stimmen(double frequenz, double nachklang)
{
    m_laenge = 0;
    m_frequenz = 0.0;
    if (!(frequenz >= TiefsteFrequenz && frequenz <= HoechsteFrequenz) || !(nachklang > 0.0))
        return false;
    // The loop delays by its length, half a sample in the averaging filter and the all-pass's fraction,
    // which stays within 0.1..1.1 where a first-order all-pass has a flat phase delay.
    const double period = Abtastrate / frequenz - 0.5;
    const int length = static_cast<int>(std::floor(period - 0.1));
    const double fraction = period - length;
    m_laenge = length;
    m_allpass = static_cast<float>((1.0 - fraction) / (1.0 + fraction));
    // The averaging filter alone loses cos(pi f / fs) per period; the rest of the decay comes from here.
    const double wanted = std::pow(10.0, -3.0 / (frequenz * nachklang));
    const double filter = std::cos(std::numbers::pi * frequenz / Abtastrate);
    m_verlust = static_cast<float>(std::min(1.0, wanted / filter));
    m_frequenz = frequenz;
    return true;
}

void SaitenklangClass::Anschlagen(std::uint32_t zufall)
{
    m_position = 0;
    m_vorher = 0.0f;
    m_allpassEin = 0.0f;
    m_allpassAus = 0.0f;
    m_gespielt = 0;
    if (m_laenge <= 0)
        return;
    std::uint32_t state = zufall != 0 ? zufall : 0x9E3779B9u;
    float smooth = 0.0f;
    for (int i = 0; i < m_laenge; ++i) {
        const float noise = static_cast<float>(nextRandom(state) >> 8) * (2.0f / 16777216.0f) - 1.0f;
        smooth += (1.0f - pluckSmoothing) * (noise - smooth);
        m_linie[i] = smooth;
    }
    // The pick's position cancels the overtones that have a node there.
    const int pick = std::max(1, static_cast<int>(std::lround(pickPosition * m_laenge)));
    for (int i = m_laenge - 1; i >= pick; --i)
        m_linie[i] -= m_linie[i - pick];
    // No offset: a constant would ring as long as the note and thump at the start and the end.
    double sum = 0.0;
    for (int i = 0; i < m_laenge; ++i)
        sum += m_linie[i];
    const float mean = static_cast<float>(sum / m_laenge);
    float peak = 0.0f;
    for (int i = 0; i < m_laenge; ++i) {
        m_linie[i] -= mean;
        peak = std::max(peak, std::fabs(m_linie[i]));
    }
    if (peak > 0.0f) {
        const float scale = 1.0f / peak;
        for (int i = 0; i < m_laenge; ++i)
            m_linie[i] *= scale;
    }
}

void SaitenklangClass::Hinzufuegen(float* ziel, int anzahl, float pegel)
{
    if (m_laenge <= 0 || anzahl <= 0)
        return;
    const int length = m_laenge;
    const float c = m_allpass;
    const float loss = 0.5f * m_verlust;
    float* const line = m_linie;
    int position = m_position;
    float previous = m_vorher;
    float allpassIn = m_allpassEin;
    float allpassOut = m_allpassAus;
    const auto step = [&](int at) {
        const float delayed = line[at];
        const float averaged = loss * (delayed + previous);
        previous = delayed;
        // First-order all-pass: the only recursion from one sample to the next.
        const float partial = c * averaged + allpassIn;
        allpassIn = averaged;
        allpassOut = partial - c * allpassOut;
        line[at] = allpassOut;
        return allpassOut;
    };
    int n = 0;
    for (; n < anzahl && m_gespielt < attackSamples; ++n, ++m_gespielt) {
        const float ramp = static_cast<float>(m_gespielt + 1) / (attackSamples + 1);
        ziel[n] += pegel * ramp * step(position);
        if (++position == length)
            position = 0;
    }
    // Stretches up to the end of the delay line keep the wrap test out of the inner loop.
    while (n < anzahl) {
        const int stretch = std::min(anzahl - n, length - position);
        float* const out = ziel + n;
        for (int k = 0; k < stretch; ++k)
            out[k] += pegel * step(position + k);
        n += stretch;
        position += stretch;
        if (position == length)
            position = 0;
    }
    m_position = position;
    m_vorher = previous;
    m_allpassEin = allpassIn;
    m_allpassAus = allpassOut;
}
