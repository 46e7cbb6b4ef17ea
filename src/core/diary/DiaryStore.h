#pragma once

#include "core/diary/StoreState.h"

#include <QDate>
#include <functional>
#include <optional>

class Clock;
class DiaryView;
class Prompter;
struct AppSettings;

// The open diary and every operation on its pages. It reaches the main window
// only through DiaryView and the user only through Prompter.
class DiaryStore
{
public:
    static constexpr qint32 RecordLength = DiaryPage::RecordLength;

    DiaryStore(DiaryView& view, Prompter& prompter, const Clock& clock, AppSettings& app,
               std::function<void()> endProgram);

    StoreState& State() { return state_; }
    const StoreState& State() const { return state_; }

    // Opens the configured diary, or asks for a name on the first start.
    void SelectDiaryFile();
    void InitPages();
    void LoadPage();
    // Writes the shown page back when a field differs from the loaded page.
    // False when it could not be written; the fields keep their text.
    bool StorePage();
    void AddPage();
    void DeletePage();
    void PreviousPage();
    void NextPage();
    // Makes the file hold exactly PageCount pages. False when it could not.
    bool CompactDiary();
    void ShowPageStatus();
    void CloseDiary();
    // Lets go of the diary file as the program ends, as it is on disk.
    void Release();

    // The first page whose date field reads as date; 0 when none does. Reads
    // the date fields only. Nothing when the file could not be read, which
    // has been reported: a page that could not be read is not a page missing.
    std::optional<qint32> FindDatePage(QDate date);

    // The first page from `from` on whose body holds text; 0 when none does.
    // Reads the bodies without showing them; nothing as above.
    std::optional<qint32> FindInBodies(const QString& text, qint32 from);

    static QString PageStatusText(qint32 pageCount, qint32 currentPage);
    bool IsOpen() const { return state_.DiaryFileNumber != 0; }
    // The diary was left alone because another copy of the program holds it.
    bool OpenElsewhere() const { return openElsewhere_; }

private:
    void ReportFileError(const FileError& error);
    void Inform(const QString& text);
    bool WriteCurrentRecord(qint32 page);
    bool OpenDiary(const QString& name);
    // Reports a failed rewrite; false when it failed.
    bool Settle(const FileError& error);
    void ReportDeletionRefused();
    void DeleteTheOnlyPage();

    DiaryView& view_;
    Prompter& prompter_;
    const Clock& clock_;
    AppSettings& app_;
    std::function<void()> endProgram_;
    StoreState state_;
    bool openElsewhere_ = false;
};
