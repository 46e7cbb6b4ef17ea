#include "ui/dialogs/transfer/FolderRow.h"

#include "core/platform/Prompter.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

QHBoxLayout* FolderRow::Make(QLineEdit* box, Prompter& prompter, const QString& pickerTitle)
{
    auto* browse = new QPushButton(QStringLiteral("参照(&B)..."), box->parentWidget());
    browse->setObjectName(QStringLiteral("cmdChooseFolder"));
    // Made after the window's other controls, the button would come last in
    // the Tab order: it comes right after its box, as it reads.
    QWidget::setTabOrder(box, browse);
    QObject::connect(browse, &QPushButton::clicked, box, [box, &prompter, pickerTitle] {
        const std::optional<QString> chosen =
            prompter.ChooseFolder(pickerTitle, QDir::cleanPath(box->text().trimmed()));
        if (chosen)
            box->setText(QDir::toNativeSeparators(*chosen));
    });
    auto* row = new QHBoxLayout;
    row->addWidget(box, 1);
    row->addWidget(browse);
    return row;
}
