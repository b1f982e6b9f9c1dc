#pragma once
// What the tool leaves on the machine, as tests and the benchmark set and read it: the stored
// agent identifier, and the runs of the stand-in collector.

#include "foundation/Win32.h"

#include <string>
#include <vector>

namespace e2e {

// The key above the identifier's (the tool's kIdentifierKey under HKEY_CLASSES_ROOT), which no
// tool run deletes. Both are reached in the registry view of the 32-bit suite, as both builds of
// the tool reach them.
std::string IdentifierParentKey();

// The stored identifier text; empty when there is none.
std::string StoredIdentifier();
void StoreIdentifier(const std::string& identifier);
void DeleteStoredIdentifier();
// Deletes the identifier's keys, whatever their access rules.
void DeleteIdentifierKeys();
// Deletes root\path with all below it, in the registry view `view` (0 or KEY_WOW64_32KEY),
// giving full access back to the key first: a test may have left it read-only.
void DeleteKeyTree(HKEY root, const std::string& path, REGSAM view);

// What the collector in `folder` logged: one command line per run.
std::vector<std::string> CollectorRuns(const std::string& folder);

}  // namespace e2e
