#include "ui/dialogs/SearchWindow.h"

#include "core/diary/DiaryStore.h"
#include "core/settings/SettingValue.h"
#include "core/settings/SettingsStore.h"
#include "core/settings/UnsavedSettings.h"
#include "ui/dialogs/SearchHitList.h"
#include "ui/platform/SpokenNotice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QRadioButton* Option(int index, const QString& caption, QWidget* parent)
{
    auto* option = new QRadioButton(caption, parent);
    option->setObjectName(QStringLiteral("Opt"));
    option->setProperty("index", index);
    return option;
}

QPushButton* Command(int index, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QStringLiteral("cmd"));
    button->setProperty("index", index);
    return button;
}

} // namespace

SearchWindow::SearchWindow(DiaryStore& store, SettingsStore& settings, Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), store_(store), settings_(settings), prompter_(prompter)
{
    setObjectName(QStringLiteral("frmSeratch"));
    setWindowTitle(QStringLiteral("検索"));
    setModal(false);

    auto* note = new QLabel(QStringLiteral("ちょっといいかげんな検索"), this);
    note->setObjectName(QStringLiteral("Label2"));
    auto* caption = new QLabel(QStringLiteral("検索文字"), this);
    caption->setObjectName(QStringLiteral("Label1"));
    searchText_ = new QComboBox(this);
    searchText_->setObjectName(QStringLiteral("cmb"));
    searchText_->setEditable(true);
    searchText_->setInsertPolicy(QComboBox::NoInsert);
    // The text searched is the text typed: no earlier one is completed into it.
    searchText_->setCompleter(nullptr);
    searchText_->setMinimumWidth(220);
    caption->setBuddy(searchText_);

    way_ = new QGroupBox(QStringLiteral("検索方法"), this);
    way_->setObjectName(QStringLiteral("Frame1"));
    fromFirst_ = Option(0, QStringLiteral("ファイルの先頭から末尾に向かって"), way_);
    fromCurrent_ = Option(2, QStringLiteral("現在の位置から末尾に向かって"), way_);
    fromFirst_->setChecked(true);
    auto* options = new QVBoxLayout(way_);
    options->addWidget(fromFirst_);
    options->addWidget(fromCurrent_);

    fuzzy_ = new QCheckBox(QStringLiteral("あいまい検索（全角/半角・かな/カナ・大文字/小文字を区別しない）"), this);
    fuzzy_->setObjectName(QStringLiteral("chkFuzzySearch"));
    // Only the value 1 ticks it; anything else is the default, off.
    fuzzy_->setChecked(SettingValue::ToNumber(settings_.ReadSetting(SettingKey::FuzzySearch)) == 1.0);
    connect(fuzzy_, &QCheckBox::toggled, this, &SearchWindow::StoreFuzzy);

    auto* search = Command(0, QStringLiteral("検索"), this);
    auto* closeButton = Command(1, QStringLiteral("閉じる"), this);
    search->setDefault(true);
    connect(search, &QPushButton::clicked, this, &SearchWindow::Search);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
    // Made after the buttons: Tab reaches it and its list after them.
    listAll_ = new QCheckBox(QStringLiteral("一覧表示"), this);
    listAll_->setObjectName(QStringLiteral("chkListAll"));
    hitList_ = new SearchHitList(store_, prompter_, this);
    hitList_->setObjectName(QStringLiteral("pnlHits"));
    hitList_->hide();
    connect(listAll_, &QCheckBox::toggled, this, &SearchWindow::ShowHitList);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(
        QIcon::fromTheme(QStringLiteral("edit-find"), style()->standardIcon(QStyle::SP_FileDialogContentsView))
            .pixmap(32));
    picture->setAccessibleName(QStringLiteral("検索のアイコン"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(note, 0, 0, 1, 2);
    grid->addWidget(caption, 1, 0);
    grid->addWidget(searchText_, 1, 1);
    grid->addWidget(way_, 2, 0, 1, 2);
    grid->addWidget(fuzzy_, 3, 0, 1, 3);
    grid->addWidget(hitList_, 4, 0, 1, 3);
    grid->setRowStretch(4, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(search);
    buttons->addWidget(closeButton);
    // Beside the buttons, so the window without the list keeps its height.
    buttons->addWidget(listAll_);
    buttons->addStretch();
    buttons->addWidget(picture, 0, Qt::AlignRight);
    grid->addLayout(buttons, 0, 2, 3, 1);
    // The window and its list of earlier search texts end when it closes.
    setAttribute(Qt::WA_DeleteOnClose);
}

void SearchWindow::Search()
{
    const qint32 from = fromFirst_->isChecked() ? 1 : store_.CurrentPage() + 1;
    const QString text = searchText_->currentText();
    searchText_->addItem(text);
    searchText_->setCurrentIndex(searchText_->count() - 1);
    const BodySearch::Match match = fuzzy_->isChecked() ? BodySearch::Match::Folded : BodySearch::Match::Exact;
    if (listAll_->isChecked()) {
        hitList_->List(text, match);
        return;
    }
    // The screen shows the miss as the last page, without a sound; a screen
    // reader says it.
    if (!store_.FindAndShow(text, from, match))
        SpokenNotice::Say(*this, QStringLiteral("見つかりませんでした。"));
}

void SearchWindow::StoreFuzzy(bool on)
{
    // A choice the file could not keep still holds until the program ends.
    if (!settings_.WriteSetting(SettingKey::FuzzySearch, SettingValue::FromSwitch(on)))
        UnsavedSettings::ReportChange(prompter_, settings_.FileName());
}

void SearchWindow::ShowHitList(bool on)
{
    // The list covers every page: where to start does not apply.
    way_->setEnabled(!on);
    if (!on)
        hitList_->Stop();
    hitList_->setVisible(on);
    if (!on) {
        adjustSize();
        return;
    }
    // Room for a date and a good part of a line, kept on the screen.
    const QRect screen = this->screen()->availableGeometry();
    resize(qMin(qMax(width(), 680), screen.width()), qMin(qMax(height(), 520), screen.height()));
    QRect frame = frameGeometry();
    frame.moveRight(qMin(frame.right(), screen.right()));
    frame.moveBottom(qMin(frame.bottom(), screen.bottom()));
    frame.moveLeft(qMax(frame.left(), screen.left()));
    frame.moveTop(qMax(frame.top(), screen.top()));
    move(frame.topLeft());
}
