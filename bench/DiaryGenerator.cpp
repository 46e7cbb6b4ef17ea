#include "DiaryGenerator.h"

#include "core/diary/DiaryPage.h"
#include "core/platform/Cp932.h"
#include "core/platform/JapaneseLocale.h"
#include "core/platform/Money.h"

#include <QFile>
#include <QTime>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int BodyBytes = DiaryPage::Fields[DiaryPage::PageBody].length;

// SplitMix64: small, fast and the same on every machine.
class Random
{
public:
    explicit Random(quint64 seed) : state_(seed) {}
    quint64 Next()
    {
        quint64 z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // From low to high, both included.
    int Between(int low, int high) { return low + int(Next() % quint64(high - low + 1)); }
    // True with the given chance in a hundred.
    bool Percent(int chance) { return Between(1, 100) <= chance; }

private:
    quint64 state_;
};

// What people write in a diary. Several sentences hold characters whose
// second cp932 byte is 0x5C (表 ソ 能 予 十 申 構), several half-width kana.
const char* const Sentences[] = {
    "今日は朝から良い天気だった。",
    "駅前の喫茶店でコーヒーを飲んだ。",
    "予定表を見直して、来週の準備をした。",
    "ソファで本を読んでいたら眠ってしまった。",
    "十時過ぎに母から電話があった。",
    "申し込みの締め切りは明日までだ。",
    "能率よく仕事が進んだので早めに帰った。",
    "構内の桜が満開で、写真を何枚も撮った。",
    "夕飯はカレーライス。少し辛すぎた。",
    "ｶﾌｪでﾗﾝﾁを食べた。ﾊﾟｽﾀがおいしかった。",
    "ﾒｰﾙの返事を三通書いた。",
    "雨が降りそうだったので傘を持って出かけた。",
    "図書館で歴史の本を借りてきた。",
    "久しぶりに友人と会って、昔の話で盛り上がった。",
    "電車が遅れて、会議に十五分遅刻した。",
    "庭の朝顔が咲き始めた。",
    "夜、テレビで古い映画を見た。",
    "明日は早起きしなければならない。",
    "家計簿をつけた。今月は出費が多い。",
    "ソースを作りすぎてしまった。",
    "表通りの店が閉店していた。残念だ。",
    "子供たちと公園へ行き、ボール遊びをした。",
    "予報では雪だったが、結局降らなかった。",
    "散歩の途中で猫に会った。",
    "体調が少し悪いので早く寝ることにする。",
    "新しいノートパソコンの設定に半日かかった。",
    "ﾃﾞｰﾀの整理をしたら、古い写真がたくさん出てきた。",
    "祖父の十三回忌で実家に帰った。",
    "能登の海はとても青かった。",
    "会社の申請書類を書き直した。",
    "構想ばかりで、なかなか手が動かない。",
    "「ありがとう」と言われて、少しうれしかった。",
    "一日中、部屋の片付けをしていた。",
    "近所のスーパーでイチゴが安かった。",
    "駅のホームで、学生時代の先生を見かけた。",
    "帰り道、月がきれいだった。",
    "手紙を書こうとして、結局やめた。",
    "今年の目標をもう一度考えてみる。",
    "ﾊﾞｽに乗り遅れて、ﾀｸｼｰを使った。",
    "年賀状の準備を始めた。",
    "台風が近づいていて、風が強い。",
    "洗濯物がよく乾いた。",
    "味噌汁の味が母のものに近づいてきた気がする。",
    "病院の待合室で二時間も待った。",
    "ギターの練習を三十分。指が痛い。",
    "雑誌の表紙に知っている人が載っていた。",
    "昼休みに銀行へ行った。",
    "ソウルから友人が遊びに来た。",
    "予算内で旅行の計画が立った。",
    "体重 62.5kg、歩数 8,432歩。",
    "買い物：牛乳、卵、食パン、ﾊﾞﾅﾅ。",
    "会議は9時～17時。長かった。",
    "ToDo: 部屋の掃除、本の返却。",
    "今日のことは、また明日書こう。",
};

const char* const Weathers[] = {"晴れ", "曇り", "雨", "雪", "晴れ時々曇り", "くもり", "小雨", "快晴"};
const int Amounts[] = {120, 150, 350, 480, 580, 980, 1200, 1500, 2300, 3980, 5000, 12800};

const std::vector<QByteArray>& EncodedSentences()
{
    static const std::vector<QByteArray> encoded = [] {
        std::vector<QByteArray> all;
        for (const char* sentence : Sentences)
            all.push_back(Cp932::Encode(QString::fromUtf8(sentence)));
        return all;
    }();
    return encoded;
}

QByteArray Field(const QString& text, DiaryPage::Field field)
{
    return Cp932::EncodeField(text, DiaryPage::Fields[field].length);
}

// Most entries are a few lines; some fill pages; a few are empty.
int BodyTarget(Random& random)
{
    const int kind = random.Between(1, 100);
    if (kind <= 2)
        return 0;
    if (kind <= 60)
        return random.Between(150, 1500);
    if (kind <= 90)
        return random.Between(1500, 4000);
    if (kind <= 98)
        return random.Between(4000, 8000);
    return random.Between(8000, BodyBytes - 10);
}

QByteArray Body(Random& random)
{
    const int target = BodyTarget(random);
    const std::vector<QByteArray>& sentences = EncodedSentences();
    const QByteArray indent = Cp932::Encode(QStringLiteral("　"));
    QByteArray body;
    body.reserve(BodyBytes);
    bool lineStart = true;
    while (body.size() < target) {
        QByteArray piece;
        if (lineStart && random.Percent(40))
            piece += indent;
        piece += sentences[size_t(random.Between(0, int(sentences.size()) - 1))];
        if (body.size() + piece.size() > BodyBytes)
            break;
        body += piece;
        lineStart = random.Percent(30);
        if (lineStart && body.size() + 4 < target)
            body += random.Percent(15) ? "\r\n\r\n" : "\r\n";
    }
    // A body never ends on a line break: the entry field would not keep it.
    while (body.endsWith("\r\n"))
        body.chop(2);
    return body;
}

} // namespace

QByteArray DiaryGenerator::Record(qint32 page)
{
    Random random(0x5EED5EED00000000ULL ^ (quint64(page) * 0x9E3779B97F4A7C15ULL));
    const QDate date = DateOf(page);
    // Mostly evenings; the hour is written on the twelve-hour clock.
    const int hour = random.Percent(80) ? random.Between(19, 23) : random.Between(6, 18);
    const QTime time(hour, random.Between(0, 59), random.Between(0, 59));
    const qint64 expense =
        random.Percent(40) ? 0 : Amounts[random.Between(0, int(std::size(Amounts)) - 1)] * Money::Scale;
    const QString weather = QString::fromUtf8(Weathers[random.Between(0, int(std::size(Weathers)) - 1)]);
    QByteArray body = Body(random);
    body.append(QByteArray(BodyBytes - body.size(), ' '));

    QByteArray record;
    record.reserve(DiaryPage::RecordLength);
    record += Field(JapaneseLocale::FormatDate(date), DiaryPage::PageDate);
    record += Field(JapaneseLocale::FormatWeekday(date), DiaryPage::PageWeekday);
    record += Field(Money::FormatStored(expense), DiaryPage::PageExpense);
    record += Field(Owner(), DiaryPage::PageSignature);
    record += Field(JapaneseLocale::FormatTime(time), DiaryPage::PageTime);
    record += Field(weather, DiaryPage::PageWeather);
    record += body;
    return record;
}

bool DiaryGenerator::Write(const QString& path, qint32 pageCount)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    constexpr qint32 PagesPerWrite = 100;
    QByteArray chunk;
    bool ok = true;
    for (qint32 first = 1; ok && first <= pageCount; first += PagesPerWrite) {
        chunk.clear();
        for (qint32 page = first; page < first + PagesPerWrite && page <= pageCount; ++page)
            chunk += Record(page);
        qsizetype done = 0;
        while (ok && done < chunk.size()) {
            const ssize_t put = ::write(fd, chunk.constData() + done, size_t(chunk.size() - done));
            if (put < 0 && errno == EINTR)
                continue;
            ok = put > 0;
            done += put;
        }
    }
    // On disk before anything is measured, so that no write-back of it runs
    // underneath a measurement.
    ok = ::fdatasync(fd) == 0 && ok;
    return ::close(fd) == 0 && ok;
}

QString DiaryGenerator::Check(qint32 page)
{
    for (const QString& probe : {QStringLiteral("表"), QStringLiteral("ソ"), QStringLiteral("能"), QStringLiteral("予"),
                                 QStringLiteral("十")}) {
        const QByteArray bytes = Cp932::Encode(probe);
        if (bytes.size() != 2 || bytes[1] != '\\')
            return QStringLiteral("%1 does not end in 0x5C").arg(probe);
    }
    const QByteArray record = Record(page);
    if (record.size() != DiaryPage::RecordLength)
        return QStringLiteral("page %1 is %2 bytes long").arg(page).arg(record.size());
    const DiaryPage read = DiaryPage::FromBytes(record);
    if (read.ToBytes() != record)
        return QStringLiteral("page %1 does not write back to its own bytes").arg(page);
    if (JapaneseLocale::ParseDate(read.Text(DiaryPage::PageDate).trimmed()) != DateOf(page))
        return QStringLiteral("page %1 does not read as its date").arg(page);
    if (read.Text(DiaryPage::PageBody).contains(AbsentText()))
        return QStringLiteral("page %1 holds the absent text").arg(page);
    return {};
}
