#include "klang/KlangMischer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

float KlangMischerClass::Ausblendung(int i)
{
    if (i < 0)
        return 1.0f;
    if (i >= Ueberblendung)
        return 0.0f;
    // A raised cosine: no corner where the fade begins or where it ends.
    return static_cast<float>(0.5 + 0.5 * std::cos(std::numbers::pi * (i + 1) / (Ueberblendung + 1)));
}

void KlangMischerClass::Starten(const std::int16_t* samples, int anzahl)
{
    // A fade still running goes on along its own ramp, the sound playing until now joins it at full level.
    float fading[Ueberblendung] = {};
    for (int i = 0; i < Ueberblendung && m_ausklangGelesen + i < Ueberblendung; ++i)
        fading[i] = m_ausklang[m_ausklangGelesen + i];
    const int left = static_cast<int>(m_klang.size()) - m_gelesen;
    for (int i = 0; i < Ueberblendung && i < left; ++i)
        fading[i] += Ausblendung(i) * m_klang[static_cast<std::size_t>(m_gelesen + i)];
    std::copy(fading, fading + Ueberblendung, m_ausklang);
    m_ausklangGelesen = 0;
    if (samples != nullptr && anzahl > 0)
        m_klang.assign(samples, samples + anzahl);
    else
        m_klang.clear();
    m_gelesen = 0;
}

int KlangMischerClass::Rest() const
{
    return std::max(static_cast<int>(m_klang.size()) - m_gelesen, Ueberblendung - m_ausklangGelesen);
}

int KlangMischerClass::Lesen(std::int16_t* ziel, int anzahl)
{
    const int count = std::clamp(Rest(), 0, std::max(0, anzahl));
    const int sound = std::min(count, static_cast<int>(m_klang.size()) - m_gelesen);
    for (int i = 0; i < count; ++i) {
        float v = i < sound ? m_klang[static_cast<std::size_t>(m_gelesen + i)] : 0.0f;
        if (m_ausklangGelesen + i < Ueberblendung)
            v += m_ausklang[m_ausklangGelesen + i];
        v = std::clamp(v, -32768.0f, 32767.0f);
        ziel[i] = static_cast<std::int16_t>(std::lround(v));
    }
    m_gelesen += sound;
    m_ausklangGelesen = std::min(Ueberblendung, m_ausklangGelesen + count);
    return count;
}
