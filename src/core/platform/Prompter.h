#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QDialog;
class QPrinter;

// Every message box, input box, picker, beep and modal window goes through here, so
// that tests can answer them and see exactly what the user would have seen.
class Prompter
{
public:
    enum class Buttons { Ok, OkCancel, YesNo, RetryCancel };
    enum class Icon { None, Information, Question, Exclamation, Critical };
    enum class Answer { Ok, Cancel, Yes, No, Retry };

    struct Box
    {
        QString text;
        QString title;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        // The button that Enter presses; the first of the set when not given.
        std::optional<Answer> defaultButton;
    };

    virtual ~Prompter() = default;

    virtual Answer Message(const Box& box) = 0;
    // A modal text input box; nothing when the user cancels.
    virtual std::optional<QString> Input(const QString& prompt, const QString& title, const QString& initial) = 0;
    virtual void Beep() = 0;
    // Shows a window modally and returns its result code.
    virtual int ShowModal(QDialog& window) = 0;
    // The printer dialog; false when the user cancels it.
    virtual bool ChoosePrinter(QPrinter& printer) = 0;
    // The colour picker, as 0xRRGGBB; nothing when the user cancels it.
    virtual std::optional<quint32> ChooseColour(quint32 initial) = 0;
    // The file-open dialog with its filter lines, as the file dialog shows
    // them ("ＧＩＦファイル (*.GIF)"), and the one shown first, 1-based; the
    // chosen file's full name, or nothing.
    virtual std::optional<QString> ChooseFile(const QStringList& nameFilters, int filterIndex) = 0;
    // The folder picker, opened at `initial`; the chosen folder, or nothing.
    // Only the windows of the newer features ask for one: a prompter that
    // shows none of them answers as a cancel.
    virtual std::optional<QString> ChooseFolder(const QString& title, const QString& initial)
    {
        Q_UNUSED(title);
        Q_UNUSED(initial);
        return std::nullopt;
    }
    // The file-save dialog, opened on the name `initial`, with filters as in
    // ChooseFile; the chosen file's full name, or nothing. A file that is
    // there already is not asked about here: the caller asks.
    virtual std::optional<QString> ChooseSaveFile(const QString& title, const QString& initial,
                                                  const QStringList& nameFilters)
    {
        Q_UNUSED(title);
        Q_UNUSED(initial);
        Q_UNUSED(nameFilters);
        return std::nullopt;
    }

    // From now on nobody is there to answer: the desktop session is ending.
    // A box is no longer shown and takes the answer its Esc key gives; a
    // modal window is not shown and counts as closed.
    virtual void Silence() {}

    // The title of boxes that carry no title of their own.
    static QString ProgramTitle() { return QStringLiteral("日記帳Sorafumi"); }
};
