#pragma once

#include "DiaryBuilder.h"
#include "FakeDiaryView.h"
#include "ScriptedPrompter.h"
#include "core/diary/DiaryStore.h"
#include "core/platform/Clock.h"
#include "core/settings/AppSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

// What the store tests share: a fixed "now", the boxes the user saw written
// out line by line, the bytes and stamps of files, and a small disk of its own.
namespace StoreFixture {

// Monday 7 December 2026, 9:30 in the morning.
// Where the first-start question says a diary named without a folder is kept.
inline QString UserFolder()
{
    return QStringLiteral("/home/空野/.local/share/日記帳Sorafumi");
}

inline QDateTime Now()
{
    return QDateTime(QDate(2026, 12, 7), QTime(9, 30, 0));
}

inline QString ButtonsName(Prompter::Buttons buttons)
{
    switch (buttons) {
    case Prompter::Buttons::Ok:
        return QStringLiteral("OK");
    case Prompter::Buttons::OkCancel:
        return QStringLiteral("OK/Cancel");
    case Prompter::Buttons::YesNo:
        return QStringLiteral("Yes/No");
    case Prompter::Buttons::RetryCancel:
        return QStringLiteral("Retry/Cancel");
    }
    return QStringLiteral("?");
}

inline QString IconName(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::None:
        return QStringLiteral("no icon");
    case Prompter::Icon::Information:
        return QStringLiteral("information");
    case Prompter::Icon::Question:
        return QStringLiteral("question");
    case Prompter::Icon::Exclamation:
        return QStringLiteral("exclamation");
    case Prompter::Icon::Critical:
        return QStringLiteral("critical");
    }
    return QStringLiteral("?");
}

inline QString AnswerName(std::optional<Prompter::Answer> answer)
{
    if (!answer)
        return QStringLiteral("first");
    switch (*answer) {
    case Prompter::Answer::Ok:
        return QStringLiteral("OK");
    case Prompter::Answer::Cancel:
        return QStringLiteral("Cancel");
    case Prompter::Answer::Yes:
        return QStringLiteral("Yes");
    case Prompter::Answer::No:
        return QStringLiteral("No");
    case Prompter::Answer::Retry:
        return QStringLiteral("Retry");
    }
    return QStringLiteral("?");
}

// Carriage returns written so that a failed comparison can be read.
inline QString Visible(QString text)
{
    return text.replace(u'\r', QStringLiteral("<CR>")).replace(u'\n', QStringLiteral("<LF>"));
}

// One line for a message box: text, title, buttons, icon and default button.
inline QString Message(const QString& text, const QString& title, Prompter::Buttons buttons, Prompter::Icon icon,
                       std::optional<Prompter::Answer> defaultButton = {})
{
    // The short parts first: a failed comparison shows only the start.
    return QStringLiteral("box %3, %4, default %5; title [%2]; text [%1]")
        .arg(Visible(text), title, ButtonsName(buttons), IconName(icon), AnswerName(defaultButton));
}

// One line for an input box.
inline QString Input(const QString& prompt, const QString& title)
{
    return QStringLiteral("input box; title [%2]; prompt [%1]").arg(Visible(prompt), title);
}

// The box of the program's file errors.
inline QString FileErrorBox(const QString& text, Prompter::Buttons buttons = Prompter::Buttons::Ok)
{
    return Message(text, QStringLiteral("ﾌｧｲﾙ ｴﾗｰ"), buttons, Prompter::Icon::Exclamation);
}

// Every box the user saw, one line each, in order.
inline QStringList Shown(const ScriptedPrompter& prompter)
{
    QStringList lines;
    for (const ScriptedPrompter::Shown& shown : prompter.shown) {
        const Prompter::Box& box = shown.box;
        switch (shown.kind) {
        case ScriptedPrompter::Shown::Kind::Message:
            lines << Message(box.text, box.title, box.buttons, box.icon, box.defaultButton);
            break;
        case ScriptedPrompter::Shown::Kind::Input:
            lines << Input(box.text, box.title);
            break;
        default:
            lines << QStringLiteral("a window");
            break;
        }
    }
    return lines;
}

inline QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// Which file a name leads to, and when it was last written.
struct Stamp
{
    bool exists = false;
    ino_t inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    mode_t mode = 0;

    bool operator==(const Stamp&) const = default;
};

inline Stamp StampOf(const QString& path)
{
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {true, info.st_ino, qint64(info.st_size), qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
            mode_t(info.st_mode & 07777)};
}

// Puts the last-written time years back, so that any later write shows.
inline bool BackDate(const QString& path)
{
    const struct timespec times[2] = {{989800000, 0}, {989800000, 0}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

inline bool Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// Not even root may change the file or folder while it is set.
inline bool SetImmutable(const QString& path, bool on)
{
    return Run(QStringLiteral("chattr"), {on ? QStringLiteral("+i") : QStringLiteral("-i"), path});
}

// The current folder for one test; the old one comes back afterwards.
class CurrentFolder
{
public:
    explicit CurrentFolder(const QString& path) : saved_(QDir::currentPath()) { QDir::setCurrent(path); }
    ~CurrentFolder() { QDir::setCurrent(saved_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    QString saved_;
};

// A tmpfs of a few pages of memory mounted for one test, so that a full or
// read-only disk is real. Only root may mount one.
class SmallDisk
{
public:
    SmallDisk(const QString& mountPoint, int kilobytes) : path_(mountPoint)
    {
        if (::geteuid() != 0)
            return;
        QDir().mkpath(path_);
        mounted_ = Run(QStringLiteral("mount"),
                       {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                        QStringLiteral("size=%1k,mode=0700").arg(kilobytes), QStringLiteral("tmpfs"), path_});
    }
    ~SmallDisk()
    {
        if (mounted_ && !Run(QStringLiteral("umount"), {path_}))
            Run(QStringLiteral("umount"), {QStringLiteral("-l"), path_});
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool IsMounted() const { return mounted_; }
    QString Path() const { return path_; }
    QString FilePath(const QString& name) const { return path_ + u'/' + name; }

    // Takes every byte that is left.
    bool Fill()
    {
        const int fd = ::open(QFile::encodeName(FilePath(QStringLiteral("filler"))).constData(),
                              O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (fd < 0)
            return false;
        const QByteArray block(4096, 'f');
        for (;;) {
            if (::write(fd, block.constData(), size_t(block.size())) <= 0)
                break;
        }
        const bool full = errno == ENOSPC;
        ::close(fd);
        return full;
    }
    bool MakeRoom() { return QFile::remove(FilePath(QStringLiteral("filler"))); }

    bool RemountReadOnly()
    {
        return Run(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("remount,ro"), path_});
    }

private:
    QString path_;
    bool mounted_ = false;
};

// One test's own folder, made the current folder. What the test did in it (a
// file or folder sealed, a small disk mounted) is undone before it goes.
class ScratchFolder
{
public:
    // A page journal that cannot lie beside its diary goes to the state
    // folder: the test's own, never the user's.
    ScratchFolder() : current_(dir_.path())
    {
        qputenv("XDG_STATE_HOME", QFile::encodeName(FilePath(QStringLiteral("state"))));
    }
    ~ScratchFolder()
    {
        if (!sealed_.isEmpty())
            SetImmutable(sealed_, false);
        disk_.reset();
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    bool IsValid() const { return dir_.isValid(); }
    QString Path() const { return dir_.path(); }
    QString FilePath(const QString& name) const { return dir_.filePath(name); }

    // Seals a file or folder in it until the test ends; false when the file
    // system cannot.
    bool Seal(const QString& path)
    {
        if (!SetImmutable(path, true))
            return false;
        sealed_ = path;
        return true;
    }
    // Mounts a small disk in it, "disk", until the test ends: why it could not,
    // or nothing.
    QString MountSmallDisk(int kilobytes)
    {
        if (::geteuid() != 0)
            return QStringLiteral("only root can mount a small disk");
        disk_ = std::make_unique<SmallDisk>(FilePath(QStringLiteral("disk")), kilobytes);
        return disk_->IsMounted() ? QString() : QStringLiteral("no tmpfs could be mounted");
    }
    SmallDisk& Disk() { return *disk_; }

private:
    QTemporaryDir dir_;
    CurrentFolder current_;
    std::unique_ptr<SmallDisk> disk_;
    QString sealed_;
};

// The store with the fakes it talks to: the main window's fields, the boxes,
// the clock, the loaded settings and the end of the program.
class StoreHarness
{
public:
    StoreHarness() : clock(Now()), store(view, prompter, clock, app, [this] { ++ended; })
    {
        app.UserName = QStringLiteral("山田太郎");
        // No daily copies of the diary, but in the tests of them.
        app.BackupDaily = 0;
        app.BackupWeekly = 0;
    }

    // The start-up's way in: the configured diary, then its last page shown.
    void Start(const QString& diary)
    {
        app.UserDataFile = diary;
        store.SelectDiaryFile(UserFolder());
        store.ShowLastPage();
        // As the window's first turn of the event loop does.
        QCoreApplication::processEvents();
    }
    void Show(qint32 page) { store.ShowPage(page); }
    QStringList Fields() const { return QStringList(view.fields.begin(), view.fields.end()); }

    FakeDiaryView view;
    ScriptedPrompter prompter;
    FixedClock clock;
    AppSettings app;
    int ended = 0;
    DiaryStore store;
};

} // namespace StoreFixture
