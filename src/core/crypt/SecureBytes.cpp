#include "core/crypt/SecureBytes.h"

#include <sodium.h>
#include <utility>

SecureBytes::SecureBytes(std::size_t size)
{
    if (!LibraryReady())
        return;
    data_ = static_cast<unsigned char*>(sodium_malloc(size));
    size_ = data_ ? size : 0;
}

SecureBytes::~SecureBytes()
{
    Clear();
}

SecureBytes::SecureBytes(SecureBytes&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0))
{
}

SecureBytes& SecureBytes::operator=(SecureBytes&& other) noexcept
{
    if (this != &other) {
        Clear();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

void SecureBytes::Clear()
{
    // sodium_free wipes the bytes before it gives them back.
    sodium_free(data_);
    data_ = nullptr;
    size_ = 0;
}

bool SecureBytes::LibraryReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}
