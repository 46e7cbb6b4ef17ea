#pragma once

#include "core/drafts/PageDraft.h"
#include "core/platform/FileError.h"

#include <QByteArray>
#include <QString>

class RecordSeal;

// The draft of a diary's shown page, kept in the user's state folder beside
// the merge base: one file per diary, named by a hash of the diary's path,
// never beside the diary, where a sync tool would carry it to the other
// computer. It is replaced whole through a new file and a rename, so a crash
// leaves the old draft or the new one.
//
// The file: PageDraft's bytes, or for an encrypted diary "SFDRAFTS" and
// those bytes sealed under the diary's key as the record numbered
// SealedNumber, which no page has: no word of it reaches the disk in the clear.
class DraftFile
{
public:
    static constexpr qint32 SealedNumber = -2;

    struct Found
    {
        enum class Outcome { None, Unreadable, Damaged, Draft };
        Outcome outcome = Outcome::None;
        PageDraft draft;
        FileError error; // why an unreadable draft could not be read
    };

    static QString PathFor(const QString& diaryPath);

    // The draft as it goes to the disk: sealed when a seal is given.
    static QByteArray Stored(const PageDraft& draft, const RecordSeal* seal);
    // Writes the stored form as the draft at `path`, whole or not at all, and
    // flushed before it counts.
    static FileError Write(const QString& path, const QByteArray& stored);
    // The diary's draft. Unreadable: it is there, but could not be read now
    // (no room, no descriptor left, a failing disk), and stays to be read
    // later. Damaged: torn, another key's, or not the user's own real file,
    // it is no draft to take back.
    static Found Read(const QString& diaryPath, const RecordSeal* seal);
    // With what an unfinished write left of it. False when a draft stays.
    static bool Remove(const QString& diaryPath);

    // A copy for the user to keep, as a new file at `target`: the draft's text,
    // or for an encrypted diary the sealed draft itself.
    static FileError WriteCopy(const QString& target, const PageDraft& draft, const RecordSeal* seal);
    // The ending of such a copy's name.
    static QString CopyEnding(bool sealed);
};
