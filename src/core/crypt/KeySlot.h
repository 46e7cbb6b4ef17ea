#pragma once

#include "core/crypt/CryptHeader.h"
#include "core/crypt/CryptResult.h"
#include "core/crypt/SecureBytes.h"

#include <QString>

// Wraps the diary's data key under a key derived from a secret the user knows
// (Argon2id, crypto_pwhash), with XChaCha20-Poly1305. A wrong secret fails the
// slot's tag: it is told apart from a damaged page.
class KeySlot
{
public:
    static constexpr int KeyLength = 32;
    // The work asked of each unlocking: 64 MiB and 3 passes take about 0.4 s
    // on a two-core machine of 2024, and a guesser the same for each guess.
    static constexpr quint32 Passes = 3;
    static constexpr quint64 MemoryBytes = quint64(64) << 20;

    // A new random data key; empty when no secure memory could be had.
    static SecureBytes NewDataKey();
    // Puts a slot of that kind opened by `secret` into the header, in place of
    // the one before. False when the key derivation had no memory.
    static bool Seal(CryptHeader& header, CryptHeader::SlotKind kind, const QString& secret,
                     const SecureBytes& dataKey);
    // The data key from the slot of that kind: WrongSecret for a wrong
    // secret (or no such slot), NoSecureMemory when the key derivation had
    // no memory.
    static CryptResult::Kind Open(const CryptHeader& header, CryptHeader::SlotKind kind, const QString& secret,
                                  SecureBytes& dataKey);

private:
    static SecureBytes DeriveKey(const QString& secret, const CryptHeader::Slot& slot);
};
