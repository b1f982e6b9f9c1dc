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

// The system's temporary folder, with its trailing backslash.
std::string TempFolder();

// A folder for a test or the benchmark to work in, deleted with all it holds at the end. Made
// fresh under the temporary folder with a name of this process's own, so that test programs
// running side by side never meet in it; or at `path` where the place itself matters (what an
// earlier run left there is deleted first).
class ScratchFolder {
public:
    ScratchFolder();
    explicit ScratchFolder(std::string path);
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
