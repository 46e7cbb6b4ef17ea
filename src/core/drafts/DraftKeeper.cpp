#include "core/drafts/DraftKeeper.h"

#include "core/drafts/DraftFile.h"

DraftKeeper::DraftKeeper(Take take, QObject* parent)
    : QObject(parent), take_(std::move(take)), writer_([this](const FileError& error) {
          QMetaObject::invokeMethod(this, [this, error] { Q_EMIT keepFailed(error); }, Qt::QueuedConnection);
      })
{
    for (QTimer* timer : {&pause_, &longestWait_}) {
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, &DraftKeeper::Keep);
    }
}

void DraftKeeper::Follow(const QString& diaryPath, std::shared_ptr<const RecordSeal> seal, OnDisk onDisk)
{
    pause_.stop();
    longestWait_.stop();
    // The writer keeps only the newest request: the last one for the old
    // diary (a removal, as it was locked or unlocked) is done first.
    if (diaryPath != diaryPath_)
        writer_.Settle();
    diaryPath_ = diaryPath;
    seal_ = std::move(seal);
    onDisk_ = onDisk;
}

void DraftKeeper::Edited()
{
    if (!Keeps())
        return;
    pause_.start(PauseMs);
    if (!longestWait_.isActive())
        longestWait_.start(LongestWaitMs);
}

void DraftKeeper::Forget()
{
    pause_.stop();
    longestWait_.stop();
    if (!Keeps() || onDisk_ == OnDisk::None)
        return;
    writer_.Remove(diaryPath_);
    onDisk_ = OnDisk::None;
}

void DraftKeeper::Keep()
{
    pause_.stop();
    longestWait_.stop();
    if (!Keeps())
        return;
    const std::optional<PageDraft> draft = take_();
    if (!draft) {
        Forget();
        return;
    }
    writer_.Write(diaryPath_, DraftFile::Stored(*draft, seal_.get()));
    onDisk_ = OnDisk::Ours;
}

FileError DraftKeeper::KeepNow()
{
    Keep();
    return writer_.Settle();
}
