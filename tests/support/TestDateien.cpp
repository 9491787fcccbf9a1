#include "tests/support/TestDateien.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TempFolder::TempFolder()
{
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    m_path = std::filesystem::path(testing::TempDir()) /
             (std::string("zw_") + info->test_suite_name() + "_" + info->name());
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}
