#pragma once

#include <cstdint>
#include <string>

// What a file looked like on disk at one moment: enough to tell that anyone replaced or rewrote it
// since, without reading it.
struct DateiStand
{
    bool vorhanden = false;
    std::uint64_t geraet = 0;
    std::uint64_t inode = 0;
    std::int64_t groesse = 0;
    std::int64_t geaendertNs = 0; // content changed
    std::int64_t statusNs = 0;    // inode changed (a rewrite with the old time set back shows here)

    bool operator==(const DateiStand&) const = default;
};

// path: UTF-8; links are followed. A missing file gives a stand with vorhanden false.
DateiStand dateiStandLesen(const std::string& pfad);
