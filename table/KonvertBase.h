#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "theory/Checksum.h"

// Holds the blocks of an old chord-table file while it is rewritten, with its own checksum.
class KonvertBaseClass : public ChecksumClass
{
public:
    static constexpr int BlockSlots = 12;

    virtual ~KonvertBaseClass() = default;
    virtual bool Konvertieren(const std::string& pfad) = 0;

protected:
    // Allocates a zero-filled block of the given size; false when it cannot be had.
    bool blockAllocate(int slot, std::size_t size);
    unsigned char* block(int slot) { return m_blocks[slot].data.get(); }
    std::size_t blockSize(int slot) const { return m_blocks[slot].size; }

private:
    struct Block
    {
        std::unique_ptr<unsigned char[]> data;
        std::size_t size = 0;
    };
    Block m_blocks[BlockSlots];
};
