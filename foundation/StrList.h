#pragma once
// Lists of texts and of key=value switches.

#include "foundation/List.h"
#include "foundation/Str.h"

class CStrList : public CList<CStr> {};

// One switch of a command line: "key=value", or a key alone. Keys are upper case.
class CKeyValue {
public:
    CKeyValue() = default;
    explicit CKeyValue(const CStr& word);
    CKeyValue(const CKeyValue& other);
    CKeyValue& operator=(const CKeyValue& other);

    // The word splits at '=' only when that gives exactly two pieces, both then trimmed;
    // otherwise the whole word, untrimmed, is the key and the value stays as it was.
    CKeyValue& Parse(const CStr& word);
    CStr GetKey() const;

    CStr key;
    CStr value;
};

class CKeyValueList : public CList<CKeyValue> {};
