#include "core/crypt/KeySlot.h"

#include <sodium.h>

namespace {

QByteArray RandomBytes(int length)
{
    QByteArray bytes(length, '\0');
    randombytes_buf(bytes.data(), size_t(length));
    return bytes;
}

} // namespace

SecureBytes KeySlot::NewDataKey()
{
    SecureBytes key(KeyLength);
    if (!key.IsEmpty())
        crypto_aead_xchacha20poly1305_ietf_keygen(key.Data());
    return key;
}

SecureBytes KeySlot::DeriveKey(const QString& secret, const CryptHeader::Slot& slot)
{
    SecureBytes key(KeyLength);
    // The same password typed through another input method is the same text.
    QByteArray text = secret.normalized(QString::NormalizationForm_C).toUtf8();
    const bool derived =
        !key.IsEmpty() && crypto_pwhash(key.Data(), KeyLength, text.constData(), quint64(text.size()),
                                        reinterpret_cast<const unsigned char*>(slot.salt.constData()), slot.passes,
                                        size_t(slot.memoryBytes), crypto_pwhash_ALG_ARGON2ID13) == 0;
    sodium_memzero(text.data(), size_t(text.size()));
    return derived ? std::move(key) : SecureBytes();
}

bool KeySlot::Seal(CryptHeader& header, CryptHeader::SlotKind kind, const QString& secret, const SecureBytes& dataKey)
{
    CryptHeader::Slot slot;
    slot.kind = kind;
    slot.passes = Passes;
    slot.memoryBytes = MemoryBytes;
    slot.salt = RandomBytes(crypto_pwhash_SALTBYTES);
    slot.nonce = RandomBytes(crypto_aead_xchacha20poly1305_ietf_NPUBBYTES);
    const SecureBytes wrappingKey = DeriveKey(secret, slot);
    if (wrappingKey.IsEmpty() || dataKey.Size() != KeyLength)
        return false;
    const QByteArray binding = header.SlotBinding(slot);
    slot.wrappedKey.resize(KeyLength + crypto_aead_xchacha20poly1305_ietf_ABYTES);
    crypto_aead_xchacha20poly1305_ietf_encrypt(
        reinterpret_cast<unsigned char*>(slot.wrappedKey.data()), nullptr, dataKey.Data(), KeyLength,
        reinterpret_cast<const unsigned char*>(binding.constData()), quint64(binding.size()), nullptr,
        reinterpret_cast<const unsigned char*>(slot.nonce.constData()), wrappingKey.Data());
    header.Replace(slot);
    return true;
}

CryptResult::Kind KeySlot::Open(const CryptHeader& header, CryptHeader::SlotKind kind, const QString& secret,
                                SecureBytes& dataKey)
{
    const CryptHeader::Slot* slot = header.Find(kind);
    if (!slot)
        return CryptResult::WrongSecret;
    const SecureBytes wrappingKey = DeriveKey(secret, *slot);
    SecureBytes key(KeyLength);
    // No memory is told as such: the right password must never be called
    // wrong.
    if (wrappingKey.IsEmpty() || key.IsEmpty())
        return CryptResult::NoSecureMemory;
    const QByteArray binding = header.SlotBinding(*slot);
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(
            key.Data(), nullptr, nullptr, reinterpret_cast<const unsigned char*>(slot->wrappedKey.constData()),
            quint64(slot->wrappedKey.size()), reinterpret_cast<const unsigned char*>(binding.constData()),
            quint64(binding.size()), reinterpret_cast<const unsigned char*>(slot->nonce.constData()),
            wrappingKey.Data()) != 0)
        return CryptResult::WrongSecret;
    dataKey = std::move(key);
    return CryptResult::Done;
}
