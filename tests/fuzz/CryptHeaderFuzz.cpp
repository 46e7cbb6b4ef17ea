// Any bytes read as an encrypted diary's header: the parser never reads past
// them nor accepts work no machine can do, and a header it accepts is written
// back to one that reads the same.

#include "FuzzCheck.h"
#include "core/crypt/CryptHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CryptHeader header;
    if (CryptHeader::Parse(FuzzBytes(data, size), header) != CryptHeader::Reading::Read)
        return 0;
    FUZZ_CHECK(header.Find(CryptHeader::SlotKind::Password));
    for (const CryptHeader::Slot& slot : header.slots)
        FUZZ_CHECK(slot.memoryBytes <= (quint64(2) << 30) && slot.passes <= 64);
    CryptHeader again;
    FUZZ_CHECK(CryptHeader::Parse(header.ToBytes(), again) == CryptHeader::Reading::Read);
    FUZZ_CHECK(again.ToBytes() == header.ToBytes());
    return 0;
}
