#include "core/search/JapaneseFold.h"

#include <QChar>

namespace {

char32_t CodePointAt(QStringView text, qsizetype at)
{
    if (at + 1 < text.size() && text[at].isHighSurrogate() && text[at + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(text[at], text[at + 1]);
    return text[at].unicode();
}

qsizetype CodePointLength(QStringView text, qsizetype at)
{
    return CodePointAt(text, at) > 0xFFFF ? 2 : 1;
}

// Calls visit(begin, end) for each cluster of text in turn.
template <typename Visit> void EachCluster(QStringView text, Visit visit)
{
    qsizetype begin = 0;
    while (begin < text.size()) {
        qsizetype end = begin + CodePointLength(text, begin);
        while (end < text.size() && JapaneseFold::JoinsPrevious(CodePointAt(text, end)))
            end += CodePointLength(text, end);
        visit(begin, end);
        begin = end;
    }
}

// Katakana to the hiragana of the same sound. ヷ to ヺ have none and stay.
void ToHiragana(QString& text)
{
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if ((u >= u'\u30A1' && u <= u'\u30F6') || u == u'\u30FD' || u == u'\u30FE')
            c = QChar(char16_t(u - 0x60));
    }
}

} // namespace

bool JapaneseFold::JoinsPrevious(char32_t c)
{
    // The half-width voiced marks are letters of their own, but normalise to
    // the combining marks that join the kana before them.
    if (c == U'\uFF9E' || c == U'\uFF9F')
        return true;
    if ((c >= U'\u1160' && c <= U'\u11FF') || (c >= U'\uD7B0' && c <= U'\uD7FF'))
        return true;
    return QChar::isMark(c);
}

QString JapaneseFold::FoldCluster(QStringView cluster)
{
    // Most of a diary is one character a cluster, and much of that ASCII.
    if (cluster.size() == 1 && cluster[0].unicode() < 0x80) {
        const char16_t c = cluster[0].unicode();
        return QString(QChar(c >= u'A' && c <= u'Z' ? char16_t(c + 0x20) : c));
    }
    QString folded = cluster.toString().normalized(QString::NormalizationForm_KC);
    ToHiragana(folded);
    return folded.toCaseFolded();
}

QString JapaneseFold::Fold(QStringView text)
{
    QString folded;
    folded.reserve(text.size());
    EachCluster(text, [&](qsizetype begin, qsizetype end) { folded += FoldCluster(text.sliced(begin, end - begin)); });
    return folded;
}

JapaneseFold::Folded JapaneseFold::FoldKeepingOrigins(QStringView text)
{
    Folded folded;
    folded.text.reserve(text.size());
    EachCluster(text, [&](qsizetype begin, qsizetype end) {
        const QString part = FoldCluster(text.sliced(begin, end - begin));
        folded.text += part;
        folded.begin.insert(folded.begin.end(), size_t(part.size()), begin);
        folded.end.insert(folded.end.end(), size_t(part.size()), end);
    });
    return folded;
}

std::optional<JapaneseFold::Span> JapaneseFold::Find(QStringView text, QStringView foldedNeedle)
{
    if (foldedNeedle.isEmpty())
        return Span{};
    const Folded folded = FoldKeepingOrigins(text);
    const qsizetype at = folded.text.indexOf(foldedNeedle);
    if (at < 0)
        return std::nullopt;
    const qsizetype start = folded.begin[size_t(at)];
    return Span{start, folded.end[size_t(at + foldedNeedle.size() - 1)] - start};
}
