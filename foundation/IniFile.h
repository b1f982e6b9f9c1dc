#pragma once
// Reading the settings file.

#include "foundation/Str.h"

// The value of `key` in `section` of the settings file at `file`, however long; the default
// when the file is absent (then it is not read at all), the key is missing or its value
// is empty.
CStr ReadIniString(const CStr& file, const CStr& section, const CStr& key, const CStr& defaultValue);
