#include "core/crypt/PageOpener.h"

#include "core/crypt/PageCipher.h"

#include <QtEndian>
#include <cstring>
#include <openssl/evp.h>
#include <sodium.h>

namespace {

// Fetched once: looking the cipher up for each page would take a lock that
// every thread opening pages waits for.
const EVP_CIPHER* ChaCha20Poly1305()
{
    static EVP_CIPHER* const cipher = EVP_CIPHER_fetch(nullptr, "ChaCha20-Poly1305", nullptr);
    return cipher;
}

} // namespace

PageOpener::PageOpener(const SecureBytes& key, const QByteArray& fileId)
    : key_(key), binding_(fileId + QByteArray(4, '\0')), context_(EVP_CIPHER_CTX_new())
{
}

PageOpener::~PageOpener()
{
    EVP_CIPHER_CTX_free(context_);
}

bool PageOpener::Open(qint32 number, const char* stored, int recordLength, char* record)
{
    const auto* nonce = reinterpret_cast<const unsigned char*>(stored);
    const auto* cipherText = nonce + PageCipher::NonceLength;
    auto* plain = reinterpret_cast<unsigned char*>(record);
    unsigned char subkey[crypto_core_hchacha20_OUTPUTBYTES];
    crypto_core_hchacha20(subkey, nonce, key_.Data(), nullptr);
    unsigned char shortNonce[12] = {};
    std::memcpy(shortNonce + 4, nonce + crypto_core_hchacha20_INPUTBYTES, 8);
    qToLittleEndian<quint32>(quint32(number), binding_.data() + binding_.size() - 4);
    int written = 0;
    bool opened = context_ && ChaCha20Poly1305() &&
                  EVP_DecryptInit_ex2(context_, ChaCha20Poly1305(), subkey, shortNonce, nullptr) == 1;
    sodium_memzero(subkey, sizeof subkey);
    opened =
        opened &&
        EVP_DecryptUpdate(context_, nullptr, &written, reinterpret_cast<const unsigned char*>(binding_.constData()),
                          int(binding_.size())) == 1 &&
        EVP_DecryptUpdate(context_, plain, &written, cipherText, recordLength) == 1 &&
        EVP_CIPHER_CTX_ctrl(context_, EVP_CTRL_AEAD_SET_TAG, PageCipher::TagLength,
                            const_cast<unsigned char*>(cipherText + recordLength)) == 1 &&
        EVP_DecryptFinal_ex(context_, plain + written, &written) == 1;
    if (!opened)
        sodium_memzero(plain, size_t(recordLength));
    return opened;
}
