#include "klang/Saitenklang.h"

#include <algorithm>
#include <cmath>
#include <cstring>
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
    const double c = (1.0 - fraction) / (1.0 + fraction);
    // The averaging filter alone loses cos(pi f / fs) per period; the rest of the decay comes from here.
    const double wanted = std::pow(10.0, -3.0 / (frequenz * nachklang));
    const double filter = std::cos(std::numbers::pi * frequenz / Abtastrate);
    const double loss = std::min(1.0, wanted / filter);

    // y[n] = c p[n] + p[n-1] - c y[n-1] with p[n] = loss (x[n] + x[n-1])/2 and x[n] = y[n-length].
    // Four steps at once, y[n] = sum of h[j] x[n-j] + c^4 y[n-4]: the recursion then reaches four
    // samples back instead of one, and runs four samples side by side.
    const double u[3] = {0.5 * loss * c, 0.5 * loss * (1.0 + c), 0.5 * loss};
    const double ahead[4] = {1.0, -c, c * c, -c * c * c};
    double h[taps] = {};
    for (int i = 0; i < 3; ++i) {
        for (int k = 0; k < 4; ++k)
            h[i + k] += u[i] * ahead[k];
    }
    for (int j = 0; j < taps; ++j)
        m_filter[j] = static_cast<float>(h[j]);
    m_rueckkopplung = static_cast<float>(c * c * c * c);
    m_laenge = length;
    m_frequenz = frequenz;
    return true;
}

void SaitenklangClass::Anschlagen(std::uint32_t zufall)
{
    m_gespielt = 0;
    m_gefuellt = 0;
    if (m_laenge <= 0)
        return;
    // The history holds one period of noise and a few samples more for the filter to reach back.
    const int count = m_laenge + taps;
    float* const line = m_verlauf;
    std::uint32_t state = zufall != 0 ? zufall : 0x9E3779B9u;
    float smooth = 0.0f;
    for (int i = 0; i < count; ++i) {
        const float noise = static_cast<float>(nextRandom(state) >> 8) * (2.0f / 16777216.0f) - 1.0f;
        smooth += (1.0f - pluckSmoothing) * (noise - smooth);
        line[i] = smooth;
    }
    // The pick's position cancels the overtones that have a node there.
    const int pick = std::max(1, static_cast<int>(std::lround(pickPosition * m_laenge)));
    for (int i = count - 1; i >= pick; --i)
        line[i] -= line[i - pick];
    // No offset: the loop passes a constant on with its loss, so any offset in the pluck would ring as
    // long as the note. The loop y[n] = sum of a[k] y[n-k] sums its whole future output to
    // sum of w[m] y[-m] / (1 - sum of a[k]), with w[m] = sum of a[k] over k >= m; the pluck is moved so
    // that this weighted sum, and with it the mean of everything the voice ever plays, is zero. Here
    // a[4] is the feedback and a[length + j] the filter's taps.
    const double inputSum = filterSum();
    const double loopSum = static_cast<double>(m_rueckkopplung) + inputSum;
    double weighted = 0.0;
    double weights = 0.0;
    for (int m = 1; m <= m_laenge + taps - 1; ++m) {
        const double w = m <= 4 ? loopSum : m <= m_laenge ? inputSum : filterTail(m - m_laenge);
        weighted += w * line[count - m];
        weights += w;
    }
    const float offset = static_cast<float>(weighted / weights);
    float peak = 0.0f;
    for (int i = 0; i < count; ++i) {
        line[i] -= offset;
        peak = std::max(peak, std::fabs(line[i]));
    }
    if (peak > 0.0f) {
        const float scale = 1.0f / peak;
        for (int i = 0; i < count; ++i)
            line[i] *= scale;
    }
    m_gefuellt = count;
}

double SaitenklangClass::filterSum() const
{
    return filterTail(0);
}

double SaitenklangClass::filterTail(int from) const
{
    double sum = 0.0;
    for (int j = std::max(0, from); j < taps; ++j)
        sum += m_filter[j];
    return sum;
}

void SaitenklangClass::Hinzufuegen(float* ziel, int anzahl, float pegel)
{
    if (m_laenge <= 0 || m_gefuellt == 0 || anzahl <= 0)
        return;
    const int history = m_laenge + taps;
    const int capacity = history + stretch;
    const float h0 = m_filter[0], h1 = m_filter[1], h2 = m_filter[2];
    const float h3 = m_filter[3], h4 = m_filter[4], h5 = m_filter[5];
    const float feedback = m_rueckkopplung;
    while (anzahl > 0) {
        if (m_gefuellt == capacity) {
            std::memmove(m_verlauf, m_verlauf + capacity - history, sizeof(float) * history);
            m_gefuellt = history;
        }
        // A block never reaches back less than one period, so it only reads samples made before it.
        const int block = std::min({anzahl, m_laenge, capacity - m_gefuellt});
        float* __restrict const out = m_verlauf + m_gefuellt;
        const float* __restrict const in = m_verlauf + m_gefuellt - m_laenge;
        for (int k = 0; k < block; ++k)
            out[k] = h0 * in[k] + h1 * in[k - 1] + h2 * in[k - 2] + h3 * in[k - 3] + h4 * in[k - 4] +
                     h5 * in[k - 5];
        for (int k = 0; k < block; ++k)
            out[k] += feedback * out[k - 4];
        int k = 0;
        for (; k < block && m_gespielt < attackSamples; ++k, ++m_gespielt)
            ziel[k] += pegel * (static_cast<float>(m_gespielt + 1) / (attackSamples + 1)) * out[k];
        for (; k < block; ++k)
            ziel[k] += pegel * out[k];
        m_gefuellt += block;
        ziel += block;
        anzahl -= block;
    }
}
