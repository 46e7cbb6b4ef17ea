#pragma once

#include <QString>
#include <QStringList>

// The tips of the day and the one shown, kept for the whole run: every opening
// of the tip window reads the file again and goes on after the tip shown last.
class TipList
{
public:
    static QString FileName() { return QStringLiteral("TIPOFDAY.TXT"); }

    // Appends every line of the file (cp932) and steps to the next tip. False
    // when the name is empty or no such file exists.
    bool LoadTips(const QString& path);
    // The next tip, from the last back to the first.
    void AdvanceTip();
    // The tip shown; empty while there are none.
    QString CurrentTip() const;

    qsizetype Count() const { return tips_.size(); }
    int Current() const { return current_; }

private:
    QStringList tips_;
    int current_ = 0;
};
