#include "core/diary/DiaryPage.h"

#include "core/platform/Cp932.h"

DiaryPage::DiaryPage()
{
    for (const Layout& layout : Fields)
        texts_[layout.field] = QString(layout.length, u' ');
}

void DiaryPage::Assign(Field field, const QString& text)
{
    const int length = Fields[field].length;
    QString fitted = text.left(length);
    // Never keep half of a surrogate pair at the cut.
    if (fitted.size() == length && fitted.back().isHighSurrogate())
        fitted.chop(1);
    fitted.append(QString(length - fitted.size(), u' '));
    texts_[field] = fitted;
}

QByteArray DiaryPage::ToBytes() const
{
    QByteArray record;
    record.reserve(RecordLength);
    for (const Layout& layout : Fields)
        record.append(Cp932::EncodeField(texts_[layout.field], layout.length));
    return record;
}

QString DiaryPage::FieldFromBytes(const QByteArray& record, Field field)
{
    const Layout& layout = Fields[field];
    return Cp932::Decode(record.constData() + layout.offset, layout.length);
}

DiaryPage DiaryPage::FromBytes(const QByteArray& record)
{
    DiaryPage page;
    if (record.size() < RecordLength)
        return page;
    for (const Layout& layout : Fields)
        page.Assign(layout.field, FieldFromBytes(record, layout.field));
    return page;
}
