#pragma once

#include "core/diary/EntryField.h"

#include <QByteArray>
#include <QString>
#include <array>

// One page of the diary: seven fixed-length text fields. In memory every field
// holds exactly its declared number of characters; on disk exactly that many
// cp932 bytes, left-justified and padded with spaces, 10090 bytes in all.
class DiaryPage
{
public:
    // File order of the fields.
    enum Field { PageDate, PageWeekday, PageExpense, PageSignature, PageTime, PageWeather, PageBody, FieldCount };

    struct Layout
    {
        Field field;
        int length;     // characters in memory, bytes on disk
        int offset;     // byte offset in the record
        EntryField entryField; // the entry field of the main window that shows it
    };

    static constexpr int RecordLength = 10090;
    static constexpr std::array<Layout, FieldCount> Fields = {{
        {PageDate, 15, 0, EntryField::Date},
        {PageWeekday, 15, 15, EntryField::Weekday},
        {PageExpense, 15, 30, EntryField::Expense},
        {PageSignature, 15, 45, EntryField::Signature},
        {PageTime, 15, 60, EntryField::Time},
        {PageWeather, 15, 75, EntryField::Weather},
        {PageBody, 10000, 90, EntryField::Body},
    }};

    DiaryPage();

    const QString& Text(Field field) const { return texts_[field]; }
    // Left-justified: shorter text is padded with spaces, longer text cut to
    // the declared number of characters.
    void Assign(Field field, const QString& text);

    QByteArray ToBytes() const;
    static DiaryPage FromBytes(const QByteArray& record);
    // Decodes one field straight from a record, for scans that need no more.
    static QString FieldFromBytes(const QByteArray& record, Field field);

    bool operator==(const DiaryPage& other) const = default;

private:
    std::array<QString, FieldCount> texts_;
};
