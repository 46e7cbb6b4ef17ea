#pragma once

#include "core/drafts/DraftWriter.h"
#include "core/drafts/PageDraft.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class RecordSeal;

// Keeps a draft of the shown page's edits while they are not stored: after a
// short pause in typing, and at least every few seconds while it goes on.
// A keystroke only starts a timer; the draft is taken when it runs out and
// written on the writer's thread.
class DraftKeeper : public QObject
{
    Q_OBJECT
public:
    static constexpr int PauseMs = 2000;
    static constexpr int LongestWaitMs = 5000;

    // What a draft is kept of: nothing when the shown page holds no edits.
    using Take = std::function<std::optional<PageDraft>()>;

    explicit DraftKeeper(Take take, QObject* parent = nullptr);

    // What there is of the diary's draft on the disk when it is followed.
    enum class OnDisk {
        None,
        Ours, // the draft of the edits shown now: replaced and removed as they change
        Held  // one that must stay as it is: no draft is kept this run
    };
    // Keeps the drafts of the diary at diaryPath from now on, sealed when a
    // seal is given; an empty path keeps none.
    void Follow(const QString& diaryPath, std::shared_ptr<const RecordSeal> seal, OnDisk onDisk);

    // A field of the shown page changed.
    void Edited();
    // The shown page holds no edits that are not stored: its draft goes.
    void Forget();
    // Keeps the draft now and waits for the disk, for a program about to end.
    FileError KeepNow();
    // Waits for the writes asked so far.
    FileError Settle() { return writer_.Settle(); }

Q_SIGNALS:
    // A draft could not be written or removed.
    void keepFailed(const FileError& error);

private:
    void Keep();
    bool Keeps() const { return !diaryPath_.isEmpty() && onDisk_ != OnDisk::Held; }

    Take take_;
    QString diaryPath_;
    std::shared_ptr<const RecordSeal> seal_;
    OnDisk onDisk_ = OnDisk::None;
    QTimer pause_;
    QTimer longestWait_;
    DraftWriter writer_;
};
