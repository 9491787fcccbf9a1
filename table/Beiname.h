#pragma once

#include <string>
#include <string_view>

// Names of the files the program keeps beside a chord table (temporary files of a save, the lock):
// "." + the table's file name + endung while that fits any file system's 255 bytes with room to spare,
// else a cut name with a hash of the whole one, so that a table with a name of any allowed length can
// still be saved and every table keeps names of its own.
std::string beinamenStamm(const std::string& dateiname);
std::string beiname(const std::string& dateiname, std::string_view endung);
