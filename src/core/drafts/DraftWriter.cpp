#include "core/drafts/DraftWriter.h"

#include "core/drafts/DraftFile.h"

#include <cerrno>

DraftWriter::DraftWriter(std::function<void(const FileError&)> failed) : failed_(std::move(failed)) {}

DraftWriter::~DraftWriter()
{
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void DraftWriter::Write(const QString& diaryPath, const QByteArray& stored)
{
    Ask({diaryPath, stored});
}

void DraftWriter::Remove(const QString& diaryPath)
{
    Ask({diaryPath, std::nullopt});
}

void DraftWriter::Ask(Request request)
{
    {
        const std::lock_guard lock(mutex_);
        waiting_ = std::move(request);
        // Most runs keep no draft at all: the thread starts with the first.
        if (!thread_.joinable())
            thread_ = std::thread(&DraftWriter::Run, this);
    }
    changed_.notify_all();
}

FileError DraftWriter::Settle()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !waiting_ && !busy_; });
    return last_;
}

void DraftWriter::Run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return waiting_ || ending_; });
        if (!waiting_)
            return;
        const Request request = std::move(*waiting_);
        waiting_.reset();
        busy_ = true;
        lock.unlock();
        FileError error;
        if (request.stored)
            error = DraftFile::Write(DraftFile::PathFor(request.diaryPath), *request.stored);
        else if (!DraftFile::Remove(request.diaryPath))
            error = FileError::FromErrno(errno ? errno : EACCES);
        if (error && failed_)
            failed_(error);
        lock.lock();
        busy_ = false;
        last_ = error;
        changed_.notify_all();
    }
}
