#pragma once
// What the release goal and the import check ask of an executable file: its size, whether it
// is stripped, and the DLLs it imports, read from the file itself (PE headers and import table).

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

struct PeFacts {
    uint64_t bytes = 0;
    bool stripped = false;                 // no COFF symbol table and no debug sections
    std::vector<std::string> imports;      // DLL names as the import table spells them
    std::vector<std::string> nonSystem;    // those not found in the system folder
};

// Throws e2e::DriverError when the file cannot be read or is no PE image (32- or 64-bit).
PeFacts ReadPeFacts(const std::string& path);

}  // namespace e2e
