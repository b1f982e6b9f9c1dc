#pragma once
// Files of the test run: the programs built beside the test program, and scratch folders.

#include <string>

namespace e2e {

// The folder of the running test program, without a trailing backslash. The programs the
// tests drive (the tool, the collector, e2e_launch) are built into the same folder.
std::string ProgramFolder();
std::string BesideProgram(const std::string& name);

// The whole content of a file; empty when it does not exist.
std::string ReadWholeFile(const std::string& path);

// A fresh empty folder under the temporary folder, deleted with all it holds at the end: a
// suite folder for one test, for example, holding copies of the tool and the collector.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string PathOf(const std::string& name) const;
    // Copies a file into the folder under its own name; returns the copy's path.
    std::string CopyIn(const std::string& file) const;

private:
    std::string m_path;
};

}  // namespace e2e
