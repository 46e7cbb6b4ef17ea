#pragma once

#include "core/platform/FileError.h"
#include "core/sync/FileIdentity.h"
#include "core/sync/PageDigests.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The last state of a diary both computers shared: the digest of each page
// as this program last read or wrote the diary, so that a merge can tell
// which side changed a page. It is kept in the user's state folder, one file
// per diary named by a hash of the diary's absolute path: never beside the
// diary, where the sync tool would carry one computer's base to the other.
//
// With the digests goes which file they were taken from, as its identity
// then was: a diary nobody changed since needs no hashing again.
//
// The file: "SFBASE02", the page count (32-bit little-endian), for each page
// its 15 date bytes and its hash (64-bit little-endian), the diary's device,
// inode, size and modification time in nanoseconds (64-bit each), and a hash
// over all that. An encrypted diary's base is all that sealed under the
// diary's key as the record numbered SealedNumber, which no page has: the
// dates and digests of its pages never reach the disk in the clear.
class RecordSeal;

class MergeBase
{
public:
    static QString PathFor(const QString& diaryPath);

    static constexpr qint32 SealedNumber = -1;

    static FileError Save(const QString& diaryPath, const PageDigests& digests, const FileIdentity& of = {},
                          const RecordSeal* seal = nullptr);
    // The base was taken from this very file as it is.
    static bool IsOf(const QString& diaryPath, const FileIdentity& file, const RecordSeal* seal = nullptr);
    // The base of the diary; none when there is none, or when it is damaged
    // or not the user's own: a merge without a base asks about every page
    // that differs, and so loses nothing.
    static std::optional<PageDigests> Load(const QString& diaryPath, const RecordSeal* seal = nullptr);

    static QByteArray Encode(const PageDigests& digests, const FileIdentity& of = {});
    static std::optional<PageDigests> Decode(const QByteArray& bytes, FileIdentity* of = nullptr);

private:
    static std::optional<PageDigests> Read(const QString& diaryPath, FileIdentity* of, const RecordSeal* seal);
};
