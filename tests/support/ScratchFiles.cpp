#include "tests/support/ScratchFiles.h"

#include "foundation/Win32.h"

#include <gtest/gtest.h>

#include <fstream>

ScratchFile::ScratchFile(std::string path, const std::string& content) : m_path(std::move(path))
{
    std::ofstream file(m_path, std::ios::binary | std::ios::trunc);
    file << content;
    EXPECT_TRUE(file.good()) << m_path;
}

ScratchFile::~ScratchFile()
{
    DeleteFileA(m_path.c_str());
}
