#pragma once
// The agent identifier: made, kept in the registry, thrown away; and the suite folder
// where the agent's collector lives.

#include "foundation/Str.h"

// The operations are virtual so that tests can make them fail in ways the system will not.
class CIdentifierStore {
public:
    virtual ~CIdentifierStore() = default;

    // A fresh identifier: a UUID taken after a pause of 1 to 1000 ms, then the UTC time of
    // generation with a random addend of 0 to 15 in its low half. Throws the "DLL: "
    // exception when the system has no UuidCreate to take the UUID from.
    virtual CStr Generate() const;

    // The 56-character identifier text for these parts; the addend wraps around within the
    // low half and never carries into the high one.
    static CStr FormatIdentifier(const UUID& uuid, const FILETIME& utc, unsigned addend);

    // The stored identifier; when none is stored (no key, no value, an empty or non-text
    // value) a fresh one is generated and stored. A stored text is returned as it is, whatever
    // its shape, also to a user who may read the key but not write it. Throws the registry's
    // exception when the stored value cannot be read for another reason (nothing is generated
    // or written then) or when the fresh identifier cannot be stored.
    virtual CStr GetOrCreate() const;

    // Throws the stored identifier away. Nothing stored counts as done; throws the registry's
    // exception when the key cannot be opened or the value not deleted.
    virtual void Delete() const;

    // Stores `identifier` as the machine's; throws the registry's exception when it cannot.
    virtual void Store(const CStr& identifier) const;

    // The stored text; the empty text when nothing is stored. Throws the registry's exception
    // for any other failure to read.
    virtual CStr ReadStored() const;

    // Fills the process's suite folder from the settings file, else the suite's setup key,
    // else the tool's own folder, with a leading folder macro expanded; returns it.
    CStr LoadSuiteFolder() const;
};
