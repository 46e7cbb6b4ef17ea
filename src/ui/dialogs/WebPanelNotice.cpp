#include "ui/dialogs/WebPanelNotice.h"

#include "core/settings/AppSettings.h"
#include "ui/platform/Twips.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

WebPanelNotice::WebPanelNotice(AppSettings& app, std::function<void()> switchPanelOff, QWidget* parent)
    : QDialog(parent), app_(app), switchPanelOff_(std::move(switchPanelOff))
{
    setObjectName(QStringLiteral("frmZnMSG"));
    setWindowTitle(QStringLiteral("オンライン切替"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    setFixedSize(Twips::ToPixels(6000), Twips::ToPixels(3105));

    auto* text = new QLabel(
        QStringLiteral(
            "このＺＮ機能を使うには、インターネットに接続してからにしてください。もしあなたのコンピュータに、"
            "ネットワーク接続できる環境がない場合は、残念ですがこの機能は使えません。"),
        this);
    text->setObjectName(QStringLiteral("Label1"));
    text->setWordWrap(true);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(QPixmap(QStringLiteral(":/images/globe.png")));
    picture->setAccessibleName(QStringLiteral("地球のアイコン"));
    dontShowAgain_ = new QCheckBox(QStringLiteral("次回からはこの画面を出さない。"), this);
    dontShowAgain_->setObjectName(QStringLiteral("Check1"));

    auto* buttons = new QHBoxLayout;
    const char* captions[] = {"切替", "ｷｬﾝｾﾙ"};
    for (int index = 0; index < 2; ++index) {
        auto* button = new QPushButton(QString::fromUtf8(captions[index]), this);
        button->setObjectName(QStringLiteral("cmd"));
        button->setProperty("index", index);
        connect(button, &QPushButton::clicked, this,
                index == 0 ? &WebPanelNotice::KeepChoiceAndClose : &WebPanelNotice::Cancel);
        buttons->addWidget(button);
    }
    auto* grid = new QGridLayout(this);
    grid->addWidget(picture, 0, 0, Qt::AlignTop);
    grid->addWidget(text, 0, 1);
    grid->addWidget(dontShowAgain_, 1, 1);
    grid->addLayout(buttons, 2, 0, 1, 2);
}

void WebPanelNotice::KeepChoiceAndClose()
{
    app_.ZnMSG = dontShowAgain_->isChecked();
    accept();
}

// The notice box is not looked at: the notice comes again next time.
void WebPanelNotice::Cancel()
{
    if (switchPanelOff_)
        switchPanelOff_();
    reject();
}
