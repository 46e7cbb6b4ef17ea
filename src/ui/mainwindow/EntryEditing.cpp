#include "ui/mainwindow/EntryEditing.h"

#include "core/diary/DiaryStore.h"
#include "core/platform/Money.h"
#include "ui/mainwindow/EntryLimit.h"
#include "ui/mainwindow/UpDown.h"
#include "ui/platform/ColourTheme.h"
#include "ui/platform/SpokenText.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>

namespace {

// A text that reads as an amount in the other form; any other text as it is.
QString Reformatted(const QString& text, QString (*format)(Money::Sum))
{
    const std::optional<qint64> amount = Money::Parse(text);
    return amount ? format(*amount) : text;
}

} // namespace

const std::array<QString, 9>& EntryEditing::WeatherWords()
{
    static const std::array<QString, 9> words = {
        QStringLiteral("晴れ"), QStringLiteral("くもり"), QStringLiteral("雨"),
        QStringLiteral("雪"),   QStringLiteral("台風"),   QStringLiteral("あられ"),
        QStringLiteral("ヤリ"), QStringLiteral("隕石"),   QStringLiteral("？"),
    };
    return words;
}

EntryEditing::EntryEditing(const Controls& controls, DiaryStore& store, const AppSettings& app)
    : QObject(controls.window), controls_(controls), store_(store), app_(app)
{
    // The focus and the keys of the fields reach eventFilter through the
    // application's filter below; a filter on each field as well would see
    // every event twice, and an arrow key would step the weather by two.
    for (QLineEdit* line : controls_.fieldBoxes.lines)
        connect(line, &QLineEdit::textChanged, this, &EntryEditing::MarkPageChanged);
    connect(controls_.fieldBoxes.body, &QPlainTextEdit::textChanged, this, &EntryEditing::MarkPageChanged);
    connect(controls_.weatherSpinner, &UpDown::Change, this, &EntryEditing::ShowWeatherWord);
    connect(controls_.fontSizeSpinner, &UpDown::Change, this,
            [this] { controls_.fontSizeBox->setText(QString::number(controls_.fontSizeSpinner->Value())); });
    // The spinner steps from the number the box holds, also the one it holds
    // from the start: a start-up that writes the same text changes nothing.
    const auto followFontSizeBox = [this](const QString& text) {
        bool number = false;
        const int size = text.trimmed().toInt(&number);
        if (number) {
            const QSignalBlocker quiet(controls_.fontSizeSpinner);
            controls_.fontSizeSpinner->SetValue(size);
        }
    };
    followFontSizeBox(controls_.fontSizeBox->text());
    connect(controls_.fontSizeBox, &QLineEdit::textChanged, this, followFontSizeBox);
    connect(controls_.slider, &QSlider::valueChanged, this, &EntryEditing::TurnToPage);
    // An amount is read in yen, whichever form the box shows.
    connect(Expense(), &QLineEdit::textChanged, this,
            [this](const QString& text) { Expense()->setAccessibleDescription(SpokenText::Amount(text)); });
    // The window sees every key before the control that has the focus.
    qApp->installEventFilter(this);
}

void EntryEditing::MarkPageChanged()
{
    store_.MarkChanged();
}

void EntryEditing::EnterField(EntryField field)
{
    // Once the focus has been reported: a screen reader told of it reads the
    // box by its name before its text changes. And after the click that gave
    // the focus has placed the cursor.
    QTimer::singleShot(0, this, [this, field] {
        const bool editing = field == EntryField::Expense;
        Expense()->setText(Reformatted(Expense()->text(), editing ? &Money::FormatEditing : &Money::FormatShown));
        auto* box = qobject_cast<QLineEdit*>(Box(field));
        if (box && box->hasFocus())
            box->selectAll();
    });
    ColourTheme::ApplyActiveColors(*controls_.window, app_);
}

void EntryEditing::HandleWindowKey(int key)
{
    QWidget* focused = QApplication::focusWidget();
    if (!focused)
        return;
    // Enter starts a new line in the body and shows the chosen day in the
    // calendar's day table; elsewhere it moves on.
    const bool enterActs = focused == Box(EntryField::Body) || qobject_cast<QAbstractItemView*>(focused);
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !enterActs) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(focused, &tab);
        return;
    }
    if (focused != Box(EntryField::Weather))
        return;
    // A step past either end is refused and the weather stays.
    if (key == Qt::Key_Up)
        controls_.weatherSpinner->SetValue(controls_.weatherSpinner->Value() + 1);
    else if (key == Qt::Key_Down)
        controls_.weatherSpinner->SetValue(controls_.weatherSpinner->Value() - 1);
}

void EntryEditing::ShowWeatherWord()
{
    const int value = controls_.weatherSpinner->Value();
    if (value >= 0 && value < int(WeatherWords().size()))
        controls_.fieldBoxes.Line(EntryField::Weather)->setText(WeatherWords()[size_t(value)]);
}

void EntryEditing::TurnToPage(int value)
{
    // An expense refused as it was left must not be stored as nothing.
    if (!EntryLimit::StorableExpense(Expense()->text()) || !store_.StorePage()) {
        // The shown page could not be stored: it stays, and so do its edits.
        const QSignalBlocker quiet(controls_.slider);
        controls_.slider->setValue(store_.CurrentPage());
        return;
    }
    // Pages are numbered from 1: the slider's 0 shows the first page.
    store_.ShowPage(qMax(1, value));
}

bool EntryEditing::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        // The window coming back to the front, or a closed pop-up menu, hands
        // the focus back to where it was: not a visit, so the text the user is
        // typing in is neither selected nor rewritten.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return QObject::eventFilter(watched, event);
        for (int index = 0; index < EntryFieldCount; ++index)
            if (watched == Box(EntryField(index)))
                EnterField(EntryField(index));
    } else if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
               static_cast<QWidget*>(watched)->window() == controls_.window) {
        // Only once per key: the event reaches the focused control first.
        if (watched == QApplication::focusWidget())
            HandleWindowKey(static_cast<QKeyEvent*>(event)->key());
    }
    return QObject::eventFilter(watched, event);
}
