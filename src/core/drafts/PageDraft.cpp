#include "core/drafts/PageDraft.h"

#include "core/sync/PageHash.h"

#include <QtEndian>
#include <cstring>

namespace {

const QByteArray Magic = QByteArrayLiteral("SFDRAFT1");
constexpr qsizetype HashLength = 8;
// Seven fields of a page hold far less; more is damage.
constexpr quint32 LongestField = 1024 * 1024;

template <typename Number> void Append(QByteArray& bytes, Number number)
{
    const Number stored = qToLittleEndian(number);
    bytes.append(reinterpret_cast<const char*>(&stored), qsizetype(sizeof stored));
}

// Reads the bytes front to back; any read past the end marks it spent.
class Reader
{
public:
    explicit Reader(const QByteArray& bytes) : bytes_(bytes) {}

    template <typename Number> Number Take()
    {
        Number stored{};
        if (!Has(qsizetype(sizeof stored)))
            return stored;
        std::memcpy(&stored, bytes_.constData() + at_, sizeof stored);
        at_ += qsizetype(sizeof stored);
        return qFromLittleEndian(stored);
    }
    QString TakeText()
    {
        const auto length = Take<quint32>();
        if (length > LongestField || !Has(qsizetype(length)))
            return {};
        const QString text = QString::fromUtf8(bytes_.constData() + at_, qsizetype(length));
        at_ += qsizetype(length);
        return text;
    }
    bool AtEnd() const { return ok_ && at_ == bytes_.size(); }

private:
    bool Has(qsizetype length)
    {
        ok_ = ok_ && length <= bytes_.size() - at_;
        return ok_;
    }

    const QByteArray& bytes_;
    qsizetype at_ = 0;
    bool ok_ = true;
};

} // namespace

QByteArray PageDraft::Encode() const
{
    QByteArray bytes = Magic;
    Append(bytes, qint64(date.isValid() ? date.toJulianDay() : 0));
    Append(bytes, nthOfDate);
    Append(bytes, page);
    Append(bytes, loadedHash);
    Append(bytes, keptAt.toMSecsSinceEpoch());
    for (const QString& field : fields) {
        const QByteArray text = field.toUtf8();
        Append(bytes, quint32(text.size()));
        bytes.append(text);
    }
    Append(bytes, PageHash::Of(bytes.constData(), bytes.size()));
    return bytes;
}

std::optional<PageDraft> PageDraft::Decode(const QByteArray& bytes)
{
    const qsizetype end = bytes.size() - HashLength;
    if (end < Magic.size() || !bytes.startsWith(Magic) ||
        qFromLittleEndian<quint64>(bytes.constData() + end) != PageHash::Of(bytes.constData(), end))
        return std::nullopt;
    const QByteArray payload = bytes.mid(Magic.size(), end - Magic.size());
    Reader reader(payload);
    PageDraft draft;
    const auto day = reader.Take<qint64>();
    draft.date = day != 0 ? QDate::fromJulianDay(day) : QDate();
    draft.nthOfDate = reader.Take<qint32>();
    draft.page = reader.Take<qint32>();
    draft.loadedHash = reader.Take<quint64>();
    draft.keptAt = QDateTime::fromMSecsSinceEpoch(reader.Take<qint64>());
    for (QString& field : draft.fields)
        field = reader.TakeText();
    if (!reader.AtEnd())
        return std::nullopt;
    return draft;
}

QString PageDraft::Text() const
{
    static const std::array<std::pair<EntryField, const char*>, 6> Headers = {{
        {EntryField::Date, "日付: "},
        {EntryField::Weekday, "曜日: "},
        {EntryField::Time, "時間: "},
        {EntryField::Weather, "天候: "},
        {EntryField::Expense, "出費: "},
        {EntryField::Signature, "署名: "},
    }};
    QString text;
    for (const auto& [field, header] : Headers)
        text += QString::fromUtf8(header) + Field(field) + u'\n';
    QString body = Field(EntryField::Body);
    return text + u'\n' + body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
