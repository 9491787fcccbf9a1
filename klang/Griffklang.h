#pragma once

#include <cstdint>
#include <vector>

#include "klang/Saitenklang.h"
#include "theory/Grenzen.h"

class AkkordClass;

// One string of a rendered grip: when it starts and what it sounds.
struct KlangStimmeClass
{
    int Saite = 0;
    int Bund = 0;             // highest held fret, 0 for an open string
    double Frequenz = 0.0;    // Hz, as played: moved by octaves into the voice's range
    double Abklingzeit = 0.0; // seconds until the fundamental has fallen by 60 dB
    int Einsatz = 0;          // first sample
    std::uint32_t Zufall = 0; // the pluck's noise
};

// The sound of a grip: its sounding strings plucked one after another, lowest first, as 16-bit samples
// at 48 kHz.
class GriffklangClass
{
public:
    static constexpr int Abtastrate = 48000;
    // Seconds between two strings: a strum, and a picked arpeggio.
    static constexpr double AnschlagAbstand = 0.025;
    static constexpr double ZerlegtAbstand = 0.25;
    // Seconds the sound lasts after the last string starts; its last second fades out, as a hand laid on
    // the strings would stop them.
    static constexpr double Nachklang = 4.0;
    static constexpr double Ausklang = 1.0;
    // A string's losses to the bridge and the air, as its quality factor: the fundamental loses the same
    // share in every period, so a note rings half as long an octave higher.
    static constexpr double Guete = 450.0;

    // Seconds until a note of frequenz Hz has fallen by 60 dB: 12 s for the low E string, 3 s for the
    // high E string, 1.5 s at its 12th fret.
    static double Abklingzeit(double frequenz);

    // Equal temperament at A4 = 440 Hz; octave offset 0 is the octave of D3, G3 and B3.
    static double Frequenz(int ton, int oktave, int bund);
    // What string s of the grip sounds with its tuning, raised by its highest fret; 0 when it is silent.
    static double SaitenFrequenz(const AkkordClass& griff, int saite);

    // Renders the grip's sounding strings abstand seconds apart; the sample count, 0 when none sounds.
    int Rendern(const AkkordClass& griff, double abstand);
    int Anschlagen(const AkkordClass& griff) { return Rendern(griff, AnschlagAbstand); }
    int Zerlegen(const AkkordClass& griff) { return Rendern(griff, ZerlegtAbstand); }

    const std::int16_t* Samples() const { return m_samples.data(); }
    int SampleAnzahl() const { return static_cast<int>(m_samples.size()); }
    int StimmenAnzahl() const { return m_stimmenAnzahl; }
    // Voice i (0-based) of the last rendering, a zero voice outside 0..StimmenAnzahl-1.
    KlangStimmeClass Stimme(int i) const;

private:
    KlangStimmeClass m_stimmen[MaxSaiten];
    int m_stimmenAnzahl = 0;
    SaitenklangClass m_saite;
    std::vector<float> m_mischung;
    std::vector<std::int16_t> m_samples;
};
