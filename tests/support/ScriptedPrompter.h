#pragma once

#include "core/platform/Prompter.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

// Answers every box from a queue and records what the user would have seen.
// A box that nobody queued an answer for fails the running test at once, so no
// test can hang on a real modal window.
class ScriptedPrompter : public Prompter
{
public:
    struct Shown
    {
        enum class Kind { Message, Input, Modal, Printer, Colour, File, Folder, SaveFile } kind;
        Box box; // for a message; for an input box its prompt and title; for a
                 // file dialog its filter as text and index as title
    };
    using ModalScript = std::function<int(QDialog&)>;
    // Sets the printer up as the user would; false cancels the dialog.
    using PrinterScript = std::function<bool(QPrinter&)>;

    void AnswerMessage(Answer answer);
    void AnswerInput(std::optional<QString> text);
    void AnswerModal(ModalScript script);
    void AnswerPrinter(PrinterScript script);
    void AnswerColour(std::optional<quint32> rgb);
    void AnswerFile(std::optional<QString> path);
    void AnswerFolder(std::optional<QString> path);
    void AnswerSaveFile(std::optional<QString> path);

    Answer Message(const Box& box) override;
    std::optional<QString> Input(const QString& prompt, const QString& title, const QString& initial) override;
    void Beep() override { ++beeps; }
    // Every box from now on is recorded and answered as Esc would answer it.
    void Silence() override { silenced = true; }
    int ShowModal(QDialog& window) override;
    bool ChoosePrinter(QPrinter& printer) override;
    std::optional<quint32> ChooseColour(quint32 initial) override;
    // Recorded with the filter lines joined by ";;" as the box's text.
    std::optional<QString> ChooseFile(const QStringList& nameFilters, int filterIndex) override;
    // Recorded with their title as the box's title and `initial` as its text.
    std::optional<QString> ChooseFolder(const QString& title, const QString& initial) override;
    std::optional<QString> ChooseSaveFile(const QString& title, const QString& initial,
                                          const QStringList& nameFilters) override;

    // True when every queued answer was used.
    bool AllAnswered() const { return answers_.empty(); }
    // Texts of the message boxes shown, in order.
    QStringList MessageTexts() const;
    const Box& LastMessage() const;

    std::vector<Shown> shown;
    int beeps = 0;
    bool silenced = false;

private:
    struct Queued
    {
        Shown::Kind kind;
        Answer answer = Answer::Cancel;
        std::optional<QString> text;
        ModalScript script;
        PrinterScript printer;
        std::optional<quint32> colour;
    };
    bool TakeNext(Shown::Kind kind, const QString& what, Queued& next);

    std::deque<Queued> answers_;
};
