#pragma once

#include <QFile>
#include <QProcess>
#include <QString>
#include <sys/stat.h>
#include <unistd.h>

// Takes the right to write away from a file or folder for as long as it
// lives: by its mode for a user, by the immutable attribute for root, whom
// modes do not stop.
class WriteProtection
{
public:
    explicit WriteProtection(const QString& path) : path_(QFile::encodeName(path))
    {
        struct stat info
        {
        };
        if (::stat(path_.constData(), &info) != 0)
            return;
        mode_ = info.st_mode & 07777;
        on_ = Root() ? Chattr("+i") : ::chmod(path_.constData(), mode_ & ~0222u) == 0;
    }
    ~WriteProtection()
    {
        if (on_)
            Root() ? Chattr("-i") : ::chmod(path_.constData(), mode_) == 0;
    }
    WriteProtection(const WriteProtection&) = delete;
    WriteProtection& operator=(const WriteProtection&) = delete;

    bool IsOn() const { return on_; }
    static QString WhyNot()
    {
        return Root()
                   ? QStringLiteral("the file system cannot make a file immutable (chattr), and root writes any other")
                   : QStringLiteral("the mode of the file could not be changed");
    }

private:
    static bool Root() { return ::geteuid() == 0; }
    bool Chattr(const char* flag) const
    {
        QProcess chattr;
        chattr.start(QStringLiteral("chattr"), {QString::fromLatin1(flag), QFile::decodeName(path_)});
        return chattr.waitForFinished() && chattr.exitStatus() == QProcess::NormalExit && chattr.exitCode() == 0;
    }

    QByteArray path_;
    mode_t mode_ = 0;
    bool on_ = false;
};
