#include "table/KonvertBase.h"

#include <new>

bool KonvertBaseClass::blockAllocate(int slot, std::size_t size)
{
    Block& b = m_blocks[slot];
    b.data.reset(size > 0 ? new (std::nothrow) unsigned char[size]() : nullptr);
    b.size = b.data ? size : 0;
    return size == 0 || b.data != nullptr;
}
