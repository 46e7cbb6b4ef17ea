#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStyle>

#include "core/tips/TipList.h"
#include "ui/dialogs/SameDayWindow.h"
#include "ui/dialogs/SearchWindow.h"

class MainWindow;
class QAction;
class QMenuBar;
class QToolBar;
class DiaryStore;
class DiaryView;
class ProgramExit;
class WebPanel;
struct AppContext;

// Every command of the main window's menu bar, toolbar and picture box. One
// table names each menu entry and toolbar button, its caption, shortcut and
// icon, and the command its action is connected to.
class MainMenus : public QObject
{
    Q_OBJECT
public:
    // window parents the dialogs, and its central widget is what is printed.
    MainMenus(AppContext& context, DiaryStore& store, DiaryView& view, ProgramExit& exit, WebPanel& webPanel,
              MainWindow& window);

    void BuildMenus(QMenuBar& bar);
    // The toolbar with the drop-down list of its help button.
    QToolBar* BuildToolbar();
    // While the web panel is open its button shows pressed and the toolbar's
    // other rows rest, but for those usable under the panel.
    void ShowPanelOpen(bool open);

    // Stores the shown page, then rewrites the diary.
    void SaveDiary();
    // A cancelled dialog or a failed print stops silently.
    void Print();
    void ShowSearchWindow();
    // The pages of the shown day in other years, in a window that stays open.
    void ShowSameDayWindow();
    // Pages of the diary written out as text files or one HTML file.
    void ShowExportWindow();
    // Exported text files read back into the diary as new pages.
    void ShowImportWindow();
    // The diary's backups, one of which may take its place.
    void ShowRestoreWindow();
    // Expense and writing per month and year, in a window that stays open.
    void ShowStatsWindow();
    // The diary's lock: put on, its password changed, taken off.
    void LockDiary();
    void ChangeLockPassword();
    void RemoveLock();
    // Switches the start-up tip on again, then shows the tip window.
    void ShowTips();
    // Also the start-up's last step, when the tip of the day is switched on.
    void ShowTipWindow();
    void ShowUpgradePage();

    ::SearchWindow* OpenSearchWindow() const { return search_; }
    ::SameDayWindow* OpenSameDayWindow() const { return sameDay_; }
    QDialog* OpenStatsWindow() const { return stats_; }

private:
    // A menu holds the entries that follow it in the table.
    enum class Place { Menu, MenuEntry, ToolbarButton, DropDownEntry };
    enum class Button { Plain, Toggle, WithList };
    struct Icon
    {
        const char* themeName;
        QStyle::StandardPixmap fallback;
    };
    // A menu, menu entry, toolbar button or entry of the drop-down list. A
    // separator has no caption; only a menu's separators have a name.
    struct Row
    {
        Place place;
        const char* name = nullptr;
        const char* caption = nullptr; // a toolbar key is its button's caption
        int shortcut = 0;
        Icon icon = {};
        void (*command)(MainMenus&) = nullptr; // none: the entry does nothing
        Button button = Button::Plain;
        // A toolbar button or separator rests while the web panel covers the
        // diary, unless it is usable then. Menus stay usable.
        bool usableUnderPanel = false;
    };
    static constexpr bool UsableUnderPanel = true;
    static const Row Rows[];

    void Connect(QAction* action, const Row& row);
    void ShowOpenNotice();
    // The lock's entries of ツール, as the diary is now.
    void ShowLockEntries();
    // Shows a window beside the main one, clear of the body and the program's other windows.
    void ShowClear(QWidget& window);
    void ShowProperties();
    void ShowAbout();
    void OpenHelpPage(int selector);

    AppContext& context_;
    DiaryStore& store_;
    DiaryView& view_;
    ProgramExit& exit_;
    WebPanel& webPanel_;
    MainWindow& window_;
    QList<QAction*> restingButtons_;
    QAction* panelToggle_ = nullptr;
    QPointer<SearchWindow> search_;
    QPointer<SameDayWindow> sameDay_;
    QPointer<QDialog> stats_;
    // The tips and the one shown last, for the whole run.
    TipList tips_;
};
