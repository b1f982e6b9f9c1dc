#include "tests/support/ScratchFiles.h"

#include "foundation/Win32.h"

#include <gtest/gtest.h>

#include <fstream>

ScratchFolder::ScratchFolder(std::string path) : m_path(std::move(path))
{
    EXPECT_TRUE(CreateDirectoryA(m_path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) << m_path;
}

ScratchFolder::~ScratchFolder()
{
    RemoveDirectoryA(m_path.c_str());
}

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

std::string TempFolder()
{
    char buffer[MAX_PATH + 1] = {};
    GetTempPathA(sizeof buffer, buffer);
    return buffer;
}
