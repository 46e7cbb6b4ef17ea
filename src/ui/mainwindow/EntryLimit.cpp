#include "ui/mainwindow/EntryLimit.h"

#include "core/diary/DiaryPage.h"
#include "core/platform/Cp932.h"
#include "core/platform/Money.h"
#include "core/platform/NumberText.h"
#include "core/platform/Prompter.h"
#include "ui/mainwindow/BodyBox.h"

#include <QFocusEvent>
#include <QLineEdit>

namespace {

QString Title()
{
    return QStringLiteral("入力ｴﾗｰ");
}

// Numbers in messages carry one leading space.
QString Number(qsizetype value)
{
    return u' ' + QString::number(value);
}

// A cut never leaves half of a surrogate pair on either side.
qsizetype CharacterStart(const QString& text, qsizetype position)
{
    return position > 0 && position < text.size() && text[position].isLowSurrogate() ? position - 1 : position;
}

} // namespace

EntryLimit::EntryLimit(const EntryBoxes& boxes, Prompter& prompter, QObject* parent)
    : QObject(parent), boxes_(boxes), prompter_(prompter)
{
    boxes_.body->SetGate(
        [this](const QString& offered, const QString& rest) { return Admit(EntryField::Body, offered, rest); });
    for (int index = 0; index < EntryBoxes::LineCount; ++index) {
        const auto field = EntryField(index);
        QLineEdit* line = boxes_.Line(field);
        // The program's own texts (a page loaded, the expense reformatted)
        // change the box without an edit. The box is asked, not the signal:
        // after a cut the signal of the edit still carries the whole text.
        before_[Slot(field)] = line->text();
        connect(line, &QLineEdit::textChanged, this, [this, field, line] { before_[Slot(field)] = line->text(); });
        connect(line, &QLineEdit::textEdited, this, [this, field](const QString& text) { LineEdited(field, text); });
    }
    boxes_.Line(EntryField::Expense)->installEventFilter(this);
}

int EntryLimit::Capacity(EntryField field)
{
    for (const DiaryPage::Layout& layout : DiaryPage::Fields)
        if (layout.entryField == field)
            return layout.length;
    return 0;
}

int EntryLimit::StoredSize(const QString& boxText)
{
    // A character without a cp932 form is kept as one "?" byte, but a page
    // holds no more characters than bytes: one outside the basic plane
    // counts as the two it takes in memory.
    qsizetype size = Cp932::Encode(boxText).size() + boxText.count(u'\n');
    for (const QChar c : boxText)
        size += c.isHighSurrogate() ? 1 : 0;
    return int(size);
}

QString EntryLimit::Fitting(const QString& text, int room)
{
    if (StoredSize(text) <= room)
        return text;
    qsizetype fits = 0;
    qsizetype over = text.size();
    while (over - fits > 1) {
        const qsizetype middle = CharacterStart(text, (fits + over) / 2);
        if (middle == fits)
            break;
        (StoredSize(text.left(middle)) <= room ? fits : over) = middle;
    }
    return text.left(fits);
}

bool EntryLimit::StorableExpense(const QString& text)
{
    if (!NumberText::Parse(text, NumberText::Form::Money))
        return true;
    const std::optional<qint64> amount = Money::Parse(text);
    return amount && StoredSize(Money::FormatStored(*amount)) <= Capacity(EntryField::Expense);
}

QString EntryLimit::Admit(EntryField field, const QString& offered, const QString& rest)
{
    const QString kept = Fitting(offered, Capacity(field) - StoredSize(rest));
    Report(field, offered, kept);
    return kept;
}

void EntryLimit::Report(EntryField field, const QString& offered, const QString& kept)
{
    if (kept == offered)
        return;
    const QString left = offered.mid(kept.size());
    const qsizetype characters = left.toUcs4().size();
    if (characters == 1 && kept.isEmpty()) {
        // One key too many.
        prompter_.Beep();
        return;
    }
    prompter_.Message(
        {QStringLiteral("「%1」に入るのは%2バイトまでです。\r入りきらない%3文字（%4バイト）は入力しませんでした。")
             .arg(boxes_.Box(field)->accessibleName(), Number(Capacity(field)), Number(characters),
                  Number(StoredSize(left))),
         Title(),
         Prompter::Buttons::Ok,
         Prompter::Icon::Exclamation,
         {}});
}

void EntryLimit::LineEdited(EntryField field, const QString& text)
{
    const QString before = before_[Slot(field)];
    if (StoredSize(text) <= Capacity(field))
        return;
    // The edit replaced the middle of the text: what both have at the start
    // and at the end stayed.
    qsizetype start = 0;
    while (start < before.size() && start < text.size() && before[start] == text[start])
        ++start;
    start = CharacterStart(text, start);
    qsizetype end = 0;
    while (end < before.size() - start && end < text.size() - start &&
           before[before.size() - 1 - end] == text[text.size() - 1 - end])
        ++end;
    end = text.size() - CharacterStart(text, text.size() - end);
    const QString head = text.left(start);
    const QString tail = text.right(end);
    const QString kept = Admit(field, text.mid(start, text.size() - start - end), head + tail);
    QLineEdit* line = boxes_.Line(field);
    line->setText(head + kept + tail);
    line->setCursorPosition(int(start + kept.size()));
}

bool EntryLimit::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::FocusOut)
        return QObject::eventFilter(watched, event);
    // Another window coming to the front, or a menu, is not leaving the box.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    QLineEdit* expense = boxes_.Line(EntryField::Expense);
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || StorableExpense(expense->text()))
        return QObject::eventFilter(watched, event);
    prompter_.Message({QStringLiteral("「%1」は金額が大きすぎるため、%2に記録できません。\r金額を直してください。")
                           .arg(expense->text(), expense->accessibleName()),
                       Title(),
                       Prompter::Buttons::Ok,
                       Prompter::Icon::Exclamation,
                       {}});
    expense->setFocus(Qt::OtherFocusReason);
    return QObject::eventFilter(watched, event);
}
