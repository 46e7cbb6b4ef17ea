#pragma once

#include <QString>

class SettingsStore;

// The owner's login password as the settings keep it: an Argon2id hash
// (crypto_pwhash_str), never the text typed, so the settings file does not
// give it away. No password stays an empty setting.
class LoginPassword
{
public:
    // What the setting keeps for `typed`; empty for no password, and empty
    // too when no memory for the hash could be had (checked by the caller).
    static QString ToStored(const QString& typed);
    static bool IsHash(const QString& stored);
    // Whether `typed` is the password kept as `stored`. A setting from before
    // hashing is compared as it is, until ConvertStored has replaced it.
    static bool Matches(const QString& typed, const QString& stored);
    // Replaces a password kept as typed with its hash. False when it could
    // not be stored.
    static bool ConvertStored(SettingsStore& settings);
};
