#pragma once

#include <QObject>
#include <QPointer>

#include "store/frmSeratch.h"

class QMenuBar;
class DiaryStore;
class MainForm;
struct AppContext;

// Every command of the main window's menu bar, toolbar and picture box, each
// a thin handler that calls the operation it stands for.
class MainCommands : public QObject
{
    Q_OBJECT
public:
    MainCommands(MainForm& form, AppContext& context, DiaryStore& store);

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

    frmSeratch* SearchWindow() const { return search_; }

private:
    void ShowOpenNotice();
    // The windows and pages of later parts of the program are opened here.
    void ShowProperties();
    void ShowAbout();
    void OpenHelpPage(int selector);

    MainForm& form_;
    AppContext& context_;
    DiaryStore& store_;
    QPointer<frmSeratch> search_;
};
