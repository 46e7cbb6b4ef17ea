#include "core/platform/Cp932.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <vector>

namespace {

// One converter for each direction and thread, opened on first use and kept
// for the thread's life: a search looks through pages on several threads.
class Converter
{
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (Valid())
            iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can; returns the errno that stopped it, or 0.
    int Run(const char*& in, size_t& inLeft, char*& out, size_t& outLeft)
    {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        auto* input = const_cast<char*>(in);
        const size_t result = iconv(handle_, &input, &inLeft, &out, &outLeft);
        in = input;
        return result == static_cast<size_t>(-1) ? errno : 0;
    }

private:
    iconv_t handle_;
};

Converter& Encoder()
{
    thread_local Converter converter("CP932", "UTF-32LE");
    return converter;
}

Converter& Decoder()
{
    thread_local Converter converter("UTF-16LE", "CP932");
    return converter;
}

} // namespace

QByteArray Cp932::Encode(const QString& text)
{
    const QList<uint> ucs4 = text.toUcs4();
    QByteArray result(qsizetype(ucs4.size()) * 2, Qt::Uninitialized);
    const char* in = reinterpret_cast<const char*>(ucs4.constData());
    size_t inLeft = size_t(ucs4.size()) * sizeof(uint);
    char* out = result.data();
    size_t outLeft = size_t(result.size());
    while (inLeft > 0 && Encoder().Valid()) {
        if (Encoder().Run(in, inLeft, out, outLeft) == 0)
            break;
        // Two bytes of room per character are always enough, so the only stop
        // is a character cp932 has no form for.
        *out++ = '?';
        --outLeft;
        in += sizeof(uint);
        inLeft -= sizeof(uint);
    }
    result.truncate(out - result.data());
    return result;
}

QByteArray Cp932::EncodeField(const QString& text, int byteLength)
{
    QByteArray bytes = Encode(text);
    int cut = 0;
    while (cut < bytes.size()) {
        const int width = IsLeadByte(static_cast<unsigned char>(bytes[cut])) ? 2 : 1;
        if (cut + width > byteLength)
            break;
        cut += width;
    }
    bytes.truncate(cut);
    bytes.append(byteLength - cut, ' ');
    return bytes;
}

QString Cp932::Decode(const char* bytes, int length)
{
    std::vector<char16_t> buffer(size_t(length) + 1);
    const char* in = bytes;
    size_t inLeft = size_t(length);
    char* out = reinterpret_cast<char*>(buffer.data());
    size_t outLeft = buffer.size() * sizeof(char16_t);
    while (inLeft > 0 && Decoder().Valid()) {
        if (Decoder().Run(in, inLeft, out, outLeft) == 0)
            break;
        // An invalid or cut-off sequence: mark it and go on with the next byte.
        const char16_t replacement = u'\uFFFD';
        std::memcpy(out, &replacement, sizeof replacement);
        out += sizeof replacement;
        outLeft -= sizeof replacement;
        ++in;
        --inLeft;
    }
    const auto units = (out - reinterpret_cast<char*>(buffer.data())) / qsizetype(sizeof(char16_t));
    return QString(reinterpret_cast<const QChar*>(buffer.data()), units);
}
