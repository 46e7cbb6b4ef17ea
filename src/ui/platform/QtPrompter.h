#pragma once

#include "core/platform/Prompter.h"

class QFileDialog;
class QWidget;

// The real boxes of the desktop, with Japanese standard button texts.
class QtPrompter : public Prompter
{
public:
    Answer Message(const Box& box) override;
    std::optional<QString> Input(const QString& prompt, const QString& title, const QString& initial) override;
    void Beep() override;
    int ShowModal(QDialog& window) override;
    bool ChoosePrinter(QPrinter& printer) override;
    std::optional<quint32> ChooseColour(quint32 initial) override;
    std::optional<QString> ChooseFile(const QStringList& nameFilters, int filterIndex) override;
    std::optional<QString> ChooseFolder(const QString& title, const QString& initial) override;
    std::optional<QString> ChooseSaveFile(const QString& title, const QString& initial,
                                          const QStringList& nameFilters) override;
    void Silence() override { silent_ = true; }

    // The file-open dialog as ChooseFile shows it, with the filter line
    // filterIndex (1-based) chosen.
    static void SetUpFileDialog(QFileDialog& dialog, const QStringList& nameFilters, int filterIndex);

    // Message texts separate their lines with a carriage return; a label
    // needs a line feed.
    static QString ForDisplay(const QString& text);

private:
    bool silent_ = false;
};
