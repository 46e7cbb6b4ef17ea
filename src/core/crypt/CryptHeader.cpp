#include "core/crypt/CryptHeader.h"

#include <QtEndian>
#include <sodium.h>

namespace {

constexpr int SaltLength = 16;
constexpr int NonceLength = 24;
constexpr int WrappedLength = 48;
constexpr int SlotBoundLength = 32; // kind, algorithm, parameters and salt
// A header may ask for no less work than this program gives, and no more
// than a machine can do in reasonable time: a damaged or hostile header must
// not make the program allocate gigabytes or run for minutes. The most is
// about fifty times this program's own work: seconds, never minutes.
constexpr quint32 FewestPasses = 3;
constexpr quint32 MostPasses = 12;
constexpr quint64 LeastMemory = quint64(64) << 20;
constexpr quint64 MostMemory = quint64(1) << 30;

template <typename T> T ReadNumber(const char* at)
{
    return qFromLittleEndian<T>(at);
}

template <typename T> void WriteNumber(QByteArray& bytes, int at, T value)
{
    qToLittleEndian<T>(value, bytes.data() + at);
}

QByteArray SlotBytes(const CryptHeader::Slot& slot)
{
    QByteArray bytes(CryptHeader::SlotLength, '\0');
    bytes[0] = char(slot.kind);
    bytes[1] = char(crypto_pwhash_ALG_ARGON2ID13);
    WriteNumber<quint32>(bytes, 4, slot.passes);
    WriteNumber<quint64>(bytes, 8, slot.memoryBytes);
    bytes.replace(16, SaltLength, slot.salt.leftJustified(SaltLength, '\0', true));
    bytes.replace(32, NonceLength, slot.nonce.leftJustified(NonceLength, '\0', true));
    bytes.replace(56, WrappedLength, slot.wrappedKey.leftJustified(WrappedLength, '\0', true));
    return bytes;
}

// False for a slot no version of the program writes.
bool ParseSlot(const char* at, CryptHeader::Slot& slot)
{
    slot.kind = CryptHeader::SlotKind(quint8(at[0]));
    slot.passes = ReadNumber<quint32>(at + 4);
    slot.memoryBytes = ReadNumber<quint64>(at + 8);
    slot.salt = QByteArray(at + 16, SaltLength);
    slot.nonce = QByteArray(at + 32, NonceLength);
    slot.wrappedKey = QByteArray(at + 56, WrappedLength);
    return quint8(at[1]) == crypto_pwhash_ALG_ARGON2ID13 && slot.passes >= FewestPasses && slot.passes <= MostPasses &&
           slot.memoryBytes >= LeastMemory && slot.memoryBytes <= MostMemory;
}

} // namespace

CryptHeader::Reading CryptHeader::Parse(const QByteArray& bytes, CryptHeader& header)
{
    if (!bytes.startsWith(Magic()))
        return Reading::NotEncrypted;
    if (bytes.size() < 12)
        return Reading::Damaged;
    const char* at = bytes.constData();
    if (ReadNumber<quint16>(at + 8) > Version)
        return Reading::NewerVersion;
    if (bytes.size() < HeaderLength || ReadNumber<quint16>(at + 8) != Version ||
        ReadNumber<quint16>(at + 10) != HeaderLength)
        return Reading::Damaged;
    header = {};
    header.plainRecordLength = int(ReadNumber<quint32>(at + 12));
    header.fileId = QByteArray(at + 16, FileIdLength);
    if (header.plainRecordLength <= 0 || header.plainRecordLength > (1 << 20))
        return Reading::Damaged;
    for (int index = 0; index < SlotCount; ++index) {
        const char* slotAt = at + SlotsOffset + index * SlotLength;
        if (slotAt[0] == char(SlotKind::Empty))
            continue;
        Slot slot;
        if (!ParseSlot(slotAt, slot))
            return Reading::Damaged;
        // A kind this version does not know is kept, unused.
        header.slots << slot;
    }
    return header.Find(SlotKind::Password) ? Reading::Read : Reading::Damaged;
}

QByteArray CryptHeader::ToBytes() const
{
    QByteArray bytes(HeaderLength, '\0');
    bytes.replace(0, Magic().size(), Magic());
    WriteNumber<quint16>(bytes, 8, quint16(Version));
    WriteNumber<quint16>(bytes, 10, quint16(HeaderLength));
    WriteNumber<quint32>(bytes, 12, quint32(plainRecordLength));
    bytes.replace(16, FileIdLength, fileId.leftJustified(FileIdLength, '\0', true));
    for (int index = 0; index < slots.size() && index < SlotCount; ++index)
        bytes.replace(SlotsOffset + index * SlotLength, SlotLength, SlotBytes(slots[index]));
    return bytes;
}

QByteArray CryptHeader::SlotBinding(const Slot& slot) const
{
    return ToBytes().left(32) + SlotBytes(slot).left(SlotBoundLength);
}

const CryptHeader::Slot* CryptHeader::Find(SlotKind kind) const
{
    for (const Slot& slot : slots)
        if (slot.kind == kind)
            return &slot;
    return nullptr;
}

void CryptHeader::Replace(const Slot& slot)
{
    for (Slot& held : slots)
        if (held.kind == slot.kind) {
            held = slot;
            return;
        }
    slots << slot;
}
