#pragma once

#include "core/stats/DiaryTotals.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <array>
#include <optional>

class QCalendarWidget;
class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;
class Clock;
class DiaryLock;
class DiaryStore;
class Prompter;
class StatsExpenseTab;
class StatsTab;
class StatsWritingTab;

// What the diary spent and how much was written: per month of a chosen year
// and per year, as charts and tables, read anew from the diary file each
// time the window opens and whenever a page is written while it is open.
// A month's bar, or Enter on its row of a table, turns the main window's
// calendar to that month; the figures of the chosen year are saved as a CSV
// file for a spreadsheet.
// objectName: frmStats.
class StatsWindow : public QDialog
{
    Q_OBJECT
public:
    // calendar is the main window's; none where there is no main window.
    StatsWindow(DiaryStore& store, Prompter& prompter, const Clock& clock, QCalendarWidget* calendar,
                QWidget* parent = nullptr);

    // An encrypted diary's CSV save first says the file is not encrypted.
    void WarnOfPlainCopies(const DiaryLock* lock) { lock_ = lock; }
    // Reads the figures from the diary file and shows them.
    void Refresh();
    // The year the month figures are shown for.
    int ChosenYear() const;
    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void RefreshSoon();
    bool ReadFigures();
    void FillYears();
    void ShowYear();
    void ShowNoFigures(const QString& why);
    std::array<StatsTab*, 2> Tabs() const;
    void ShowMonthInCalendar(int month);
    // Shows the months of the year, where it is one of the years listed.
    void ChooseYear(int year);
    // Shows the page in the main window as stepping does.
    void ShowPage(qint32 page);
    void SaveCsv();
    bool AskReplace(const QString& path);

    DiaryStore& store_;
    Prompter& prompter_;
    const DiaryLock* lock_ = nullptr;
    const Clock& clock_;
    QPointer<QCalendarWidget> calendar_;
    // The figures of this opening; none while the window is closed or when
    // the diary could not be read.
    std::optional<ExpenseTotals> expense_;
    std::optional<WritingTotals> writing_;

    QComboBox* year_;
    QComboBox* csvEncoding_;
    QPushButton* saveCsv_;
    QLabel* status_;
    QTabWidget* tabs_;
    StatsExpenseTab* expenseTab_;
    StatsWritingTab* writingTab_;
    QTimer refreshTimer_;
};
