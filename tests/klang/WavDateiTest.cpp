#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "klang/WavDatei.h"
#include "tests/support/TestDateien.h"

namespace {

std::uint32_t u32(const std::string& b, std::size_t at)
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

std::uint16_t u16(const std::string& b, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      static_cast<unsigned char>(b[at + 1]) << 8);
}

// A reader that walks the chunks, as a player would, and returns the samples; false when malformed.
bool readWav(const std::string& b, int& rate, std::vector<std::int16_t>& samples)
{
    if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0 ||
        u32(b, 4) != b.size() - 8)
        return false;
    bool format = false;
    for (std::size_t at = 12; at + 8 <= b.size();) {
        const std::string id = b.substr(at, 4);
        const std::uint32_t size = u32(b, at + 4);
        if (at + 8 + size > b.size())
            return false;
        if (id == "fmt ") {
            if (u16(b, at + 8) != 1 || u16(b, at + 10) != 1 || u16(b, at + 22) != 16)
                return false;
            rate = static_cast<int>(u32(b, at + 12));
            format = true;
        } else if (id == "data" && format) {
            samples.resize(size / 2);
            for (std::size_t i = 0; i < samples.size(); ++i)
                samples[i] = static_cast<std::int16_t>(u16(b, at + 8 + 2 * i));
            return true;
        }
        at += 8 + size + (size & 1);
    }
    return false;
}

std::vector<std::int16_t> ramp()
{
    std::vector<std::int16_t> s;
    for (int i = -32768; i <= 32767; i += 257)
        s.push_back(static_cast<std::int16_t>(i));
    s.push_back(32767);
    return s;
}

} // namespace

TEST(WavDatei, HeaderFieldsDescribeSixteenBitMono)
{
    const std::vector<std::int16_t> s = ramp();
    std::ostringstream out;
    ASSERT_TRUE(WavDateiClass::Schreiben(out, s.data(), s.size(), 48000));
    const std::string b = out.str();
    ASSERT_EQ(b.size(), 44 + 2 * s.size());
    EXPECT_EQ(b.substr(0, 4), "RIFF");
    EXPECT_EQ(u32(b, 4), 36 + 2 * s.size());
    EXPECT_EQ(b.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(u32(b, 16), 16u);
    EXPECT_EQ(u16(b, 20), 1) << "PCM";
    EXPECT_EQ(u16(b, 22), 1) << "mono";
    EXPECT_EQ(u32(b, 24), 48000u);
    EXPECT_EQ(u32(b, 28), 96000u) << "bytes per second";
    EXPECT_EQ(u16(b, 32), 2) << "block size";
    EXPECT_EQ(u16(b, 34), 16) << "bits per sample";
    EXPECT_EQ(b.substr(36, 4), "data");
    EXPECT_EQ(u32(b, 40), 2 * s.size()) << "sample count times two";
}

TEST(WavDatei, FileRoundTrip)
{
    TempFolder folder;
    const std::vector<std::int16_t> s = ramp();
    const std::string path = folder.file("Klang.wav");
    ASSERT_EQ(WavDateiClass::Speichern(path, s.data(), s.size(), 44100), WavGespeichert);
    int rate = 0;
    std::vector<std::int16_t> back;
    ASSERT_TRUE(readWav(readFile(path), rate, back));
    EXPECT_EQ(rate, 44100);
    EXPECT_EQ(back, s);
}

TEST(WavDatei, EmptySoundIsAValidFile)
{
    std::ostringstream out;
    ASSERT_TRUE(WavDateiClass::Schreiben(out, nullptr, 0, 48000));
    int rate = 0;
    std::vector<std::int16_t> back{1};
    ASSERT_TRUE(readWav(out.str(), rate, back));
    EXPECT_TRUE(back.empty());
}

TEST(WavDatei, OverwritesAnExistingFile)
{
    TempFolder folder;
    const std::string path = folder.file("alt.wav");
    writeFile(path, std::string(10000, 'x'));
    const std::int16_t s[3] = {1, -2, 3};
    ASSERT_EQ(WavDateiClass::Speichern(path, s, 3, 48000), WavGespeichert);
    EXPECT_EQ(std::filesystem::file_size(path), 50u);
}

TEST(WavDatei, FailuresAreReported)
{
    TempFolder folder;
    const std::int16_t s[3] = {1, 2, 3};
    int fehler = -1;
    EXPECT_EQ(WavDateiClass::Speichern(folder.file("fehlt/Klang.wav"), s, 3, 48000, &fehler),
              WavNichtAngelegt);
    EXPECT_EQ(fehler, ENOENT) << "the system's reason comes along";
    EXPECT_EQ(WavDateiClass::Speichern(folder.path().string(), s, 3, 48000), WavNichtAngelegt)
        << "a folder is no file";
    std::ostringstream out;
    EXPECT_FALSE(WavDateiClass::Schreiben(out, nullptr, 3, 48000));
    EXPECT_FALSE(WavDateiClass::Schreiben(out, s, 3, 0));
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_EQ(WavDateiClass::Speichern("/dev/full", s, 3, 48000, &fehler), WavSchreibfehler);
        EXPECT_EQ(fehler, ENOSPC);
        EXPECT_TRUE(std::filesystem::exists("/dev/full")) << "a device is never removed";
    }
}
