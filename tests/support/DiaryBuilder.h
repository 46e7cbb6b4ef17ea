#pragma once

#include "ProgramTexts.h"
#include "core/diary/DiaryPage.h"

#include <QByteArray>
#include <QString>
#include <vector>

// Diary files for tests, built from field values.
class DiaryBuilder
{
public:
    struct Fields
    {
        QString date;
        QString weekday;
        QString expense;
        QString signature;
        QString time;
        QString weather;
        QString body;
    };

    static DiaryPage Page(const Fields& fields);
    DiaryBuilder& Add(const Fields& fields);
    // Raw bytes of a record, for pages this program would never write.
    DiaryBuilder& AddRaw(const QByteArray& record);
    QByteArray Bytes() const { return bytes_; }

    // Page `page` (from 1) of a diary file's bytes.
    static QByteArray RecordOf(const QByteArray& file, int page);
    // A field's bytes or text, padded with blanks to its fixed length.
    static QByteArray Padded(const QByteArray& bytes, int length);
    static QString Padded(const QString& text, int length);
    // 2001年5月14日 月曜日 1500 山田太郎 午後 3:05:09 晴れ, and a body of two
    // lines, byte for byte as the file holds it.
    static QByteArray SampleRecord();
    bool WriteTo(const QString& path) const;

private:
    QByteArray bytes_;
};
