#pragma once

#include "core/platform/Prompter.h"

#include <QDialog>

// Answers every question with one chosen answer and counts what was shown, so
// that a measured path never waits on a window.
class BenchPrompter : public Prompter
{
public:
    Answer Message(const Box& box) override
    {
        ++messages;
        lastText = box.text;
        switch (box.buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::YesNo:
            return yesNo;
        case Buttons::OkCancel:
        case Buttons::RetryCancel:
            break;
        }
        return Answer::Cancel;
    }
    std::optional<QString> Input(const QString&, const QString&, const QString&) override
    {
        ++messages;
        return std::nullopt;
    }
    void Beep() override { ++beeps; }
    int ShowModal(QDialog&) override
    {
        ++messages;
        return QDialog::Rejected;
    }
    bool ChoosePrinter(QPrinter&) override { return false; }
    std::optional<quint32> ChooseColour(quint32) override { return std::nullopt; }
    std::optional<QString> ChooseFile(const QStringList&, int) override { return std::nullopt; }

    Answer yesNo = Answer::No;
    int messages = 0;
    int beeps = 0;
    QString lastText;
};
