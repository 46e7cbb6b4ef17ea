// Any tip file: every tip shown is one line of it, and stepping through the
// tips comes round to the first one shown.

#include "FuzzCheck.h"
#include "core/tips/TipList.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(TipList::FileName());
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                   file.write(FuzzBytes(data, size)) == qint64(size));
    }

    TipList tips;
    FUZZ_CHECK(tips.LoadTips(path));
    const QString first = tips.CurrentTip();
    for (qsizetype step = 0; step < tips.Count(); ++step) {
        FUZZ_CHECK(tips.Current() >= 1 && tips.Current() <= tips.Count());
        FUZZ_CHECK(!tips.CurrentTip().contains(u'\n') && !tips.CurrentTip().contains(u'\r'));
        tips.AdvanceTip();
    }
    FUZZ_CHECK(tips.CurrentTip() == first);
    return 0;
}
