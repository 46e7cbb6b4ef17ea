#pragma once

#include "core/platform/FileError.h"

// The outcome of opening, locking or converting an encrypted diary: what the
// user must be told, and the file's own failure where there was one.
struct CryptResult
{
    enum Kind : short {
        Done,
        WrongSecret,    // the password or the recovery code does not open it
        NotEncrypted,   // not an encrypted diary at all
        NewerVersion,   // written by a newer version of the program
        DamagedHeader,  // its first block cannot be read: no key can be found
        NoSecureMemory, // no memory for the keys could be had
        FileFailed,     // see file
        Told,           // failed, and the user has been told why
    };

    Kind kind = Done;
    FileError file;

    // True when it failed, as for FileError.
    explicit operator bool() const { return kind != Done; }
    static CryptResult From(const FileError& error) { return error ? CryptResult{FileFailed, error} : CryptResult{}; }
};
