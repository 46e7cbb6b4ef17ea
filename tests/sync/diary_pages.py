#!/usr/bin/env python3
"""Writes and reads diary files for the two-computer test.

  diary_pages.py write FILE DATE:BODY...   a diary of these pages (atomic rename)
  diary_pages.py list FILE                 one line per page: DATE<TAB>BODY
A page is a fixed 10090-byte record in CP932: date, weekday, expense,
signature, time and weather of 15 bytes each, then a 10000-byte body, each
padded with spaces.

An encrypted diary (.sfk) is read with the password in DIARY_PASSWORD, by
this reader's own code on libsodium (python3-nacl), not the program's: after
a 4096-byte header whose password slot wraps the data key (Argon2id, then
XChaCha20-Poly1305 bound to the header's first 32 bytes and the slot's), each
page is a 24-byte nonce, the sealed record and a 16-byte tag, bound to the
file id and the page's number from 1.
"""
import datetime
import os
import struct
import sys
import unicodedata

WIDTHS = (15, 15, 15, 15, 15, 15, 10000)
WEEKDAYS = "月火水木金土日"


def record(date, body):
    day = datetime.date.fromisoformat(date)
    fields = (f"{day.year}年{day.month}月{day.day}日", WEEKDAYS[day.weekday()] + "曜日", "", "", "午前 9:00:00", "", body)
    return b"".join(f.encode("cp932").ljust(w, b" ") for f, w in zip(fields, WIDTHS))


def write(path, pages):
    temporary = path + ".writing"
    with open(temporary, "wb") as out:
        for page in pages:
            date, body = page.split(":", 1)
            out.write(record(date, body))
        out.flush()
        os.fsync(out.fileno())
    os.replace(temporary, path)


MAGIC = b"\x89SFLOCK\x1a"
HEADER, SLOTS, SLOT, NONCE, TAG = 4096, 64, 104, 24, 16


def data_key(header, password):
    from nacl import bindings, pwhash

    for at in range(SLOTS, HEADER - SLOT + 1, SLOT):
        slot = header[at:at + SLOT]
        if slot[0] != 1:  # the password's slot
            continue
        passes, memory = struct.unpack_from("<IQ", slot, 4)
        secret = unicodedata.normalize("NFC", password).encode()
        wrapping = pwhash.argon2id.kdf(32, secret, slot[16:32], opslimit=passes, memlimit=memory)
        return bindings.crypto_aead_xchacha20poly1305_ietf_decrypt(slot[56:104], header[:32] + slot[:32],
                                                                  slot[32:56], wrapping)
    raise ValueError("no password slot")


def records(data):
    """The diary's records as plain bytes, opened when the diary is encrypted."""
    if not data.startswith(MAGIC):
        return data
    from nacl import bindings

    key = data_key(data[:HEADER], os.environ["DIARY_PASSWORD"])
    stored = NONCE + sum(WIDTHS) + TAG
    plain = b""
    for number, at in enumerate(range(HEADER, len(data) - stored + 1, stored), start=1):
        sealed = data[at:at + stored]
        binding = data[16:32] + struct.pack("<I", number)
        plain += bindings.crypto_aead_xchacha20poly1305_ietf_decrypt(sealed[NONCE:], binding, sealed[:NONCE], key)
    return plain


def pages(path):
    data = records(open(path, "rb").read())
    size = sum(WIDTHS)
    for start in range(0, len(data) - size + 1, size):
        chunk = data[start:start + size]
        yield chunk[:15].decode("cp932").strip(), chunk[90:].decode("cp932", "replace").strip()


if __name__ == "__main__":
    if sys.argv[1] == "write":
        write(sys.argv[2], sys.argv[3:])
    else:
        for date, body in pages(sys.argv[2]):
            print(f"{date}\t{body}")
