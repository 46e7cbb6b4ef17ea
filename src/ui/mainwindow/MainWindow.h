#pragma once

#include "core/diary/DiaryStore.h"
#include "core/diary/DiaryView.h"
#include "core/settings/SettingsView.h"
#include "ui/dialogs/sync/QtMergeChooser.h"
#include "ui/mainwindow/EntryBoxes.h"
#include "ui/mainwindow/ProgramExit.h"

#include <QMainWindow>
#include <QPixmap>
#include <array>

class QCalendarWidget;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSlider;
class QToolBar;
class Composition;
class CoolBar;
class EntryEditing;
class MainMenus;
class PictureSurface;
class UpDown;
class WebPanel;
struct AppContext;

// The main window: calendar, the seven entry fields of the shown page,
// toolbar, page slider and status line over a tiled background, and the web
// panel that can cover them. objectName: MainForm.
class MainWindow : public QMainWindow, public DiaryView, public SettingsView
{
    Q_OBJECT
public:
    static QString Caption() { return QStringLiteral("日記帳Sorafumi Kasumire ＳＲ６"); }

    explicit MainWindow(AppContext& context);
    ~MainWindow() override;

    // The steps of the start-up (StartProgram) that reach into the window.
    // The background picture named in the settings, tiled unless switched off.
    void LoadBackground();
    // The font size box and the body follow the size given as text.
    void ShowFontSize(const QString& text);
    // Puts the keys in the body, ready for writing.
    void FocusBody();

    DiaryStore& Store() { return store_; }
    MainMenus& Commands() { return *menus_; }
    // The ways the program ends, for the windows that end it.
    ProgramExit& Exiting() { return exit_; }
    const QPixmap& BackgroundPicture() const { return background_; }
    // The body box, which the program's other windows keep clear of.
    QWidget& Body() const { return *entryBoxes_.body; }
    QCalendarWidget& Calendar() const { return *calendar_; }

    // DiaryView
    QString FieldText(EntryField field) const override;
    void SetFieldText(EntryField field, const QString& text) override;
    void FinishComposing() override;
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
    bool KnowsPlace() const override;
    QRectF BoundsInTwips() const override;
    QString FontSizeText() const override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildBandStrip();
    void BuildEntryArea();
    void BuildHiddenParts();
    void NameCalendarParts();
    QLabel* AddLabel(int index, const QString& caption, int left, int top);

    void ApplyBodyFontSize(const QString& text);
    // Every control follows the size of the window.
    void LayOut();
    void EnableDiaryButtons(bool enabled);
    void PaintBackground();

    AppContext& context_;
    // What the store asks about the pages both computers changed: made before
    // the store and gone after it.
    QtMergeChooser mergeChooser_;
    DiaryStore store_;
    ProgramExit exit_;
    QPixmap background_;

    PictureSurface* surface_;
    CoolBar* bandStrip_;
    QToolBar* toolbar_;
    QSlider* pageSlider_;
    // The square box at the band strip's right end, and its picture.
    QFrame* cornerBox_;
    QLabel* upgradePicture_ = nullptr;
    QCalendarWidget* calendar_;
    EntryBoxes entryBoxes_;
    QLineEdit* fontSizeBox_;
    UpDown* weatherSpinner_;
    UpDown* fontSizeSpinner_;
    QLabel* pageStatus_;
    // Holds the background picture out of sight; its size is a tile's.
    QLabel* backgroundHolder_;
    WebPanel* webPanel_;
    EntryEditing* entryEditing_;
    Composition* composition_;
    MainMenus* menus_;
};
