#include "ui/platform/QtPrompter.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>

namespace {

QMessageBox::StandardButton ToStandard(Prompter::Answer answer)
{
    switch (answer) {
    case Prompter::Answer::Ok:
        return QMessageBox::Ok;
    case Prompter::Answer::Cancel:
        return QMessageBox::Cancel;
    case Prompter::Answer::Yes:
        return QMessageBox::Yes;
    case Prompter::Answer::No:
        return QMessageBox::No;
    case Prompter::Answer::Retry:
        return QMessageBox::Retry;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButtons ToStandard(Prompter::Buttons buttons)
{
    switch (buttons) {
    case Prompter::Buttons::Ok:
        return QMessageBox::Ok;
    case Prompter::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Prompter::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Prompter::Buttons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

Prompter::Answer FirstOf(Prompter::Buttons buttons)
{
    switch (buttons) {
    case Prompter::Buttons::Ok:
    case Prompter::Buttons::OkCancel:
        return Prompter::Answer::Ok;
    case Prompter::Buttons::YesNo:
        return Prompter::Answer::Yes;
    case Prompter::Buttons::RetryCancel:
        return Prompter::Answer::Retry;
    }
    return Prompter::Answer::Ok;
}

// Esc and the frame's close button give the last button of the set.
Prompter::Answer EscapeOf(Prompter::Buttons buttons)
{
    switch (buttons) {
    case Prompter::Buttons::Ok:
        return Prompter::Answer::Ok;
    case Prompter::Buttons::OkCancel:
    case Prompter::Buttons::RetryCancel:
        return Prompter::Answer::Cancel;
    case Prompter::Buttons::YesNo:
        return Prompter::Answer::No;
    }
    return Prompter::Answer::Ok;
}

QMessageBox::Icon ToStandard(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::None:
        return QMessageBox::NoIcon;
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    case Prompter::Icon::Exclamation:
        return QMessageBox::Warning;
    case Prompter::Icon::Critical:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QString QtPrompter::ForDisplay(const QString& text)
{
    QString display = text;
    display.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    display.replace(u'\r', u'\n');
    return display;
}

Prompter::Answer QtPrompter::Message(const Box& box)
{
    if (silent_)
        return EscapeOf(box.buttons);
    QMessageBox message(ToStandard(box.icon), box.title.isEmpty() ? ProgramTitle() : box.title, ForDisplay(box.text),
                        ToStandard(box.buttons), QApplication::activeWindow());
    message.setDefaultButton(ToStandard(box.defaultButton.value_or(FirstOf(box.buttons))));
    message.setEscapeButton(ToStandard(EscapeOf(box.buttons)));
    switch (message.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Retry:
        return Answer::Retry;
    default:
        return Answer::Cancel;
    }
}

std::optional<QString> QtPrompter::Input(const QString& prompt, const QString& title, const QString& initial)
{
    if (silent_)
        return std::nullopt;
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(title);
    dialog.setLabelText(ForDisplay(prompt));
    dialog.setTextValue(initial);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

void QtPrompter::Beep()
{
    QApplication::beep();
}

int QtPrompter::ShowModal(QDialog& window)
{
    return silent_ ? int(QDialog::Rejected) : window.exec();
}

bool QtPrompter::ChoosePrinter(QPrinter& printer)
{
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

std::optional<quint32> QtPrompter::ChooseColour(quint32 initial)
{
    const QColor chosen = QColorDialog::getColor(QColor::fromRgb(QRgb(initial)), QApplication::activeWindow());
    if (!chosen.isValid())
        return std::nullopt;
    return quint32(chosen.rgb() & 0xFFFFFF);
}

void QtPrompter::SetUpFileDialog(QFileDialog& dialog, const QStringList& nameFilters, int filterIndex)
{
    dialog.setFileMode(QFileDialog::ExistingFile);
    // The program's own dialog matches the patterns whatever the case of the
    // file names, so "*.BMP" finds photo.bmp as well; the desktop's may not.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (!nameFilters.isEmpty()) {
        dialog.setNameFilters(nameFilters);
        dialog.selectNameFilter(nameFilters.value(filterIndex - 1, nameFilters.first()));
    }
}

std::optional<QString> QtPrompter::ChooseFile(const QStringList& nameFilters, int filterIndex)
{
    QFileDialog dialog(QApplication::activeWindow());
    SetUpFileDialog(dialog, nameFilters, filterIndex);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> QtPrompter::ChooseFolder(const QString& title, const QString& initial)
{
    // A folder not made yet opens the picker on the nearest folder above it
    // that is there, not on the program's current folder.
    QFileInfo folder(initial.isEmpty() ? QDir::homePath() : initial);
    while (!folder.isDir() && !folder.isRoot() && folder.absoluteFilePath() != folder.absolutePath())
        folder.setFile(folder.absolutePath());
    QFileDialog dialog(QApplication::activeWindow(), title, folder.absoluteFilePath());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> QtPrompter::ChooseSaveFile(const QString& title, const QString& initial,
                                                  const QStringList& nameFilters)
{
    QFileDialog dialog(QApplication::activeWindow(), title);
    SetUpFileDialog(dialog, nameFilters, 1);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // A name typed without its ending gets the one the chosen name carries,
    // so a spreadsheet still opens the file.
    dialog.setDefaultSuffix(QFileInfo(initial).suffix());
    dialog.selectFile(initial);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}
