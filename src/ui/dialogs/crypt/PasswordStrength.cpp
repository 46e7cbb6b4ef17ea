#include "ui/dialogs/crypt/PasswordStrength.h"

#include <bitset>

PasswordStrength::Level PasswordStrength::Of(const QString& password)
{
    const qsizetype length = password.size();
    const int kinds = Kinds(password);
    if (length >= 12 && kinds >= 3)
        return Strong;
    if (length >= 8 && kinds >= 2)
        return Fair;
    return Weak;
}

int PasswordStrength::Kinds(const QString& password)
{
    std::bitset<5> kinds;
    for (const QChar c : password) {
        if (c.unicode() > 0x7F)
            kinds.set(4);
        else if (c.isLower())
            kinds.set(0);
        else if (c.isUpper())
            kinds.set(1);
        else if (c.isDigit())
            kinds.set(2);
        else
            kinds.set(3);
    }
    return int(kinds.count());
}

QString PasswordStrength::Hint(const QString& password)
{
    if (password.isEmpty())
        return {};
    static const QString Names[] = {QStringLiteral("弱い"), QStringLiteral("普通"), QStringLiteral("強い")};
    return QStringLiteral("強さ: %1（%2文字、%3種類）")
        .arg(Names[Of(password)])
        .arg(password.size())
        .arg(Kinds(password));
}
