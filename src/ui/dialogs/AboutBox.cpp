#include "ui/dialogs/AboutBox.h"

#include "core/platform/Prompter.h"
#include "core/settings/AppSettings.h"
#include "core/settings/SessionSettings.h"
#include "ui/browser/HelpPages.h"
#include "ui/dialogs/SystemInfo.h"
#include "ui/platform/Twips.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

QLabel* NamedLabel(const char* name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

} // namespace

QString AboutBox::DisclaimerText()
{
    const QString end = QStringLiteral("\r\n");
    return QStringLiteral("【警告】") + end +
           QStringLiteral("商用目的（付録など）で利用する場合は前もって作者に連絡を下さい。") + end +
           QStringLiteral("sorafumi@example.jp") + end +
           QStringLiteral("(返事がない場合はこちらへ) support@example.jp") + end + HelpPages::SiteAddress() + end +
           end + end + end;
}

AboutBox::AboutBox(const AppSettings& app, Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Kasumire　バージョン情報"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    // The design size, grown where the desktop's fonts need more room.
    setMinimumSize(Twips::ToPixels(7230), Twips::ToPixels(3720));

    QPalette ink = palette();
    ink.setColor(QPalette::WindowText, Qt::black);
    setPalette(ink);

    ownerPicture_ = NamedLabel("UserImage", this);
    ownerPicture_->setFixedSize(150, 150);
    ownerPicture_->setPixmap(QPixmap(QStringLiteral(":/images/user.png")));
    auto* icon = NamedLabel("Image1", this);
    icon->setPixmap(QPixmap(QStringLiteral(":/images/icon.png")));
    icon->setAccessibleName(QStringLiteral("日記帳Sorafumiのアイコン"));
    auto* title = NamedLabel("lblTitle", this);
    title->setText(QStringLiteral("日記帳Sorafumi Kasumire (SR6)"));
    QFont large = title->font();
    large.setPointSize(14);
    large.setBold(true);
    title->setFont(large);
    auto* version = NamedLabel("lblVersion", this);
    version->setText(QStringLiteral("バージョン： ") + SessionSettings::ProgramVersion());
    auto* description = NamedLabel("lblDescription", this);
    description->setText(
        QStringLiteral("「日記帳Sorafumi」は、Ｗｉｎｄｏｗｓ上で日記を簡単に付けるためのプログラムです。"
                       "このソフトはフリーソフトなので、"
                       "どんどん普及を促進してください。これからも愛用してくださいね。"));
    description->setWordWrap(true);
    auto* author = NamedLabel("Label1", this);
    author->setText(QStringLiteral("作者：空文工房"));

    auto* disclaimer = new QPlainTextEdit(this);
    disclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    disclaimer->setReadOnly(true);
    disclaimer->setAccessibleName(QStringLiteral("警告"));
    disclaimer->setFont(QFont(QStringLiteral("ＭＳ ゴシック"), 9));
    disclaimer->setPlainText(QString(DisclaimerText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* sysInfo = new QPushButton(QStringLiteral("ｼｽﾃﾑ情報(&S)..."), this);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    sysInfo->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(sysInfo, &QPushButton::clicked, this, [this] { SystemInfo::Start(prompter_); });

    auto* grid = new QGridLayout(this);
    grid->addWidget(ownerPicture_, 0, 0, 4, 1);
    grid->addWidget(icon, 0, 1);
    grid->addWidget(title, 0, 2);
    grid->addWidget(version, 1, 2);
    grid->addWidget(description, 2, 1, 1, 2);
    grid->addWidget(author, 3, 2, Qt::AlignRight);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(disclaimer, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(sysInfo);
    buttons->addStretch();
    bottom->addLayout(buttons);
    grid->addLayout(bottom, 4, 0, 1, 3);
    description->setMinimumWidth(360);
    ShowOwnerPicture(app);
    setFixedSize(sizeHint().expandedTo(minimumSize()));
}

// A white background with its picture behind the controls.
void AboutBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawPixmap(rect(), QPixmap(QStringLiteral(":/images/back.png")));
}

void AboutBox::ShowOwnerPicture(const AppSettings& app)
{
    // An empty choice clears the picture; one that cannot be loaded keeps the
    // built-in picture.
    if (app.VersionPicture.isEmpty()) {
        ownerPicture_->clear();
        return;
    }
    const QPixmap picture(app.VersionPicture);
    if (!picture.isNull())
        ownerPicture_->setPixmap(picture.scaled(ownerPicture_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}
