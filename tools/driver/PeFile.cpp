#include "tools/driver/PeFile.h"

#include "foundation/Win32.h"
#include "tools/driver/DriverError.h"
#include "tools/driver/Files.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace e2e {

namespace {

// A structure at `offset` of the file, checked against its end.
template <typename T>
const T& At(const std::string& file, uint64_t offset)
{
    if (offset + sizeof(T) > file.size())
        Fail("PE file: offset %llu lies beyond the file", static_cast<unsigned long long>(offset));
    return *reinterpret_cast<const T*>(file.data() + offset);
}

// The file offset of a relative virtual address, through the section that holds it.
uint64_t OffsetOf(const IMAGE_SECTION_HEADER* sections, int count, DWORD rva)
{
    for (int i = 0; i < count; ++i) {
        const IMAGE_SECTION_HEADER& section = sections[i];
        const DWORD size = std::max(section.Misc.VirtualSize, section.SizeOfRawData);
        if (rva >= section.VirtualAddress && rva < section.VirtualAddress + size)
            return uint64_t{section.PointerToRawData} + (rva - section.VirtualAddress);
    }
    Fail("PE file: address 0x%lX lies in no section", static_cast<unsigned long>(rva));
}

bool InSystemFolder(const std::string& dll)
{
    char folder[MAX_PATH] = "";
    GetSystemDirectoryA(folder, sizeof folder);
    return GetFileAttributesA((std::string(folder) + "\\" + dll).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

PeFacts ReadPeFacts(const std::string& path)
{
    const std::string file = ReadWholeFile(path);
    const auto& dos = At<IMAGE_DOS_HEADER>(file, 0);
    if (dos.e_magic != IMAGE_DOS_SIGNATURE)
        Fail("%s is no PE file", path.c_str());
    // The file header is the same in both image kinds; the optional header after it is not.
    const uint64_t ntOffset = static_cast<uint64_t>(dos.e_lfanew);
    const auto& nt = At<IMAGE_NT_HEADERS32>(file, ntOffset);
    if (nt.Signature != IMAGE_NT_SIGNATURE)
        Fail("%s is no PE image", path.c_str());
    const IMAGE_DATA_DIRECTORY* directories = nullptr;
    if (nt.OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC)
        directories = nt.OptionalHeader.DataDirectory;
    else if (nt.OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC)
        directories = At<IMAGE_NT_HEADERS64>(file, ntOffset).OptionalHeader.DataDirectory;
    else
        Fail("%s is neither a 32-bit nor a 64-bit PE image", path.c_str());

    const int sectionCount = nt.FileHeader.NumberOfSections;
    const uint64_t sectionsOffset = static_cast<uint64_t>(dos.e_lfanew) + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                                    nt.FileHeader.SizeOfOptionalHeader;
    // Every section header lies within the file (At fails otherwise).
    At<IMAGE_SECTION_HEADER>(file, sectionsOffset + (sectionCount - 1) * sizeof(IMAGE_SECTION_HEADER));
    const auto* sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(file.data() + sectionsOffset);

    PeFacts facts;
    facts.bytes = file.size();
    facts.stripped = nt.FileHeader.PointerToSymbolTable == 0 && nt.FileHeader.NumberOfSymbols == 0;
    for (int i = 0; i < sectionCount; ++i)
        // Long section names are "/<offset>" into the symbol table; mingw's debug sections are
        // named so, short ones begin with ".debug".
        if (std::strncmp(reinterpret_cast<const char*>(sections[i].Name), ".debug", 6) == 0 ||
            sections[i].Name[0] == '/')
            facts.stripped = false;

    const IMAGE_DATA_DIRECTORY& directory = directories[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0)
        return facts;
    const uint64_t descriptors = OffsetOf(sections, sectionCount, directory.VirtualAddress);
    for (uint64_t at = descriptors;; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto& descriptor = At<IMAGE_IMPORT_DESCRIPTOR>(file, at);
        if (descriptor.Name == 0)
            break;
        const uint64_t name = OffsetOf(sections, sectionCount, descriptor.Name);
        const size_t end = file.find('\0', name);
        if (end == std::string::npos)
            Fail("%s: an imported DLL's name runs past the file", path.c_str());
        facts.imports.push_back(file.substr(name, end - name));
        if (!InSystemFolder(facts.imports.back()))
            facts.nonSystem.push_back(facts.imports.back());
    }
    return facts;
}

}  // namespace e2e
