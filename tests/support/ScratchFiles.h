#pragma once
// Files that a test creates and removes again at the end (folders: e2e::ScratchFolder).

#include <string>

// A file with the given bytes while the object lives.
class ScratchFile {
public:
    ScratchFile(std::string path, const std::string& content);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};
