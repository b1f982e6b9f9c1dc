#pragma once
// Folders and files that a test creates and removes again at the end.

#include <string>

// A folder that exists while the object lives; it must be empty again by then.
class ScratchFolder {
public:
    explicit ScratchFolder(std::string path);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // `name` inside the folder.
    std::string Inside(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

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

// The system's temporary folder, with its trailing backslash.
std::string TempFolder();
