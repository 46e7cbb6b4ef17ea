#include "ui/dialogs/sync/MergeWindow.h"

#include "core/diary/PageFields.h"
#include "ui/dialogs/sync/MergeSide.h"
#include "ui/platform/Named.h"
#include "ui/platform/SpokenText.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

QString TheirsTitle(const QString& theirsName)
{
    const QString file = QFileInfo(theirsName).fileName();
    return file.isEmpty() ? QStringLiteral("あちらの版") : QStringLiteral("あちらの版（%1）").arg(file);
}

QPushButton* Button(const QString& text, const char* name, QWidget* parent)
{
    return Named(new QPushButton(text, parent), name);
}

} // namespace

MergeWindow::MergeWindow(MergeQuestion question, QWidget* parent)
    : QDialog(parent), question_(std::move(question)), chosen_(question_.conflicts.size())
{
    setObjectName(QStringLiteral("frmMerge"));
    setWindowTitle(QStringLiteral("日記の統合"));

    steps_ = Named(new QStackedWidget(this), "stkMergeSteps");
    steps_->addWidget(BuildChoicePage());
    steps_->addWidget(BuildSummaryPage());
    // 後で is there at every step: nothing is written until 統合する.
    auto* later = Button(QStringLiteral("後で(&L)"), "cmdLater", this);
    connect(later, &QPushButton::clicked, this, &QDialog::reject);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(later);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(steps_, 1);
    layout->addLayout(bottom);
    resize(820, 600);

    if (question_.conflicts.empty()) {
        ShowSummary();
        return;
    }
    conflicts_->setCurrentRow(0);
    // The arrows step through the pages from the start.
    conflicts_->setFocus();
}

QWidget* MergeWindow::BuildChoicePage()
{
    auto* page = new QWidget(this);
    auto* heading = Named(new QLabel(page), "lblMergeHeading");
    heading->setWordWrap(true);
    heading->setText(!question_.heading.isEmpty()
                         ? question_.heading
                         : QStringLiteral("両方の計算機で書き換えられたページが %1 ページあります。"
                                          "ページごとに、どちらの版を残すか選んでください。")
                               .arg(question_.conflicts.size()));

    conflicts_ = Named(new QListWidget(page), "lstConflicts");
    conflicts_->setAccessibleName(QStringLiteral("両方で書き換えられたページ"));
    for (int index = 0; index < int(question_.conflicts.size()); ++index)
        conflicts_->addItem(RowText(index));
    // A few rows are enough to step through; the pages themselves get the room.
    conflicts_->setMaximumHeight(conflicts_->fontMetrics().height() * 6);
    connect(conflicts_, &QListWidget::currentRowChanged, this, &MergeWindow::ShowConflict);

    ours_ = Named(new MergeSide(OursTitle(), page), "fraOurs");
    theirs_ = Named(new MergeSide(TheirsTitle(question_.theirsName), page), "fraTheirs");
    auto* sides = new QHBoxLayout;
    sides->addWidget(ours_, 1);
    sides->addWidget(theirs_, 1);

    auto* keepOurs = Button(QStringLiteral("こちらを残す(&O)"), "cmdKeepOurs", page);
    auto* keepTheirs = Button(QStringLiteral("あちらを残す(&T)"), "cmdKeepTheirs", page);
    auto* keepBoth = Button(QStringLiteral("両方残す(&B)"), "cmdKeepBoth", page);
    keepBoth->setToolTip(QStringLiteral("同じ日の 2 ページとして、両方の版を残します"));
    connect(keepOurs, &QPushButton::clicked, this, [this] { Choose(Resolution::KeepOurs); });
    connect(keepTheirs, &QPushButton::clicked, this, [this] { Choose(Resolution::KeepTheirs); });
    connect(keepBoth, &QPushButton::clicked, this, [this] { Choose(Resolution::KeepBoth); });
    auto* choices = new QHBoxLayout;
    choices->addStretch();
    for (QPushButton* button : {keepOurs, keepTheirs, keepBoth})
        choices->addWidget(button);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(heading);
    layout->addWidget(conflicts_);
    layout->addLayout(sides, 1);
    layout->addLayout(choices);
    return page;
}

QWidget* MergeWindow::BuildSummaryPage()
{
    auto* page = new QWidget(this);
    summary_ = Named(new QLabel(page), "lblMergeSummary");
    summary_->setWordWrap(true);
    summary_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    merge_ = Button(QStringLiteral("統合する(&M)"), "cmdMerge", page);
    // Enter merges on the summary and, out of sight on the choices, presses
    // no choice that the focus is not on.
    merge_->setDefault(true);
    auto* again = Button(QStringLiteral("選び直す(&C)"), "cmdChooseAgain", page);
    connect(merge_, &QPushButton::clicked, this, &MergeWindow::Merge);
    connect(again, &QPushButton::clicked, this, &MergeWindow::ShowChoices);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(merge_);
    buttons->addWidget(again);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(summary_, 1);
    layout->addLayout(buttons);
    return page;
}

void MergeWindow::ShowConflict(int index)
{
    if (index < 0 || index >= int(question_.conflicts.size()))
        return;
    ours_->Show(question_.conflicts[index].ours);
    theirs_->Show(question_.conflicts[index].theirs);
}

void MergeWindow::Choose(Resolution resolution)
{
    const int index = conflicts_->currentRow();
    if (index < 0)
        return;
    chosen_[index] = resolution;
    conflicts_->item(index)->setText(RowText(index));
    // On to the next page still waiting for a choice, after this one first.
    for (int step = 1; step <= int(chosen_.size()); ++step) {
        const int next = (index + step) % int(chosen_.size());
        if (!chosen_[next]) {
            conflicts_->setCurrentRow(next);
            return;
        }
    }
    ShowSummary();
}

void MergeWindow::ShowSummary()
{
    summary_->setText(SummaryText());
    steps_->setCurrentIndex(1);
    merge_->setFocus();
    // The summary is heard with the button the focus lands on.
    SpokenText::Describe(*merge_, summary_->text());
}

void MergeWindow::ShowChoices()
{
    steps_->setCurrentIndex(0);
    conflicts_->setFocus();
}

void MergeWindow::Merge()
{
    merged_ = true;
    accept();
}

std::optional<std::vector<Resolution>> MergeWindow::Choices() const
{
    if (!merged_)
        return std::nullopt;
    std::vector<Resolution> choices;
    // The summary is shown only once every conflict has its choice.
    for (const std::optional<Resolution>& choice : chosen_)
        choices.push_back(choice.value_or(Resolution::KeepBoth));
    return choices;
}

QString MergeWindow::OursTitle() const
{
    return question_.oursName.isEmpty() ? QStringLiteral("この計算機の版") : question_.oursName;
}

QString MergeWindow::DateOf(int index) const
{
    const ConflictPages& pages = question_.conflicts[index];
    const std::optional<DiaryPage>& page = pages.ours ? pages.ours : pages.theirs;
    const QString date = page ? PageFields::TrimSpaces(page->Text(DiaryPage::PageDate)) : QString();
    return date.isEmpty() ? QStringLiteral("（日付なし）") : date;
}

QString MergeWindow::RowText(int index) const
{
    return DateOf(index) + QStringLiteral("　—　") +
           (chosen_[index] ? ChoiceText(index) : QStringLiteral("まだ選んでいません"));
}

QString MergeWindow::ChoiceText(int index) const
{
    const ConflictPages& pages = question_.conflicts[index];
    switch (*chosen_[index]) {
    case Resolution::KeepOurs:
        return pages.ours ? QStringLiteral("こちらを残す") : QStringLiteral("こちらを残す（ページは削除します）");
    case Resolution::KeepTheirs:
        return pages.theirs ? QStringLiteral("あちらを残す") : QStringLiteral("あちらを残す（ページは削除します）");
    case Resolution::KeepBoth:
        break;
    }
    return pages.ours && pages.theirs ? QStringLiteral("両方残す（同じ日の 2 ページにします）")
                                      : QStringLiteral("両方残す");
}

QString MergeWindow::SummaryText() const
{
    QStringList lines{
        QStringLiteral("統合すると、日記は次のようになります。"),
        QString(),
        QStringLiteral("%1から取り込むページ: %2 ページ")
            .arg(TheirsTitle(question_.theirsName))
            .arg(question_.pagesTaken),
        QStringLiteral("%1のまま残すページ: %2 ページ").arg(OursTitle()).arg(question_.pagesKept),
    };
    if (!chosen_.empty())
        lines << QStringLiteral("両方で書き換えられたページ:");
    for (int index = 0; index < int(chosen_.size()); ++index)
        lines << QStringLiteral("　%1: %2").arg(DateOf(index), ChoiceText(index));
    lines << QString() << QStringLiteral("「後で」を押すと、今は何も書き換えません。");
    return lines.join(u'\n');
}
