#pragma once

#include "core/sync/MergeChooser.h"

#include <QDialog>
#include <optional>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class QStackedWidget;
class MergeSide;

// The pages both computers changed, one at a time, the version of this
// computer beside the other one; a choice for each (こちら, あちら, both), then
// a summary of the whole merge before anything is written. Closing the window
// or 後で puts the merge off. objectName: frmMerge.
class MergeWindow : public QDialog
{
    Q_OBJECT
public:
    explicit MergeWindow(MergeQuestion question, QWidget* parent = nullptr);

    // The choice for each conflict, in the question's order, once the user
    // pressed 統合する; nothing otherwise.
    std::optional<std::vector<Resolution>> Choices() const;

private:
    QWidget* BuildChoicePage();
    QWidget* BuildSummaryPage();
    void ShowConflict(int index);
    void Choose(Resolution resolution);
    void ShowSummary();
    void ShowChoices();
    void Merge();

    QString OursTitle() const;
    QString DateOf(int index) const;
    QString RowText(int index) const;
    QString ChoiceText(int index) const;
    QString SummaryText() const;

    MergeQuestion question_;
    std::vector<std::optional<Resolution>> chosen_;
    bool merged_ = false;
    QStackedWidget* steps_;
    QListWidget* conflicts_;
    MergeSide* ours_;
    MergeSide* theirs_;
    QLabel* summary_;
    QPushButton* merge_;
};
