// Runs a fuzz target over saved inputs, without the fuzzing engine: every file
// named, and every file in every folder named. The corpus replays as an
// ordinary test of the ordinary build.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool Replay(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    const QByteArray input = file.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.constData()), size_t(input.size()));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    int inputs = 0;
    bool readable = true;
    for (int i = 1; i < argc; ++i) {
        const QString path = QFile::decodeName(argv[i]);
        if (!QFileInfo(path).isDir()) {
            readable = Replay(path) && readable;
            ++inputs;
            continue;
        }
        QDirIterator files(path, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            readable = Replay(files.next()) && readable;
            ++inputs;
        }
    }
    std::printf("%d inputs replayed\n", inputs);
    // A corpus that went missing must not pass as an empty success.
    return readable && inputs > 0 ? 0 : 1;
}
