#pragma once

#include <QString>

// Texts of the program that several tests expect, written once here as the
// user reads them.

// What the status line reads with `count` pages, page `current` shown.
inline QString StatusLine(int count, int current)
{
    return QStringLiteral("全データ数： %1ページ  （現在： %2 ページ目を参照中）").arg(count).arg(current);
}

// The file a whole-file rewrite writes beside the diary before the rename.
inline const QString TempName = QStringLiteral("~~Tmp~~.Tmp");

inline const QString DiskFull = QStringLiteral("ﾃﾞｨｽｸがいっぱいです。");
