#include "ui/dialogs/TipWindow.h"

#include "core/platform/ProgramFolder.h"
#include "core/settings/SettingValue.h"
#include "core/settings/SettingsStore.h"
#include "core/tips/TipList.h"
#include "ui/platform/Twips.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

QString TipWindow::MissingFileText()
{
    return QStringLiteral("ﾌｧｲﾙ ") + TipList::FileName() + QStringLiteral(" が見つかりませんでした。 ") +
           QStringLiteral("\r\n\r\n") + QStringLiteral("「メモ帳」を使用して、1 行に 1 つのﾜﾝﾎﾟｲﾝﾄという形式でﾃｷｽﾄ ﾌｧｲﾙを作成し、") +
           TipList::FileName() + QStringLiteral(" という名前で保存してください。 ") +
           QStringLiteral("その後、そのﾌｧｲﾙをｱﾌﾟﾘｹｰｼｮﾝと同じﾌｫﾙﾀﾞに保存してください。");
}

TipWindow::TipWindow(TipList& tips, SettingsStore& settings, const ProgramFolder& folder, QWidget* parent)
    : QDialog(parent), tips_(tips), settings_(settings)
{
    setObjectName(QStringLiteral("frmTip"));
    setWindowTitle(QStringLiteral("ﾜﾝﾎﾟｲﾝﾄ"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Picture1"));
    panel->setAutoFillBackground(true);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(white);
    auto* bulb = new QLabel(panel);
    bulb->setPixmap(QPixmap(QStringLiteral(":/images/bulb.png")));
    bulb->setAccessibleName(QStringLiteral("電球のアイコン"));
    bulb->setAlignment(Qt::AlignTop);
    auto* heading = new QLabel(QStringLiteral("便利な使い方..."), panel);
    heading->setObjectName(QStringLiteral("Label1"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    tipText_ = new QLabel(panel);
    tipText_->setObjectName(QStringLiteral("lblTipText"));
    tipText_->setWordWrap(true);
    // A tip is shown as written, markup and all.
    tipText_->setTextFormat(Qt::PlainText);
    tipText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    tipText_->setMinimumSize(Twips::ToPixels(3255), Twips::ToPixels(1635));
    tipText_->setMaximumWidth(Twips::ToPixels(3255));
    auto* panelLayout = new QGridLayout(panel);
    panelLayout->addWidget(bulb, 0, 0, 2, 1);
    panelLayout->addWidget(heading, 0, 1);
    panelLayout->addWidget(tipText_, 1, 1);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* next = new QPushButton(QStringLiteral("次を表示(&N)"), this);
    next->setObjectName(QStringLiteral("cmdNextTip"));
    next->setAutoDefault(false);
    showAtStartup_ = new QCheckBox(QStringLiteral("起動時にﾜﾝﾎﾟｲﾝﾄを表示する(&S)"), this);
    showAtStartup_->setObjectName(QStringLiteral("chkLoadTipsAtStartup"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(next, &QPushButton::clicked, this, &TipWindow::ShowNextTip);
    connect(showAtStartup_, &QCheckBox::clicked, this, &TipWindow::StoreStartupSwitch);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(next);
    buttons->addStretch();
    auto* grid = new QGridLayout(this);
    grid->addWidget(panel, 0, 0);
    grid->addLayout(buttons, 0, 1);
    grid->addWidget(showAtStartup_, 1, 0, 1, 2);
    setFixedSize(sizeHint());
    Open(folder);
}

void TipWindow::Open(const ProgramFolder& folder)
{
    // Opening the window switches the tip at start-up on again.
    showAtStartup_->setChecked(true);
    StoreStartupSwitch();
    if (!tips_.LoadTips(folder.File(TipList::FileName()))) {
        tipText_->setText(QString(MissingFileText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        FitTipText();
        return;
    }
    DisplayCurrentTip();
}

void TipWindow::DisplayCurrentTip()
{
    if (tips_.Count() == 0)
        return;
    tipText_->setText(tips_.CurrentTip());
    FitTipText();
}

// A tip longer than the design's box makes the window taller rather than
// losing its last lines.
void TipWindow::FitTipText()
{
    // Measured from the design's height, as the label never reports less than
    // its minimum.
    tipText_->setMinimumHeight(Twips::ToPixels(1635));
    tipText_->setMinimumHeight(tipText_->heightForWidth(tipText_->maximumWidth()));
    // The panel's size as the window's layout knows it is kept until told.
    tipText_->parentWidget()->updateGeometry();
    setFixedSize(sizeHint());
}

void TipWindow::ShowNextTip()
{
    tips_.AdvanceTip();
    DisplayCurrentTip();
}

void TipWindow::StoreStartupSwitch()
{
    settings_.WriteSetting(SettingKey::ShowTipsAtStartup, SettingValue::FromSwitch(showAtStartup_->isChecked()));
}
