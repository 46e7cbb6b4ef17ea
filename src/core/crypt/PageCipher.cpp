#include "core/crypt/PageCipher.h"

#include <QtEndian>
#include <sodium.h>

namespace {

const unsigned char* Bytes(const char* bytes)
{
    return reinterpret_cast<const unsigned char*>(bytes);
}

} // namespace

QByteArray PageCipher::Binding(const QByteArray& fileId, qint32 number)
{
    QByteArray binding = fileId;
    binding.resize(fileId.size() + 4);
    qToLittleEndian<quint32>(quint32(number), binding.data() + fileId.size());
    return binding;
}

QByteArray PageCipher::Seal(const SecureBytes& key, const QByteArray& fileId, qint32 number, const QByteArray& plain)
{
    QByteArray nonce(NonceLength, '\0');
    randombytes_buf(nonce.data(), NonceLength);
    return SealWithNonce(key, fileId, number, plain, nonce);
}

QByteArray PageCipher::SealWithNonce(const SecureBytes& key, const QByteArray& fileId, qint32 number,
                                     const QByteArray& plain, const QByteArray& nonce)
{
    const QByteArray binding = Binding(fileId, number);
    QByteArray sealed(SealedLength(int(plain.size())), '\0');
    sealed.replace(0, NonceLength, nonce);
    crypto_aead_xchacha20poly1305_ietf_encrypt(reinterpret_cast<unsigned char*>(sealed.data()) + NonceLength, nullptr,
                                               Bytes(plain.constData()), quint64(plain.size()),
                                               Bytes(binding.constData()), quint64(binding.size()), nullptr,
                                               Bytes(nonce.constData()), key.Data());
    return sealed;
}

bool PageCipher::Open(const SecureBytes& key, const QByteArray& fileId, qint32 number, const char* sealed,
                      int plainLength, char* plain)
{
    const QByteArray binding = Binding(fileId, number);
    return crypto_aead_xchacha20poly1305_ietf_decrypt(reinterpret_cast<unsigned char*>(plain), nullptr, nullptr,
                                                      Bytes(sealed) + NonceLength, quint64(plainLength + TagLength),
                                                      Bytes(binding.constData()), quint64(binding.size()),
                                                      Bytes(sealed), key.Data()) == 0;
}
