// Any settings file: the start-up reads take what converts and stop at what
// does not, without failing hard, and what they keep is saved in a form that
// reads back the same.

#include "FakeSettingsView.h"
#include "FuzzCheck.h"
#include "core/platform/Prompter.h"
#include "core/settings/AppSettings.h"
#include "core/settings/SessionSettings.h"
#include "core/settings/SettingValue.h"
#include "core/settings/SettingsStore.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

// Says yes to the version box; nothing else may be asked at start-up.
class QuietPrompter : public Prompter
{
public:
    Answer Message(const Box&) override
    {
        ++messages;
        return Answer::Ok;
    }
    std::optional<QString> Input(const QString&, const QString&, const QString&) override { return Unexpected(); }
    void Beep() override {}
    int ShowModal(QDialog&) override { return *Unexpected(), 0; }
    bool ChoosePrinter(QPrinter&) override { return *Unexpected(), false; }
    std::optional<quint32> ChooseColour(quint32) override { return Unexpected(), std::nullopt; }
    std::optional<QString> ChooseFile(const QStringList&, int) override { return Unexpected(); }

    int messages = 0;

private:
    static std::optional<QString> Unexpected()
    {
        FUZZ_CHECK(!"a start-up read asked the user something");
        return std::nullopt;
    }
};

QString FreshFile(const QByteArray& content)
{
    static QTemporaryDir folder;
    static int serial = 0;
    // A new name each time: the settings library keeps files it has read.
    const QString path = folder.filePath(QString::number(++serial) + QStringLiteral(".ini"));
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    return path;
}

void CheckConversions(const QString& text)
{
    const std::optional<double> number = SettingValue::ToNumber(text);
    if (const std::optional<qint32> whole = SettingValue::ToInt32(text))
        FUZZ_CHECK(number && std::abs(*number - *whole) <= 0.5);
    if (const std::optional<bool> flag = SettingValue::ToBoolean(text); flag && number)
        FUZZ_CHECK(*flag == (*number != 0.0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray content = FuzzBytes(data, size);
    CheckConversions(QString::fromUtf8(content));

    const QString path = FreshFile(content);
    {
        SettingsStore store(path);
        AppSettings app;
        app.ReadOwnerAndColours(store);
        FakeSettingsView window;
        QuietPrompter prompter;
        SessionSettings::LoadSettings(store, app, window, prompter);
        SessionSettings::TipsAtStartup(store);
        FUZZ_CHECK(prompter.messages <= 1);

        // Saved as the program leaves them and read again: every value the
        // program wrote converts.
        window.fontSizeText = app.UserDataFontSize.isEmpty() ? QStringLiteral("12") : app.UserDataFontSize;
        window.bounds = QRectF(0, 0, 7800, 6500);
        SessionSettings::SaveSettings(store, app, window, prompter);
        AppSettings again;
        FakeSettingsView reread;
        QuietPrompter quiet;
        SessionSettings::LoadSettings(store, again, reread, quiet);
        FUZZ_CHECK(quiet.messages == 0);
        FUZZ_CHECK(reread.calls.size() == 4);
        FUZZ_CHECK(again.ZnMSG == app.ZnMSG);
    }
    QFile::remove(path);
    return 0;
}
