#pragma once

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
    bool WriteTo(const QString& path) const;

private:
    QByteArray bytes_;
};
