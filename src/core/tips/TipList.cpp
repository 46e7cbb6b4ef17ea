#include "core/tips/TipList.h"

#include "core/platform/Cp932.h"

#include <QFile>
#include <QFileInfo>

bool TipList::LoadTips(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QString text = Cp932::Decode(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    // A final line ending ends the last tip; it does not start an empty one.
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    tips_ += lines;
    AdvanceTip();
    return true;
}

void TipList::AdvanceTip()
{
    ++current_;
    if (current_ > tips_.size())
        current_ = 1;
}

QString TipList::CurrentTip() const
{
    if (tips_.isEmpty() || current_ < 1 || current_ > tips_.size())
        return {};
    return tips_[current_ - 1];
}
