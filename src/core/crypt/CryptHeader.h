#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

// The first HeaderLength bytes of an encrypted diary. All numbers are little
// endian.
//
//   0   8  magic "\x89SFLOCK\x1A" (a plain diary never starts so)
//   8   2  format version (1)
//  10   2  header length (4096)
//  12   4  plain record length (10090)
//  16  16  file id, random, bound into every key slot and every page
//  32  32  reserved, zero
//  64      key slots, SlotLength bytes each, as many as fit; the rest is zero
//
// A key slot holds the diary's data key wrapped under a key derived from a
// secret the user knows (see KeySlot). The room for more slots lets a later
// version add kinds of slot without moving a page.
class CryptHeader
{
public:
    static constexpr int HeaderLength = 4096;
    static constexpr int Version = 1;
    static constexpr int FileIdLength = 16;
    static constexpr int SlotsOffset = 64;
    static constexpr int SlotLength = 104;
    static constexpr int SlotCount = (HeaderLength - SlotsOffset) / SlotLength;
    static QByteArray Magic() { return QByteArrayLiteral("\x89SFLOCK\x1A"); }
    // The ending of an encrypted diary's file, never that of a plain one.
    static QString FileEnding() { return QStringLiteral(".sfk"); }

    enum class Reading {
        Read,
        NotEncrypted, // no magic: a plain diary or another file
        NewerVersion, // written by a newer version of the program
        Damaged,      // cut short, or a field that cannot be
    };

    // The slot's kind tells whose secret opens it.
    enum class SlotKind : quint8 { Empty = 0, Password = 1, RecoveryCode = 2 };
    struct Slot
    {
        SlotKind kind = SlotKind::Empty;
        quint32 passes = 0;      // Argon2id opslimit
        quint64 memoryBytes = 0; // Argon2id memlimit
        QByteArray salt;         // 16 bytes
        QByteArray nonce;        // 24 bytes
        QByteArray wrappedKey;   // 32 bytes of key and a 16-byte tag
    };

    QByteArray fileId;
    int plainRecordLength = 0;
    QList<Slot> slots; // the slots in use, in their order

    static Reading Parse(const QByteArray& bytes, CryptHeader& header);
    QByteArray ToBytes() const;
    // What a slot's tag binds: the header's fixed fields and the slot's own
    // up to its nonce, so that a slot moved into another file, or given other
    // parameters, does not open.
    QByteArray SlotBinding(const Slot& slot) const;
    // The slot of that kind, or null.
    const Slot* Find(SlotKind kind) const;
    // Puts the slot in place of the one of its kind, or adds it.
    void Replace(const Slot& slot);
};
