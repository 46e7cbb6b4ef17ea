#include "core/crypt/RecoveryCode.h"

#include "core/crypt/SecureBytes.h"

#include <QStringList>
#include <sodium.h>

QString RecoveryCode::New()
{
    QString code;
    if (!SecureBytes::LibraryReady())
        return code;
    const QString alphabet = Alphabet();
    for (int i = 0; i < Length; ++i)
        code += alphabet.at(int(randombytes_uniform(quint32(alphabet.size()))));
    return code;
}

QString RecoveryCode::Grouped(const QString& code)
{
    QStringList groups;
    for (int at = 0; at < code.size(); at += GroupLength)
        groups << code.mid(at, GroupLength);
    return groups.join(u'-');
}

QString RecoveryCode::Normalized(const QString& typed)
{
    QString code;
    for (const QChar c : typed.normalized(QString::NormalizationForm_KC).toUpper())
        if (!c.isSpace() && c != u'-' && c != u'ー' && c != u'－')
            code += c;
    return code;
}
