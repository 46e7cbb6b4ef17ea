#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class DiaryStore;

// The pages of the shown day in the other years of the diary, newest first.
// It follows the main window's page while it is open, and a row activated
// (double-click or Enter) shows its page there. objectName: frmSameDay.
class SameDayWindow : public QDialog
{
    Q_OBJECT
public:
    explicit SameDayWindow(DiaryStore& store, QWidget* parent = nullptr);

    // Lists the pages for the page the main window shows now.
    void Refresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // A page shown and a page stored come together when stepping: the list
    // is read once for both.
    void RefreshSoon();
    void ShowPageOf(QTreeWidgetItem* row);
    void SetHeading(QDate shown);

    DiaryStore& store_;
    QLabel* heading_;
    QLabel* leapDayNote_;
    QLabel* count_;
    QTreeWidget* list_;
    QTimer refreshTimer_;
};
