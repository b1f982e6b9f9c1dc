#pragma once
// Environment blocks for started programs.

#include <string>
#include <utility>
#include <vector>

namespace e2e {

using Variables = std::vector<std::pair<std::string, std::string>>;

// True for the variables from which a C library (and so Wine) takes the locale: LANG,
// LANGUAGE and LC_*.
bool NamesLocale(const std::string& name);

// The driver's own environment with `extra` added, in the layout CreateProcessA takes (each
// "name=value" ends in a zero, the block in one more). A name given in `extra` replaces an
// inherited variable of that name (compared ignoring case, as Windows does). When `extra`
// names any locale variable, the inherited locale variables all go, so that the given ones
// alone decide (LC_ALL would otherwise override a given LANG).
std::string EnvironmentBlock(const Variables& extra);

bool SetsLocale(const Variables& extra);

}  // namespace e2e
