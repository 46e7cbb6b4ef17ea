#include "ui/dialogs/sync/MergeSide.h"

#include "core/diary/PageFields.h"
#include "ui/platform/Named.h"
#include "ui/platform/SpokenText.h"

#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

struct LineName
{
    const char* objectName;
    const char* caption;
    DiaryPage::Field field;
};

// The lines in the order the main window's entry area reads them.
constexpr std::array<LineName, 6> LineNames = {{
    {"lblDate", "日付：", DiaryPage::PageDate},
    {"lblTime", "時間：", DiaryPage::PageTime},
    {"lblWeekday", "曜日：", DiaryPage::PageWeekday},
    {"lblWeather", "天候：", DiaryPage::PageWeather},
    {"lblExpense", "出費：", DiaryPage::PageExpense},
    {"lblSignature", "署名：", DiaryPage::PageSignature},
}};

} // namespace

MergeSide::MergeSide(const QString& title, QWidget* parent) : QGroupBox(title, parent)
{
    fields_ = new QWidget(this);
    auto* form = new QFormLayout(fields_);
    form->setContentsMargins(0, 0, 0, 0);
    for (int line = 0; line < LineCount; ++line) {
        lines_[line] = Named(new QLabel(fields_), LineNames[line].objectName);
        lines_[line]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(QString::fromUtf8(LineNames[line].caption), lines_[line]);
    }
    body_ = Named(new QPlainTextEdit(this), "txtBody");
    body_->setReadOnly(true);
    // Tab leaves the body for the buttons, as it leaves any read-only text.
    body_->setTabChangesFocus(true);
    body_->setAccessibleName(title + QStringLiteral("の本文"));
    deleted_ = Named(new QLabel(DeletedText(), this), "lblDeleted");
    deleted_->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fields_);
    layout->addWidget(body_, 1);
    layout->addWidget(deleted_, 1);
}

QString MergeSide::LineText(const DiaryPage& page, Line line)
{
    const DiaryPage::Field field = LineNames[line].field;
    return field == DiaryPage::PageExpense ? PageFields::ShownExpense(page.Text(field))
                                           : PageFields::TrimSpaces(page.Text(field));
}

void MergeSide::Show(const std::optional<DiaryPage>& page)
{
    fields_->setVisible(page.has_value());
    body_->setVisible(page.has_value());
    deleted_->setVisible(!page);
    if (!page)
        return;
    QStringList heard;
    for (int line = 0; line < LineCount; ++line) {
        const QString text = LineText(*page, Line(line));
        lines_[line]->setText(text);
        heard << (line == ExpenseLine ? SpokenText::Amount(text) : text);
    }
    lines_[ExpenseLine]->setAccessibleName(heard[ExpenseLine]);
    // The record keeps CR LF; the box shows plain line ends.
    QString body = PageFields::TrimSpaces(page->Text(DiaryPage::PageBody));
    body_->setPlainText(body.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    // The fields are heard with the body, which is where the focus stops.
    heard.removeAll(QString());
    SpokenText::Describe(*body_, heard.join(u' '));
}
