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

QByteArray DiaryBuilder::RecordOf(const QByteArray& file, int page)
{
    return file.mid(qsizetype(page - 1) * DiaryPage::RecordLength, DiaryPage::RecordLength);
}

QByteArray DiaryBuilder::Padded(const QByteArray& bytes, int length)
{
    return bytes + QByteArray(length - bytes.size(), ' ');
}

QString DiaryBuilder::Padded(const QString& text, int length)
{
    return text + QString(length - text.size(), u' ');
}

QByteArray DiaryBuilder::SampleRecord()
{
    return Padded(QByteArray::fromHex("32303031944e358c8e313493fa"), 15) +
           Padded(QByteArray::fromHex("8c8e976a93fa"), 15) + Padded(QByteArray("1500"), 15) +
           Padded(QByteArray::fromHex("8e52936391be9859"), 15) +
           Padded(QByteArray::fromHex("8cdf8ce320333a30353a3039"), 15) + Padded(QByteArray::fromHex("90b082ea"), 15) +
           Padded(QByteArray::fromHex("8da193fa82cd0d0a90b082ea8142"), 10000);
}
