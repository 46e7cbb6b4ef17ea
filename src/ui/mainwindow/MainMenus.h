#pragma once

#include <QObject>
#include <QPointer>

#include "ui/dialogs/SearchWindow.h"

class QMenuBar;
class DiaryStore;
class MainWindow;
struct AppContext;

// Every command of the main window's menu bar, toolbar and picture box, each
// a thin handler that calls the operation it stands for.
class MainMenus : public QObject
{
    Q_OBJECT
public:
    MainMenus(MainWindow& form, AppContext& context, DiaryStore& store);

    void BuildMenus(QMenuBar& bar);

    // Dispatch on the key of the button or drop-down entry; an unknown key
    // does nothing.
    void Toolbar1_ButtonClick(const QString& key);
    void Toolbar1_ButtonMenuClick(const QString& key);
    void Image2_DblClick();

    void menuFile_Print_Click();
    void menuFile_Save_Click();
    void menuSeratch_FileSeratch_Click();
    void menuCom_Tip_Click();

    ::SearchWindow* OpenSearchWindow() const { return search_; }

private:
    void ShowOpenNotice();
    // The windows and pages of later parts of the program are opened here.
    void ShowProperties();
    void ShowAbout();
    void OpenHelpPage(int selector);

    MainWindow& form_;
    AppContext& context_;
    DiaryStore& store_;
    QPointer<SearchWindow> search_;
};
