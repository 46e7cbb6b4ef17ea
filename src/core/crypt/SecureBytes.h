#pragma once

#include <cstddef>

// Secret bytes (keys) in memory of their own: kept out of swap, fenced by
// guard pages, and wiped when they go. Move-only, so no copy lingers.
class SecureBytes
{
public:
    SecureBytes() = default;
    // Empty (IsEmpty) when the memory could not be had.
    explicit SecureBytes(std::size_t size);
    ~SecureBytes();
    SecureBytes(SecureBytes&& other) noexcept;
    SecureBytes& operator=(SecureBytes&& other) noexcept;
    SecureBytes(const SecureBytes&) = delete;
    SecureBytes& operator=(const SecureBytes&) = delete;

    unsigned char* Data() { return data_; }
    const unsigned char* Data() const { return data_; }
    std::size_t Size() const { return size_; }
    bool IsEmpty() const { return data_ == nullptr; }
    // Wipes and gives the memory back.
    void Clear();

    // The library behind every key; false when it cannot start.
    static bool LibraryReady();

private:
    unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
};
