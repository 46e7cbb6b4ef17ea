#include "ui/dialogs/crypt/RecoveryCodeWindow.h"

#include "core/crypt/RecoveryCode.h"
#include "core/platform/Prompter.h"
#include "ui/dialogs/crypt/CryptForm.h"
#include "ui/dialogs/crypt/CryptMessages.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRandomGenerator>

namespace {

constexpr int Groups = RecoveryCode::Length / RecoveryCode::GroupLength;

QFont CodeFont(int pointSize)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(pointSize);
    font.setBold(true);
    return font;
}

} // namespace

RecoveryCodeWindow::RecoveryCodeWindow(const QString& code, Prompter& prompter, int askedGroup, QWidget* parent)
    : QDialog(parent), code_(code), prompter_(prompter),
      askedGroup_(askedGroup > 0 ? askedGroup : QRandomGenerator::global()->bounded(1, Groups + 1))
{
    setObjectName(QStringLiteral("frmRecoveryCode"));
    CryptForm::Dress(*this, QStringLiteral("回復コード"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(
        CryptForm::Notice(*this,
                          QStringLiteral("これが回復コードです。パスワードを忘れたとき、日記帳を開く唯一の手段です。\n"
                                         "書き写すか印刷して、パソコンとは別の安全な場所にしまってください。"
                                         "この画面を閉じると、二度と表示されません。")),
        0, 0, 1, 3);

    auto* shown = new QLabel(RecoveryCode::Grouped(code_), this);
    shown->setObjectName(QStringLiteral("lblCode"));
    shown->setFont(CodeFont(20));
    shown->setAlignment(Qt::AlignCenter);
    shown->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // The name replaces the label's text for a screen reader: the code itself
    // is said after it, so a user who cannot see it can note it too.
    shown->setAccessibleName(QStringLiteral("回復コード"));
    shown->setAccessibleDescription(RecoveryCode::Grouped(code_));
    grid->addWidget(shown, 1, 0, 1, 3);

    auto* print = new QPushButton(QStringLiteral("印刷(&P)"), this);
    print->setObjectName(QStringLiteral("cmdPrint"));
    print->setAutoDefault(false);
    connect(print, &QPushButton::clicked, this, &RecoveryCodeWindow::Print);
    grid->addWidget(print, 2, 2);

    group_ = new QLineEdit(this);
    group_->setObjectName(QStringLiteral("txtCheckGroup"));
    group_->setAccessibleName(QStringLiteral("確認する組"));
    group_->setMaxLength(RecoveryCode::GroupLength * 2);
    grid->addWidget(CryptForm::Caption(*this,
                                       QStringLiteral("確認のため、左から %1 番目の組（%2文字）を入力してください(&C):")
                                           .arg(askedGroup_)
                                           .arg(RecoveryCode::GroupLength),
                                       group_),
                    3, 0, 1, 2);
    grid->addWidget(group_, 3, 2);

    QDialogButtonBox* buttons = CryptForm::Buttons(*this);
    connect(buttons, &QDialogButtonBox::accepted, this, &RecoveryCodeWindow::Check);
    grid->addWidget(buttons, 4, 0, 1, 3);
    group_->setFocus();
}

void RecoveryCodeWindow::Check()
{
    const QString asked = code_.mid((askedGroup_ - 1) * RecoveryCode::GroupLength, RecoveryCode::GroupLength);
    if (RecoveryCode::Normalized(group_->text()) == asked) {
        accept();
        return;
    }
    CryptMessages::Warn(prompter_, QStringLiteral("入力された組が回復コードと一致しません。\n"
                                                  "書き写した回復コードを確かめてから、もう一度入力してください。"));
    group_->setFocus();
    group_->selectAll();
}

void RecoveryCodeWindow::reject()
{
    const Prompter::Answer answer = prompter_.Message(
        {QStringLiteral("回復コードを控えないまま閉じますか？\n"
                        "パスワードを忘れたとき、日記帳は二度と開けなくなります。"),
         CryptMessages::Title(), Prompter::Buttons::YesNo, Prompter::Icon::Exclamation, Prompter::Answer::No});
    if (answer == Prompter::Answer::Yes)
        QDialog::reject();
}

void RecoveryCodeWindow::Print()
{
    QPrinter printer(QPrinter::HighResolution);
    if (!prompter_.ChoosePrinter(printer))
        return;
    PrintOn(printer);
}

void RecoveryCodeWindow::PrintOn(QPrinter& printer) const
{
    QPainter painter;
    if (!painter.begin(&printer)) {
        CryptMessages::Warn(prompter_, QStringLiteral("印刷できませんでした。回復コードを書き写してください。"));
        return;
    }
    const QRect page = painter.viewport();
    QFont heading = font();
    heading.setPointSize(14);
    painter.setFont(heading);
    const QRect top(page.left(), page.top(), page.width(), page.height() / 6);
    painter.drawText(top, Qt::AlignCenter, QStringLiteral("日記帳Sorafumi 回復コード"));
    painter.setFont(CodeFont(24));
    painter.drawText(top.translated(0, top.height()), Qt::AlignCenter, RecoveryCode::Grouped(code_));
    painter.setFont(font());
    painter.drawText(top.translated(0, 2 * top.height()), Qt::AlignCenter | Qt::TextWordWrap,
                     QStringLiteral("パスワードを忘れたとき、この回復コードで日記帳を開けます。\n"
                                    "パソコンとは別の安全な場所にしまってください。"));
    painter.end();
}
