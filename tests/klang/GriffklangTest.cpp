#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "grip/Akkord.h"
#include "klang/Griffklang.h"
#include "klang/Saitenklang.h"

namespace {

constexpr int rate = GriffklangClass::Abtastrate;

double cents(double measured, double expected)
{
    return 1200.0 * std::log2(measured / expected);
}

std::vector<double> toDouble(const GriffklangClass& klang)
{
    return std::vector<double>(klang.Samples(), klang.Samples() + klang.SampleAnzahl());
}

// Normalised square difference function of x[from..from+window) at one lag.
double nsdf(const std::vector<double>& x, int from, int window, int lag)
{
    double cross = 0.0;
    double energy = 0.0;
    for (int n = from; n < from + window; ++n) {
        cross += x[n] * x[n + lag];
        energy += x[n] * x[n] + x[n + lag] * x[n + lag];
    }
    return energy > 0.0 ? 2.0 * cross / energy : 0.0;
}

// The peak near lag, refined by a parabola through its neighbours.
double refinedPeak(const std::vector<double>& x, int from, int window, int lag)
{
    double values[9];
    for (int i = 0; i < 9; ++i)
        values[i] = nsdf(x, from, window, lag - 4 + i);
    int best = 4;
    for (int i = 2; i <= 6; ++i) {
        if (values[i] > values[best])
            best = i;
    }
    const double a = values[best - 1];
    const double b = values[best];
    const double c = values[best + 1];
    const double denominator = a - 2.0 * b + c;
    const double offset = denominator < 0.0 ? 0.5 * (a - c) / denominator : 0.0;
    return lag - 4 + best + offset;
}

// Fundamental by autocorrelation: the first strong peak over a short stretch gives the period roughly,
// the peak many periods later over a long one pins it down to a small fraction of a sample.
double fundamental(const std::vector<double>& x, int from, int window)
{
    const int minLag = rate / 2000;
    const int maxLag = rate / 60;
    const int coarseWindow = 4096;
    std::vector<double> curve(maxLag + 2, 0.0);
    double highest = 0.0;
    for (int lag = minLag; lag <= maxLag + 1; ++lag) {
        curve[lag] = nsdf(x, from, coarseWindow, lag);
        highest = std::max(highest, curve[lag]);
    }
    int lag = minLag;
    while (lag < maxLag && curve[lag] > 0.0)
        ++lag;
    for (; lag < maxLag; ++lag) {
        if (curve[lag] >= 0.8 * highest && curve[lag] >= curve[lag - 1] && curve[lag] >= curve[lag + 1])
            break;
    }
    const double period = refinedPeak(x, from, window, lag);
    const int periods = std::max(1, static_cast<int>(8000 / period));
    return rate * periods / refinedPeak(x, from, window, static_cast<int>(std::lround(periods * period)));
}

double rms(const std::vector<double>& x, int from, int count)
{
    double sum = 0.0;
    for (int n = from; n < from + count; ++n)
        sum += x[n] * x[n];
    return std::sqrt(sum / count);
}

// Only string s sounds: open, or fretted at bund.
AkkordClass singleString(int s, int bund)
{
    AkkordClass griff;
    if (bund == 0)
        griff.LeerSetzen(s, true);
    else
        griff.FingerSetzen(bund, s, 1);
    return griff;
}

AkkordClass allOpen()
{
    AkkordClass griff;
    for (int s = 1; s <= 6; ++s)
        griff.LeerSetzen(s, true);
    return griff;
}

struct PitchCase
{
    int saite;
    int bund;
    double expected;
};

// E2 A2 D3 G3 B3 E4, then frets 1, 5 and 12 of the low E string.
const PitchCase pitchCases[] = {
    {1, 0, 82.4069},  {2, 0, 110.0},   {3, 0, 146.8324}, {4, 0, 195.9977},  {5, 0, 246.9417},
    {6, 0, 329.6276}, {1, 1, 87.3071}, {1, 5, 110.0},    {1, 12, 164.8138},
};

} // namespace

TEST(Griffklang, DefaultTuningSoundsE2ToE4)
{
    AkkordClass griff = allOpen();
    for (const PitchCase& c : pitchCases) {
        if (c.bund == 0) {
            EXPECT_NEAR(GriffklangClass::SaitenFrequenz(griff, c.saite), c.expected, 1e-3) << c.saite;
        }
    }
    EXPECT_NEAR(GriffklangClass::Frequenz(9, 1, 0), 440.0, 1e-9);
}

TEST(Griffklang, FourStringBassSoundsE1ToG2)
{
    AkkordClass griff;
    griff.SaiteEntfernen(5);
    griff.SaiteEntfernen(4);
    const int notes[4] = {4, 9, 2, 7};
    const int octaves[4] = {-2, -2, -1, -1};
    const double expected[4] = {41.2034, 55.0, 73.4162, 97.9989};
    for (int s = 1; s <= 4; ++s) {
        StimmSaiteClass saite;
        saite.Ton = static_cast<std::uint8_t>(notes[s - 1]);
        saite.Oktave = octaves[s - 1];
        griff.SaiteSetzen(s, saite);
        griff.LeerSetzen(s, true);
    }
    griff.LeerSetzen(5, true);
    for (int s = 1; s <= 4; ++s)
        EXPECT_NEAR(GriffklangClass::SaitenFrequenz(griff, s), expected[s - 1], 1e-3) << s;
    EXPECT_EQ(GriffklangClass::SaitenFrequenz(griff, 5), 0.0) << "a string beyond the tuning is silent";
    GriffklangClass klang;
    klang.Anschlagen(griff);
    EXPECT_EQ(klang.StimmenAnzahl(), 4);
}

TEST(Griffklang, HighestHeldFretSoundsAndMutedStringsAreSilent)
{
    AkkordClass griff;
    griff.FingerSetzen(3, 2, 1);
    griff.FingerSetzen(5, 2, 3);
    griff.LeerSetzen(4, true);
    EXPECT_NEAR(GriffklangClass::SaitenFrequenz(griff, 2), GriffklangClass::Frequenz(9, -1, 5), 1e-9);
    EXPECT_EQ(GriffklangClass::SaitenFrequenz(griff, 1), 0.0);
    EXPECT_NEAR(GriffklangClass::SaitenFrequenz(griff, 4), 195.9977, 1e-3);

    GriffklangClass klang;
    klang.Anschlagen(griff);
    ASSERT_EQ(klang.StimmenAnzahl(), 2);
    EXPECT_EQ(klang.Stimme(0).Saite, 2);
    EXPECT_EQ(klang.Stimme(0).Bund, 5);
    EXPECT_EQ(klang.Stimme(1).Saite, 4);
    EXPECT_EQ(klang.Stimme(1).Bund, 0);
    EXPECT_EQ(klang.Stimme(2).Saite, 0) << "no third voice";
}

TEST(Griffklang, AllMutedGivesNoSound)
{
    AkkordClass griff;
    GriffklangClass klang;
    EXPECT_EQ(klang.Anschlagen(griff), 0);
    EXPECT_EQ(klang.SampleAnzahl(), 0);
    EXPECT_EQ(klang.StimmenAnzahl(), 0);
}

TEST(Griffklang, RenderedPitchWithinThreeCents)
{
    GriffklangClass klang;
    for (const PitchCase& c : pitchCases) {
        ASSERT_GT(klang.Anschlagen(singleString(c.saite, c.bund)), rate);
        const std::vector<double> x = toDouble(klang);
        const double measured = fundamental(x, rate / 5, 16384);
        EXPECT_LT(std::fabs(cents(measured, c.expected)), 3.0)
            << "string " << c.saite << " fret " << c.bund << ": measured " << measured << " Hz, expected "
            << c.expected;
    }
}

// Seconds to fall by 60 dB, from a straight line through the level in dB of 50 ms windows between
// from and to seconds, as long as the level stays well above the samples' rounding.
double measuredDecay(const std::vector<double>& x, double from, double to)
{
    const int window = rate / 20;
    double st = 0.0, sl = 0.0, stt = 0.0, stl = 0.0;
    int n = 0;
    for (int start = static_cast<int>(from * rate); start + window <= static_cast<int>(to * rate);
         start += window) {
        const double t = (start + window / 2.0) / rate;
        const double value = rms(x, start, window);
        if (value < 30.0)
            break;
        const double level = 20.0 * std::log10(value);
        st += t;
        sl += level;
        stt += t * t;
        stl += t * level;
        ++n;
    }
    const double slope = (n * stl - st * sl) / (n * stt - st * st);
    return slope < 0.0 ? -60.0 / slope : 1e9;
}

TEST(Griffklang, LowerNotesRingLonger)
{
    struct DecayCase
    {
        int saite;
        int bund;
    };
    // From the 12th fret of the high E string down to the open low E string, each note lower than the
    // one before.
    const DecayCase cases[] = {{6, 12}, {6, 5}, {6, 0}, {5, 0}, {4, 0}, {3, 0}, {2, 0}, {1, 0}};
    GriffklangClass klang;
    double previous = 0.0;
    double highest = 0.0;
    for (const DecayCase& c : cases) {
        klang.Anschlagen(singleString(c.saite, c.bund));
        ASSERT_EQ(klang.StimmenAnzahl(), 1);
        const double chosen = klang.Stimme(0).Abklingzeit;
        // The level after the pluck's brightest overtones have gone, and before the last second fades.
        const double measured =
            measuredDecay(toDouble(klang), 0.5, GriffklangClass::Nachklang - GriffklangClass::Ausklang);
        EXPECT_GT(measured, previous * 1.15) << "string " << c.saite << " fret " << c.bund;
        // The overtones fall faster than the fundamental, so the whole sound falls a little faster.
        EXPECT_NEAR(measured, 0.85 * chosen, 0.2 * chosen) << "string " << c.saite << " fret " << c.bund;
        if (previous == 0.0)
            highest = measured;
        previous = measured;
    }
    EXPECT_GT(previous, 5.0 * highest) << "the open low E rings far longer than the high E's 12th fret";
    EXPECT_NEAR(GriffklangClass::Abklingzeit(82.4069), 12.0, 0.1);
    EXPECT_NEAR(GriffklangClass::Abklingzeit(659.2551), 1.5, 0.01);
}

TEST(Griffklang, EveryVoiceHasNoOffset)
{
    GriffklangClass klang;
    int voices = 0;
    for (int s = 1; s <= 6; ++s) {
        for (const int bund : {0, 1, 2, 3, 5, 7, 9, 12, 15, 19, 24}) {
            ASSERT_GT(klang.Anschlagen(singleString(s, bund)), 0);
            double sum = 0.0;
            for (int n = 0; n < klang.SampleAnzahl(); ++n)
                sum += klang.Samples()[n];
            const double mean = sum / klang.SampleAnzahl();
            EXPECT_LE(std::fabs(mean), 1.0) << "string " << s << " fret " << bund << ": mean " << mean;
            ++voices;
        }
    }
    EXPECT_EQ(voices, 66);

    // A bass's E1 and the deepest and highest notes the voice holds.
    for (const double frequency : {41.2034, 15.5, 3950.0}) {
        SaitenklangClass voice;
        ASSERT_TRUE(voice.Stimmen(frequency, GriffklangClass::Abklingzeit(frequency)));
        voice.Anschlagen(0x12345678u);
        std::vector<float> out(4 * rate, 0.0f);
        voice.Hinzufuegen(out.data(), static_cast<int>(out.size()), 10000.0f);
        double sum = 0.0;
        for (const float v : out)
            sum += v;
        EXPECT_LE(std::fabs(sum / out.size()), 1.0) << frequency << " Hz";
    }
}

TEST(Griffklang, SixStringsNeverReachFullScale)
{
    AkkordClass barre;
    for (int s = 1; s <= 6; ++s)
        barre.FingerSetzen(1, s, 1);
    AkkordClass high;
    for (int s = 1; s <= 6; ++s)
        high.FingerSetzen(17, s, 1);
    GriffklangClass klang;
    for (const AkkordClass* griff : {&barre, &high}) {
        for (const double spacing :
             {0.0, GriffklangClass::AnschlagAbstand, GriffklangClass::ZerlegtAbstand}) {
            const AkkordClass openStrings = allOpen();
            for (const AkkordClass* g : {griff, &openStrings}) {
                ASSERT_GT(klang.Rendern(*g, spacing), 0);
                const std::int16_t* s = klang.Samples();
                int peak = 0;
                for (int n = 0; n < klang.SampleAnzahl(); ++n)
                    peak = std::max(peak, std::abs(static_cast<int>(s[n])));
                EXPECT_LT(peak, 32767) << "spacing " << spacing;
                EXPECT_GT(peak, 3000) << "still clearly audible";
            }
        }
    }
}

TEST(Griffklang, StartsAndEndsWithoutClick)
{
    GriffklangClass klang;
    klang.Anschlagen(allOpen());
    const std::int16_t* s = klang.Samples();
    const int count = klang.SampleAnzahl();
    EXPECT_LT(std::abs(s[0]), 200) << "the first sample rises from silence";
    EXPECT_LT(std::abs(s[count - 1]), 50) << "the last sample has faded out";
    int step = 0;
    for (int n = count - rate / 100; n < count; ++n)
        step = std::max(step, std::abs(s[n] - s[n - 1]));
    EXPECT_LT(step, 200) << "the tail ends smoothly";
}

TEST(Griffklang, StrumOnsetsComeInStringOrderAtTheDelay)
{
    // A C major grip with the low E string muted: five strings sound.
    AkkordClass griff;
    griff.FingerSetzen(3, 2, 3);
    griff.FingerSetzen(2, 3, 2);
    griff.LeerSetzen(4, true);
    griff.FingerSetzen(1, 5, 1);
    griff.LeerSetzen(6, true);
    const double delay = 0.04;
    const int spacing = static_cast<int>(std::lround(delay * rate));
    GriffklangClass full;
    ASSERT_EQ(full.Rendern(griff, delay), 4 * spacing + static_cast<int>(GriffklangClass::Nachklang * rate));

    // Muting the strings from s upward leaves the sound before s's onset as it was, as long as the mix
    // stays below the limit where it would be turned down: the first sample that differs is s's onset.
    const int limit = static_cast<int>(0.9 * 32767);
    int previous = -1;
    int found = 0;
    for (int s = 2; s <= 6; ++s) {
        AkkordClass lower = griff;
        for (int m = s; m <= 6; ++m) {
            lower.LeerSetzen(m, false);
            for (int bund = 1; bund <= 3; ++bund)
                lower.FingerEntfernen(bund, m);
        }
        GriffklangClass part;
        part.Rendern(lower, delay);
        const int compared = part.SampleAnzahl() > 0 ? part.SampleAnzahl() - rate / 10 : full.SampleAnzahl();
        int onset = -1;
        for (int n = 0; n < compared && onset < 0; ++n) {
            const int before = part.SampleAnzahl() > 0 ? part.Samples()[n] : 0;
            ASSERT_LT(std::abs(before), limit);
            ASSERT_LT(std::abs(full.Samples()[n]), limit);
            if (full.Samples()[n] != before)
                onset = n;
        }
        const int expected = (s - 2) * spacing;
        // A first sample that rounds to zero may hide the onset by a sample or two.
        EXPECT_GE(onset, expected) << "string " << s;
        EXPECT_LT(onset, expected + 3) << "string " << s;
        EXPECT_GT(onset, previous) << "string order";
        previous = onset;
        ++found;
    }
    EXPECT_EQ(found, 5);
    for (int i = 0; i < full.StimmenAnzahl(); ++i)
        EXPECT_EQ(full.Stimme(i).Einsatz, i * spacing);
}

TEST(Griffklang, ArpeggioSpacesTheStringsFurther)
{
    GriffklangClass klang;
    klang.Zerlegen(allOpen());
    ASSERT_EQ(klang.StimmenAnzahl(), 6);
    const int spacing = static_cast<int>(std::lround(GriffklangClass::ZerlegtAbstand * rate));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(klang.Stimme(i).Einsatz, i * spacing);
    const std::vector<double> x = toDouble(klang);
    EXPECT_EQ(rms(x, spacing - 200, 200) > 0.0, true);
    klang.Anschlagen(allOpen());
    EXPECT_EQ(klang.Stimme(5).Einsatz,
              5 * static_cast<int>(std::lround(GriffklangClass::AnschlagAbstand * rate)));
}

TEST(Griffklang, NotesOutsideTheVoicesRangeMoveByOctaves)
{
    AkkordClass griff;
    StimmSaiteClass deep;
    deep.Ton = 0;
    deep.Oktave = -8;
    griff.SaiteSetzen(1, deep);
    griff.LeerSetzen(1, true);
    StimmSaiteClass high;
    high.Ton = 11;
    high.Oktave = 8;
    griff.SaiteSetzen(6, high);
    griff.FingerSetzen(30, 6, 4);
    GriffklangClass klang;
    ASSERT_GT(klang.Anschlagen(griff), 0);
    ASSERT_EQ(klang.StimmenAnzahl(), 2);
    for (int i = 0; i < 2; ++i) {
        const double f = klang.Stimme(i).Frequenz;
        EXPECT_GE(f, SaitenklangClass::TiefsteFrequenz);
        EXPECT_LE(f, SaitenklangClass::HoechsteFrequenz);
        const double exact = GriffklangClass::SaitenFrequenz(griff, klang.Stimme(i).Saite);
        const double octaves = std::log2(f / exact);
        EXPECT_NEAR(octaves, std::round(octaves), 1e-9) << "the same note in another octave";
    }
}

TEST(Saitenklang, RefusesFrequenciesItCannotHold)
{
    SaitenklangClass voice;
    EXPECT_FALSE(voice.Stimmen(5.0));
    EXPECT_FALSE(voice.Stimmen(20000.0));
    EXPECT_FALSE(voice.Stimmen(440.0, 0.0));
    EXPECT_EQ(voice.Laenge(), 0);
    float out[4] = {};
    voice.Hinzufuegen(out, 4, 1.0f);
    EXPECT_EQ(out[0], 0.0f) << "an untuned voice adds nothing";
    EXPECT_TRUE(voice.Stimmen(440.0));
    EXPECT_GT(voice.Laenge(), 100);
}
