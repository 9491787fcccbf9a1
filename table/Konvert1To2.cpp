#include "table/Konvert1To2.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "table/DateiErsetzen.h"
#include "theory/Grenzen.h"

namespace {

constexpr std::size_t oldGripSize = 236;
constexpr std::size_t newGripSize = 232;

// Slots of the old blocks in file order, then the converted grips.
enum Slot : int {
    TypeCount,
    Types,
    NextNumber,
    GripCount,
    OldGrips,
    NoteNames,
    StringCount,
    Strings,
    NewGrips
};

std::int32_t intAt(const unsigned char* data)
{
    std::int32_t value = 0;
    if (data)
        std::memcpy(&value, data, sizeof value);
    return value;
}

} // namespace

bool KonvertClass1To2::oldBlocksRead(std::istream& in)
{
    // Each count bounds the block after it; a count beyond the capacities marks a damaged file.
    struct Step
    {
        Slot slot;
        std::size_t unit;
        Slot countSlot;
        std::int32_t maxCount;
    };
    constexpr Step steps[] = {
        {TypeCount, 4, TypeCount, 1},
        {Types, 72, TypeCount, MaxTypen},
        {NextNumber, 4, NextNumber, 1},
        {GripCount, 4, GripCount, 1},
        {OldGrips, oldGripSize, GripCount, MaxGriffe},
        {NoteNames, 221, NoteNames, 1},
        {StringCount, 4, StringCount, 1},
        {Strings, 8, StringCount, MaxSaiten},
    };
    for (const Step& step : steps) {
        std::int32_t count = 1;
        if (step.countSlot != step.slot) {
            count = intAt(block(step.countSlot));
            if (count < 0 || count > step.maxCount)
                return false;
        }
        const std::size_t size = step.unit * static_cast<std::size_t>(count);
        if (!blockAllocate(step.slot, size))
            return false;
        if (size > 0) {
            in.read(reinterpret_cast<char*>(block(step.slot)), static_cast<std::streamsize>(size));
            if (static_cast<std::size_t>(in.gcount()) != size)
                return false;
        }
    }
    return true;
}

bool KonvertClass1To2::newFileWrite(std::ostream& out)
{
    checksumClear();
    constexpr char magic[5] = {'Z', 'W', '0', '2', '\0'};
    out.write(magic, sizeof magic);
    constexpr Slot order[] = {TypeCount, Types,     NextNumber,  GripCount,
                              NewGrips,  NoteNames, StringCount, Strings};
    for (Slot slot : order) {
        if (!writeBlock(out, block(slot), 1, blockSize(slot)))
            return false;
    }
    const std::int32_t noText = 0;
    if (!writeBlock(out, &noText, sizeof noText) || !writeBlock(out, &noText, sizeof noText))
        return false;
    const std::int32_t checksum = checksumValue();
    out.write(reinterpret_cast<const char*>(&checksum), sizeof checksum);
    return static_cast<bool>(out);
}

bool KonvertClass1To2::Konvertieren(const std::string& pfad)
{
    {
        std::ifstream in(std::filesystem::path(pfad), std::ios::binary);
        if (!in)
            return false;
        char header[6] = {};
        in.read(header, 5);
        // The version is the number formed by the characters from the third one on.
        if (in.gcount() != 5 || header[0] != 'Z' || header[1] != 'W' || std::atoi(header + 2) != 1)
            return false;
        if (!oldBlocksRead(in))
            return false;
    }

    // Bytes 9..12 of an old grip record are dropped; the rest keeps its order.
    const std::size_t grips = static_cast<std::size_t>(intAt(block(GripCount)));
    if (!blockAllocate(NewGrips, grips * newGripSize))
        return false;
    for (std::size_t i = 0; i < grips; ++i) {
        const unsigned char* from = block(OldGrips) + i * oldGripSize;
        unsigned char* to = block(NewGrips) + i * newGripSize;
        std::memcpy(to, from, 9);
        std::memcpy(to + 9, from + 13, oldGripSize - 13);
    }
    return writeFileReplacing(pfad, [this](std::ostream& out) { return newFileWrite(out); }) == ErsetzenOk;
}
