#pragma once

#include <QDate>
#include <QString>

// What a screen reader says for the program's own short forms: a date with
// its weekday, and an amount in yen instead of its "\" sign.
class SpokenText
{
public:
    // "2026年12月8日 火曜日"; empty for an invalid date.
    static QString Date(QDate date);
    // "1,500円", "マイナス500円"; empty for a text that is not an amount.
    static QString Amount(const QString& text);
};
