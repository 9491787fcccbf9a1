#include "theory/Checksum.h"

#include <istream>
#include <ostream>

std::int32_t ChecksumClass::blockSum(const void* data, std::size_t bytes)
{
    if (bytes == 0)
        return 0;
    const auto* p = static_cast<const signed char*>(data);
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < bytes; ++i)
        sum += static_cast<std::uint32_t>(static_cast<std::int32_t>(p[i]));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes) | sum);
}

void ChecksumClass::checksumAdd(const void* data, std::size_t size, std::size_t count)
{
    m_sum += static_cast<std::uint32_t>(blockSum(data, size * count));
}

bool ChecksumClass::readBlock(std::istream& in, void* data, std::size_t size, std::size_t count)
{
    const std::size_t bytes = size * count;
    if (bytes == 0)
        return true;
    in.read(static_cast<char*>(data), static_cast<std::streamsize>(bytes));
    const bool complete = static_cast<std::size_t>(in.gcount()) == bytes;
    checksumAdd(data, size, count);
    return complete;
}

bool ChecksumClass::writeBlock(std::ostream& out, const void* data, std::size_t size, std::size_t count)
{
    const std::size_t bytes = size * count;
    if (bytes == 0)
        return true;
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(bytes));
    checksumAdd(data, size, count);
    return static_cast<bool>(out);
}
