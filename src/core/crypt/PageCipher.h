#pragma once

#include "core/crypt/SecureBytes.h"

#include <QByteArray>

// One page record of an encrypted diary: a fresh random 24-byte nonce, the
// plain record encrypted with XChaCha20-Poly1305, and its 16-byte tag. The
// file id and the record's number are bound in as associated data, so a
// record moved to another place, or taken from another file, fails its tag.
class PageCipher
{
public:
    static constexpr int NonceLength = 24;
    static constexpr int TagLength = 16;
    static constexpr int SealedLength(int plainLength) { return NonceLength + plainLength + TagLength; }

    static QByteArray Seal(const SecureBytes& key, const QByteArray& fileId, qint32 number, const QByteArray& plain);
    // The same with a nonce given: only a known-answer test may choose one.
    static QByteArray SealWithNonce(const SecureBytes& key, const QByteArray& fileId, qint32 number,
                                    const QByteArray& plain, const QByteArray& nonce);
    // Decrypts `plainLength` bytes into `plain`; false when the tag fails.
    static bool Open(const SecureBytes& key, const QByteArray& fileId, qint32 number, const char* sealed,
                     int plainLength, char* plain);

private:
    static QByteArray Binding(const QByteArray& fileId, qint32 number);
};
