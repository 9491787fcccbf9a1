#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>

// The running 32-bit checksum of a chord-table file, fed block by block by every reader and writer.
class ChecksumClass
{
public:
    // What one block of n bytes adds: (n OR sum of its bytes as signed 8-bit values), 0 for n = 0.
    static std::int32_t blockSum(const void* data, std::size_t bytes);

    void checksumClear() { m_sum = 0; }
    void checksumAdd(const void* data, std::size_t size, std::size_t count);
    std::int32_t checksumValue() const { return static_cast<std::int32_t>(m_sum); }

    // Transfers one block and adds it; false on a short read or a failed write.
    bool readBlock(std::istream& in, void* data, std::size_t size, std::size_t count = 1);
    bool writeBlock(std::ostream& out, const void* data, std::size_t size, std::size_t count = 1);

private:
    std::uint32_t m_sum = 0; // unsigned, so the 32-bit wrap-around is defined
};
