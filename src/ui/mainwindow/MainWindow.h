#pragma once

#include "core/tips/TipList.h"
#include "core/settings/SettingsView.h"
#include "core/diary/DiaryStore.h"
#include "core/diary/DiaryView.h"

#include <QMainWindow>
#include <QPixmap>
#include <array>
#include <vector>

class QAction;
class RunningCopy;
class QCalendarWidget;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSlider;
class QToolBar;
class QWebEngineView;
class CoolBar;
class EntryEditing;
class MainMenus;
class PictureSurface;
class UpDown;
struct AppContext;

// The main window: calendar, the seven entry fields of the shown page,
// toolbar, page slider and status line over a tiled background, and the web
// panel that can cover them.
class MainWindow : public QMainWindow, public DiaryView, public SettingsView
{
    Q_OBJECT
public:
    static QString Caption() { return QStringLiteral("日記帳Sorafumi Kasumire ＳＲ６"); }

    explicit MainWindow(AppContext& context);
    ~MainWindow() override;

    // The start-up of the window, before it is shown. False when the program
    // ended on the way (registration refused, login given up, no diary name).
    bool Form_Load();
    // The Exit command.
    void menuCom_Exit_Click();
    // Stores the shown page, rewrites the diary, saves the settings, closes the
    // other windows and ends the program. False when the diary could not be
    // stored: the program then goes on.
    bool StoreSaveAndEnd();

    void Form_Resize();
    void ToggleWebPanel();
    // Hides the web panel and gives the diary's controls back.
    void HideWebPanel();

    // The start-up's last step, when the tip of the day is switched on.
    void ShowTipWindow();

    DiaryStore& Store() { return store_; }
    MainMenus& Commands() { return *commands_; }
    const QPixmap& BackgroundPicture() const { return background_; }

    // DiaryView
    QString FieldText(EntryField field) const override;
    void SetFieldText(EntryField field, const QString& text) override;
    void SetPageStatus(const QString& text) override;
    void SetSlider(int maximum, int position) override;
    bool SetCalendarDate(QDate date) override;
    void SelectInBody(int start, int length) override;
    void CloseMainWindow() override;

    // SettingsView
    void SetLeft(double twips) override;
    void SetTop(double twips) override;
    void SetWidth(double twips) override;
    void SetHeight(double twips) override;
    bool IsMinimized() const override;
    QRectF BoundsInTwips() const override;
    QString FontSizeText() const override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildBandStrip();
    void BuildEntryArea();
    void BuildHiddenParts();
    QLabel* AddLabel(int index, const QString& caption, int left, int top);
    void BuildToolbar();
    void BuildHelpDropDown();

    bool AskOwnerRegistration();
    void RegisterOwner();
    bool ConfirmLogin();
    void LoadBackground();
    void ApplyBodyFontSize(const QString& text);
    void ShowWebPanelNotice();
    void EnableDiaryButtons(bool enabled);
    void PaintBackground();
    void CloseOtherWindows();
    void SaveSettingsAndEnd();
    void ReleaseDiary();
    // Asks whether to end though the diary could not be stored; No stays.
    bool ConfirmEndWithout(const QString& text);
    void Form_Unload();

    AppContext& context_;
    DiaryStore store_;
    RunningCopy* runningCopy_ = nullptr;
    // The tips and the one shown last, for the whole run.
    TipList tips_;
    QPixmap background_;

    PictureSurface* surface_;
    CoolBar* CoolBar1;
    QToolBar* Toolbar1;
    std::vector<QAction*> toolbarButtons_;
    QSlider* Slider1;
    QFrame* PictureBox;
    QLabel* Image2;
    QCalendarWidget* Calendar;
    std::array<QWidget*, EntryFieldCount> FieldBoxes{};
    QLineEdit* FontSizeSetText;
    UpDown* UpDown1;
    UpDown* UpDown2;
    QLabel* PageLabel;
    QLabel* Image1;
    QFrame* znBaseFrm;
    QWebEngineView* WebBrowser1 = nullptr;
    EntryEditing* entryEditing_;
    MainMenus* commands_;
};
