#include "core/settings/LoginPassword.h"

#include "core/crypt/KeySlot.h"
#include "core/crypt/SecureBytes.h"
#include "core/settings/SettingsStore.h"

#include <sodium.h>

namespace {

QByteArray Utf8(const QString& text)
{
    return text.normalized(QString::NormalizationForm_C).toUtf8();
}

} // namespace

QString LoginPassword::ToStored(const QString& typed)
{
    if (typed.isEmpty() || !SecureBytes::LibraryReady())
        return {};
    QByteArray text = Utf8(typed);
    char hash[crypto_pwhash_STRBYTES];
    const bool made = crypto_pwhash_str(hash, text.constData(), quint64(text.size()), KeySlot::Passes,
                                        size_t(KeySlot::MemoryBytes)) == 0;
    sodium_memzero(text.data(), size_t(text.size()));
    return made ? QString::fromLatin1(hash) : QString();
}

bool LoginPassword::IsHash(const QString& stored)
{
    return stored.startsWith(QStringLiteral("$argon2id$"));
}

bool LoginPassword::Matches(const QString& typed, const QString& stored)
{
    if (!IsHash(stored))
        return typed == stored;
    if (!SecureBytes::LibraryReady())
        return false;
    QByteArray text = Utf8(typed);
    const QByteArray hash = stored.toLatin1();
    const bool matches = crypto_pwhash_str_verify(hash.constData(), text.constData(), quint64(text.size())) == 0;
    sodium_memzero(text.data(), size_t(text.size()));
    return matches;
}

bool LoginPassword::ConvertStored(SettingsStore& settings)
{
    const QString stored = settings.ReadSetting(SettingKey::UserPWS);
    if (stored.isEmpty() || IsHash(stored))
        return true;
    const QString hash = ToStored(stored);
    return !hash.isEmpty() && settings.WriteSettings({{SettingKey::UserPWS, hash}});
}
