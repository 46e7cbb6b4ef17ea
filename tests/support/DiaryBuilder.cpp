#include "DiaryBuilder.h"

#include <QFile>

DiaryPage DiaryBuilder::Page(const Fields& fields)
{
    DiaryPage page;
    page.Assign(DiaryPage::PageDate, fields.date);
    page.Assign(DiaryPage::PageWeekday, fields.weekday);
    page.Assign(DiaryPage::PageExpense, fields.expense);
    page.Assign(DiaryPage::PageSignature, fields.signature);
    page.Assign(DiaryPage::PageTime, fields.time);
    page.Assign(DiaryPage::PageWeather, fields.weather);
    page.Assign(DiaryPage::PageBody, fields.body);
    return page;
}

DiaryBuilder& DiaryBuilder::Add(const Fields& fields)
{
    bytes_.append(Page(fields).ToBytes());
    return *this;
}

DiaryBuilder& DiaryBuilder::AddRaw(const QByteArray& record)
{
    bytes_.append(record);
    return *this;
}

bool DiaryBuilder::WriteTo(const QString& path) const
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes_) == bytes_.size();
}
