#include "ui/dialogs/SystemInfo.h"

#include "core/platform/Prompter.h"

#include <QProcess>
#include <QStandardPaths>

QStringList SystemInfo::Candidates()
{
    return {QStringLiteral("hardinfo"),          QStringLiteral("gnome-system-monitor"),
            QStringLiteral("kinfocenter"),       QStringLiteral("mate-system-monitor"),
            QStringLiteral("xfce4-taskmanager"), QStringLiteral("lxtask")};
}

QString SystemInfo::FindProgram()
{
    for (const QString& name : Candidates()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

void SystemInfo::Start(Prompter& prompter)
{
    const QString program = FindProgram();
    if (!program.isEmpty() && QProcess::startDetached(program, {}))
        return;
    prompter.Message({QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"), Prompter::ProgramTitle(), Prompter::Buttons::Ok,
                      Prompter::Icon::None, {}});
}
