#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "klang/KlangMischer.h"

namespace {

constexpr int fade = KlangMischerClass::Ueberblendung;

// A full-scale tone that a cut would end with a step.
std::vector<std::int16_t> tone(int count, double hz, double level)
{
    std::vector<std::int16_t> samples(static_cast<std::size_t>(count));
    for (int n = 0; n < count; ++n)
        samples[static_cast<std::size_t>(n)] = static_cast<std::int16_t>(
            std::lround(level * std::sin(2.0 * 3.14159265358979 * hz * n / 48000.0)));
    return samples;
}

std::vector<std::int16_t> readAll(KlangMischerClass& mischer, int chunk)
{
    std::vector<std::int16_t> out;
    std::vector<std::int16_t> buffer(static_cast<std::size_t>(chunk));
    while (const int n = mischer.Lesen(buffer.data(), chunk))
        out.insert(out.end(), buffer.begin(), buffer.begin() + n);
    return out;
}

} // namespace

TEST(KlangMischer, PlaysASoundAsItIs)
{
    const std::vector<std::int16_t> a = tone(5000, 440.0, 20000.0);
    KlangMischerClass mischer;
    EXPECT_EQ(mischer.Rest(), 0);
    mischer.Starten(a.data(), static_cast<int>(a.size()));
    EXPECT_EQ(mischer.Rest(), 5000);
    EXPECT_EQ(readAll(mischer, 333), a) << "read in odd pieces";
    std::int16_t one = 0;
    EXPECT_EQ(mischer.Lesen(&one, 1), 0) << "then nothing more";
}

TEST(KlangMischer, ARetriggerFadesThePreviousSoundOutWithinTenMilliseconds)
{
    EXPECT_EQ(fade, 480) << "10 ms at 48 kHz";
    const std::vector<std::int16_t> a = tone(48000, 220.0, 30000.0);
    const std::vector<std::int16_t> b = tone(3000, 330.0, 1000.0);
    for (const int played : {0, 1234, 47800}) {
        KlangMischerClass mischer;
        mischer.Starten(a.data(), static_cast<int>(a.size()));
        std::vector<std::int16_t> first(static_cast<std::size_t>(played) + 1);
        ASSERT_EQ(mischer.Lesen(first.data(), played), played);
        mischer.Starten(b.data(), static_cast<int>(b.size()));
        const std::vector<std::int16_t> out = readAll(mischer, 100);
        ASSERT_EQ(out.size(), b.size());
        int previous = played > 0 ? a[static_cast<std::size_t>(played - 1)] : 0;
        int step = 0;
        double level = 1.0;
        for (int i = 0; i < static_cast<int>(out.size()); ++i) {
            const double old = i < fade && played + i < static_cast<int>(a.size())
                                   ? a[static_cast<std::size_t>(played + i)]
                                   : 0.0;
            const double gain = KlangMischerClass::Ausblendung(i);
            EXPECT_LE(gain, level) << "the fade only falls";
            level = gain;
            EXPECT_NEAR(out[static_cast<std::size_t>(i)], b[static_cast<std::size_t>(i)] + gain * old, 1.0)
                << "sample " << i << " after " << played;
            step = std::max(step, std::abs(out[static_cast<std::size_t>(i)] - previous));
            previous = out[static_cast<std::size_t>(i)];
        }
        EXPECT_EQ(KlangMischerClass::Ausblendung(fade - 1) > 0.0f, true);
        EXPECT_EQ(KlangMischerClass::Ausblendung(fade), 0.0f) << "nothing of the old sound after 10 ms";
        // A cut at full scale would jump by up to 30000; the sine itself moves by at most 870 a sample.
        EXPECT_LT(step, 1200) << "after " << played;
    }
}

TEST(KlangMischer, SilenceOrARetriggerDuringAFadeAlsoFades)
{
    const std::vector<std::int16_t> a(20000, 20000);
    const std::vector<std::int16_t> b(20000, -10000);
    KlangMischerClass mischer;
    mischer.Starten(a.data(), static_cast<int>(a.size()));
    std::vector<std::int16_t> out(2000);
    mischer.Lesen(out.data(), 1000);
    mischer.Starten(b.data(), static_cast<int>(b.size()));
    ASSERT_EQ(mischer.Lesen(out.data(), 100), 100);
    // A third play 100 samples into the fade: the first sound keeps falling along its ramp, the second
    // joins it from its full level.
    mischer.Starten(nullptr, 0);
    EXPECT_EQ(mischer.Rest(), fade);
    const std::vector<std::int16_t> rest = readAll(mischer, 64);
    ASSERT_EQ(rest.size(), static_cast<std::size_t>(fade));
    for (int i = 0; i < fade; ++i) {
        const double expected =
            20000.0 * KlangMischerClass::Ausblendung(100 + i) - 10000.0 * KlangMischerClass::Ausblendung(i);
        EXPECT_NEAR(rest[static_cast<std::size_t>(i)], expected, 1.0) << i;
    }
    EXPECT_EQ(mischer.Rest(), 0);
}
