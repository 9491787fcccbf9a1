#include "table/DateiStand.h"

#include <sys/stat.h>

DateiStand dateiStandLesen(const std::string& pfad)
{
    DateiStand stand;
    struct stat info {};
    if (::stat(pfad.c_str(), &info) != 0)
        return stand;
    stand.vorhanden = true;
    stand.geraet = static_cast<std::uint64_t>(info.st_dev);
    stand.inode = static_cast<std::uint64_t>(info.st_ino);
    stand.groesse = static_cast<std::int64_t>(info.st_size);
    stand.geaendertNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stand.statusNs = static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    return stand;
}
