#pragma once

#include "core/crypt/CryptResult.h"

#include <QString>
#include <functional>

class QLineEdit;
class Prompter;

// The boxes of the diary's lock: a warning about what was typed, and what
// went wrong when a password, a recovery code or the file did not do.
class CryptMessages
{
public:
    static QString Title() { return QStringLiteral("確認"); }
    static void Warn(Prompter& prompter, const QString& text);
    static void Inform(Prompter& prompter, const QString& text);
    // What the user typed is the "secret": the password or the recovery code.
    enum class Secret { Password, RecoveryCode };
    static void Report(Prompter& prompter, const CryptResult& result, Secret secret = Secret::Password);
    // Runs a step on the diary (a key derivation, a conversion) under the
    // wait cursor; when it fails, says why and selects `retry` for the user
    // to type again. True when it was done.
    static bool Run(Prompter& prompter, const std::function<CryptResult()>& step, QLineEdit* retry,
                    Secret secret = Secret::Password);
};
