#pragma once
// The shape of an agent identifier, for the tests that make or store one.

#include <cctype>
#include <string>

// "{8-4-4-4-12-8-8}" with upper-case hexadecimal digits: 56 characters.
inline bool HasIdentifierShape(const std::string& text)
{
    static const char pattern[] = "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX-XXXXXXXX-XXXXXXXX}";
    if (text.size() != sizeof pattern - 1)
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (pattern[i] == 'X' ? !(std::isdigit(static_cast<unsigned char>(c)) || (c >= 'A' && c <= 'F'))
                              : c != pattern[i])
            return false;
    }
    return true;
}
