#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

// Diaries for measuring: one page a day from a fixed first day, with bodies of
// many lengths in everyday Japanese (kanji, kana, half-width kana, CR LF line
// breaks, and characters whose second byte is 0x5C). Every page depends only
// on its number, so a shorter diary is the start of a longer one and every run
// writes the same bytes.
class DiaryGenerator
{
public:
    static QDate FirstDate() { return QDate(1925, 1, 1); }
    static QDate DateOf(qint32 page) { return FirstDate().addDays(page - 1); }
    // A day no page of any diary made here holds.
    static QDate MissingDate() { return FirstDate().addDays(-1); }
    // A text no body holds.
    static QString AbsentText() { return QStringLiteral("檸檬の木の下で"); }
    static QString Owner() { return QStringLiteral("空野太郎"); }

    // The 10090 bytes of a page, as the program writes them.
    static QByteArray Record(qint32 page);

    // Writes pages 1 to pageCount and flushes them to disk. False on failure.
    static bool Write(const QString& path, qint32 pageCount);

    // Checks that a page reads back and writes out to the same bytes through
    // the program's own record conversions, and that the texts the benchmarks
    // look for are absent from it. An empty text when it does.
    static QString Check(qint32 page);
};
