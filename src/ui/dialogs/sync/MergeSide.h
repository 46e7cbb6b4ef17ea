#pragma once

#include "core/diary/DiaryPage.h"

#include <QGroupBox>
#include <array>
#include <optional>

class QLabel;
class QPlainTextEdit;
class QWidget;

// One version of a page in the merge window, read-only: its date, time,
// weekday, weather, expense, signature and body, or a plain word that this
// version has no such page. objectName: the caller's (fraOurs, fraTheirs).
class MergeSide : public QGroupBox
{
    Q_OBJECT
public:
    MergeSide(const QString& title, QWidget* parent = nullptr);

    void Show(const std::optional<DiaryPage>& page);

    static QString DeletedText() { return QStringLiteral("（このページは削除されています）"); }

private:
    enum Line { DateLine, TimeLine, WeekdayLine, WeatherLine, ExpenseLine, SignatureLine, LineCount };
    static QString LineText(const DiaryPage& page, Line line);

    std::array<QLabel*, LineCount> lines_{};
    QWidget* fields_;
    QPlainTextEdit* body_;
    QLabel* deleted_;
};
