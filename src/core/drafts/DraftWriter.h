#pragma once

#include "core/platform/FileError.h"

#include <QByteArray>
#include <QString>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

// Puts drafts on the disk on a thread of its own, so that no keystroke ever
// waits for a write or a flush. Only the newest request counts: a draft
// replaced before its turn is never written, and a removal asked after a
// write is never undone by it.
class DraftWriter
{
public:
    // `failed` is called on the writer's thread with what a request met.
    explicit DraftWriter(std::function<void(const FileError&)> failed = {});
    // Finishes what was asked, then ends the thread.
    ~DraftWriter();
    DraftWriter(const DraftWriter&) = delete;
    DraftWriter& operator=(const DraftWriter&) = delete;

    // The draft of the diary at diaryPath, in its stored form.
    void Write(const QString& diaryPath, const QByteArray& stored);
    void Remove(const QString& diaryPath);
    // Waits until every request made so far is done; what the last one met.
    FileError Settle();

private:
    struct Request
    {
        QString diaryPath;
        std::optional<QByteArray> stored; // none: remove the draft
    };

    void Ask(Request request);
    void Run();

    std::function<void(const FileError&)> failed_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<Request> waiting_;
    bool busy_ = false;
    bool ending_ = false;
    FileError last_;
    std::thread thread_;
};
