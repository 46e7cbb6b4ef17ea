#include "ScriptedPrompter.h"

#include <QTest>

namespace {

const char* KindName(ScriptedPrompter::Shown::Kind kind)
{
    switch (kind) {
    case ScriptedPrompter::Shown::Kind::Message:
        return "message box";
    case ScriptedPrompter::Shown::Kind::Input:
        return "input box";
    case ScriptedPrompter::Shown::Kind::Modal:
        return "modal window";
    case ScriptedPrompter::Shown::Kind::Printer:
        return "printer dialog";
    case ScriptedPrompter::Shown::Kind::Colour:
        return "colour picker";
    case ScriptedPrompter::Shown::Kind::File:
        return "file dialog";
    case ScriptedPrompter::Shown::Kind::Folder:
        return "folder picker";
    case ScriptedPrompter::Shown::Kind::SaveFile:
        return "file-save dialog";
    }
    return "box";
}

} // namespace

void ScriptedPrompter::AnswerMessage(Answer answer)
{
    answers_.push_back({Shown::Kind::Message, answer, {}, {}, {}, {}});
}

void ScriptedPrompter::AnswerInput(std::optional<QString> text)
{
    answers_.push_back({Shown::Kind::Input, Answer::Ok, std::move(text), {}, {}, {}});
}

void ScriptedPrompter::AnswerModal(ModalScript script)
{
    answers_.push_back({Shown::Kind::Modal, Answer::Ok, {}, std::move(script), {}, {}});
}

void ScriptedPrompter::AnswerPrinter(PrinterScript script)
{
    answers_.push_back({Shown::Kind::Printer, Answer::Ok, {}, {}, std::move(script), {}});
}

void ScriptedPrompter::AnswerColour(std::optional<quint32> rgb)
{
    answers_.push_back({Shown::Kind::Colour, Answer::Ok, {}, {}, {}, rgb});
}

void ScriptedPrompter::AnswerFile(std::optional<QString> path)
{
    answers_.push_back({Shown::Kind::File, Answer::Ok, std::move(path), {}, {}, {}});
}

void ScriptedPrompter::AnswerFolder(std::optional<QString> path)
{
    answers_.push_back({Shown::Kind::Folder, Answer::Ok, std::move(path), {}, {}, {}});
}

void ScriptedPrompter::AnswerSaveFile(std::optional<QString> path)
{
    answers_.push_back({Shown::Kind::SaveFile, Answer::Ok, std::move(path), {}, {}, {}});
}

bool ScriptedPrompter::TakeNext(Shown::Kind kind, const QString& what, Queued& next)
{
    if (answers_.empty() || answers_.front().kind != kind) {
        const QByteArray message =
            QStringLiteral("unexpected %1: %2").arg(QLatin1String(KindName(kind)), what).toUtf8();
        QTest::qFail(message.constData(), __FILE__, __LINE__);
        return false;
    }
    next = std::move(answers_.front());
    answers_.pop_front();
    return true;
}

Prompter::Answer ScriptedPrompter::Message(const Box& box)
{
    shown.push_back({Shown::Kind::Message, box});
    if (silenced)
        return box.buttons == Buttons::Ok ? Answer::Ok : box.buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    Queued next;
    if (!TakeNext(Shown::Kind::Message, box.text, next))
        return box.buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    return next.answer;
}

std::optional<QString> ScriptedPrompter::Input(const QString& prompt, const QString& title, const QString&)
{
    shown.push_back({Shown::Kind::Input, {prompt, title, Buttons::OkCancel, Icon::None, {}}});
    Queued next;
    if (!TakeNext(Shown::Kind::Input, prompt, next))
        return std::nullopt;
    return next.text;
}

int ScriptedPrompter::ShowModal(QDialog& window)
{
    shown.push_back({Shown::Kind::Modal, {}});
    if (silenced)
        return 0;
    Queued next;
    if (!TakeNext(Shown::Kind::Modal, QStringLiteral("a window"), next))
        return 0;
    return next.script(window);
}

QStringList ScriptedPrompter::MessageTexts() const
{
    QStringList texts;
    for (const Shown& entry : shown)
        if (entry.kind == Shown::Kind::Message)
            texts << entry.box.text;
    return texts;
}

const Prompter::Box& ScriptedPrompter::LastMessage() const
{
    static const Box none;
    for (auto it = shown.rbegin(); it != shown.rend(); ++it)
        if (it->kind == Shown::Kind::Message)
            return it->box;
    return none;
}

bool ScriptedPrompter::ChoosePrinter(QPrinter& printer)
{
    shown.push_back({Shown::Kind::Printer, {}});
    Queued next;
    if (!TakeNext(Shown::Kind::Printer, QStringLiteral("the printer"), next))
        return false;
    return next.printer(printer);
}

std::optional<quint32> ScriptedPrompter::ChooseColour(quint32)
{
    shown.push_back({Shown::Kind::Colour, {}});
    Queued next;
    if (!TakeNext(Shown::Kind::Colour, QStringLiteral("a colour"), next))
        return std::nullopt;
    return next.colour;
}

std::optional<QString> ScriptedPrompter::ChooseFile(const QStringList& nameFilters, int filterIndex)
{
    const QString filter = nameFilters.join(QStringLiteral(";;"));
    shown.push_back({Shown::Kind::File, {filter, QString::number(filterIndex), Buttons::OkCancel, Icon::None, {}}});
    Queued next;
    if (!TakeNext(Shown::Kind::File, filter, next))
        return std::nullopt;
    return next.text;
}

std::optional<QString> ScriptedPrompter::ChooseFolder(const QString& title, const QString& initial)
{
    shown.push_back({Shown::Kind::Folder, {initial, title, Buttons::OkCancel, Icon::None, {}}});
    Queued next;
    if (!TakeNext(Shown::Kind::Folder, title, next))
        return std::nullopt;
    return next.text;
}

std::optional<QString> ScriptedPrompter::ChooseSaveFile(const QString& title, const QString& initial,
                                                        const QStringList&)
{
    shown.push_back({Shown::Kind::SaveFile, {initial, title, Buttons::OkCancel, Icon::None, {}}});
    Queued next;
    if (!TakeNext(Shown::Kind::SaveFile, title, next))
        return std::nullopt;
    return next.text;
}
