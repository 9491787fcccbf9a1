#include "table/DateiErsetzen.h"

#include <filesystem>
#include <fstream>

bool writeFileReplacing(const std::string& path, const std::function<bool(std::ostream&)>& write)
{
    namespace fs = std::filesystem;
    const fs::path target(path);
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    const bool exists = fs::exists(status);
    // Renaming would replace even a file the user protected: refuse as a plain write would.
    if (exists &&
        (!fs::is_regular_file(status) || (status.permissions() & fs::perms::owner_write) == fs::perms::none))
        return false;

    fs::path temporary = target;
    temporary += ".tmp~";
    bool written = false;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        written = write(out);
        out.flush();
        written = written && static_cast<bool>(out);
        out.close();
        written = written && !out.fail();
    }
    if (written && exists)
        fs::permissions(temporary, status.permissions(), error); // a mode we cannot copy is no reason to fail
    error.clear();
    if (written)
        fs::rename(temporary, target, error);
    if (!written || error) {
        fs::remove(temporary, error);
        return false;
    }
    return true;
}
