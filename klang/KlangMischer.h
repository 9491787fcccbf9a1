#pragma once

#include <cstdint>
#include <vector>

// What an audio output plays: the newest sound, and the one it replaced fading out, so that a new play
// never cuts a wave in the middle.
class KlangMischerClass
{
public:
    static constexpr int Abtastrate = 48000;
    // Samples over which a replaced sound falls from its full level to silence: 10 ms.
    static constexpr int Ueberblendung = Abtastrate / 100;

    // Plays anzahl samples from the next one read on; what still sounds fades out over Ueberblendung
    // samples beneath it. No samples: only the fade-out.
    void Starten(const std::int16_t* samples, int anzahl);
    // Writes up to anzahl of the next samples to ziel; how many, 0 when everything has been played.
    int Lesen(std::int16_t* ziel, int anzahl);
    // Samples still to come.
    int Rest() const;

    // The level of a replaced sound i samples after the new one started: 1 before, 0 from Ueberblendung.
    static float Ausblendung(int i);

private:
    std::vector<std::int16_t> m_klang;
    int m_gelesen = 0;
    // The fading sound, already multiplied by its ramp, and how much of it has been read.
    float m_ausklang[Ueberblendung] = {};
    int m_ausklangGelesen = Ueberblendung;
};
