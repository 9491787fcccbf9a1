#pragma once

#include <cstdint>

// One plucked string: a Karplus–Strong loop whose fractional delay tunes it exactly.
class SaitenklangClass
{
public:
    static constexpr int Abtastrate = 48000;
    // The loop holds one period: its length bounds the lowest note that can be played.
    static constexpr double TiefsteFrequenz = 15.0;
    static constexpr double HoechsteFrequenz = 4000.0;
    static constexpr int MaxLaenge = static_cast<int>(Abtastrate / TiefsteFrequenz) + 2;

    // Tunes the loop to frequenz (Hz); false and silent outside TiefsteFrequenz..HoechsteFrequenz.
    // nachklang: seconds until the fundamental has fallen by 60 dB.
    bool Stimmen(double frequenz, double nachklang = 2.0);
    // Fills the loop with a fresh pluck; the same zufall gives the same sound.
    void Anschlagen(std::uint32_t zufall);
    // Adds the next anzahl samples, times pegel, to ziel.
    void Hinzufuegen(float* ziel, int anzahl, float pegel);

    int Laenge() const { return m_laenge; }
    double Frequenz() const { return m_frequenz; }

private:
    static constexpr int taps = 6;
    // Sums of the loop's taps on its past input: all of them, and those from tap from on.
    double filterSum() const;
    double filterTail(int from) const;

    // Samples produced between two moves of the history to the front.
    static constexpr int stretch = 8192;

    // The string's past output: the loop reads one period and a few samples back.
    float m_verlauf[MaxLaenge + taps + stretch] = {};
    int m_gefuellt = 0;
    int m_laenge = 0;
    double m_frequenz = 0.0;
    // Averaging filter, loss and all-pass, unrolled four samples ahead (see Stimmen).
    float m_filter[taps] = {};
    float m_rueckkopplung = 0.0f;
    int m_gespielt = 0; // samples since the pluck, for the attack ramp
};
