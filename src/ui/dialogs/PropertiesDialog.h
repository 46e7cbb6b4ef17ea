#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

class QCheckBox;
class QLabel;
class QLayout;
class QLineEdit;
class QSpinBox;
class QTabWidget;
class Launcher;
class Prompter;
class ProgramFolder;
class SettingsStore;
struct AppSettings;

// The properties dialog: background picture, the colours of the entry box
// being typed in, the about-box picture, the login switch and the password.
// Everything is stored on OK only; Cancel keeps everything as it was.
// objectName: frmOptions.
class PropertiesDialog : public QDialog
{
    Q_OBJECT
public:
    // The file dialog's lines for choosing a picture.
    static QStringList PictureFilters();

    PropertiesDialog(SettingsStore& settings, AppSettings& app, Prompter& prompter, const ProgramFolder& folder,
                     Launcher& launcher, std::function<void()> startMaintenance, QWidget* parent = nullptr);

    // "OK": stores everything and closes.
    void StoreAndClose();
    // The password box follows the login switch.
    void EnablePassword();
    // The path box follows the "no background" switch.
    void EnableBackgroundPath();
    // Text colour (0) or background colour (1) of the sample.
    void ChooseColour(int index);
    void ChooseBackground();
    void ChooseAboutPicture();
    // Closes the dialog and hands over to the maintenance tool.
    void StartMaintenance();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildStyleTab();
    QWidget* BuildDetailTab();
    QLayout* BuildGenerationRow(QWidget* tab);
    QWidget* BuildSecurityTab();
    QWidget* BuildSystemTab(const ProgramFolder& folder);
    // Fills every control from the stored settings and centres the dialog.
    void ShowStoredSettings();
    bool ShowPreview(const QString& path);
    void ShowSampleColours();
    // Shows the backups folder in the box in the file manager, made first
    // when it is not there yet.
    void OpenBackupFolder();
    QString BackupFolderShown() const;

    SettingsStore& settings_;
    const ProgramFolder& folder_;
    AppSettings& app_;
    Prompter& prompter_;
    Launcher& launcher_;
    std::function<void()> startMaintenance_;
    QLineEdit* backupFolder_ = nullptr;
    QSpinBox* backupDaily_ = nullptr;
    QSpinBox* backupWeekly_ = nullptr;
    // The sample's colours as stored values, so that a desktop colour stays
    // one until another colour is chosen.
    qint32 fontColour_;
    qint32 backColour_;
    // The file dialog keeps its filter between the two browse buttons.
    QStringList lastFilters_;
    int lastFilterIndex_ = 0;

    QTabWidget* tabs_;
    QLineEdit* backgroundPath_;
    QCheckBox* noBackground_;
    QLabel* preview_;
    QLabel* backgroundCaption_;
    QLineEdit* colourSample_;
    QLineEdit* aboutPicturePath_;
    QLineEdit* ownerName_;
    QLineEdit* password_;
    QLabel* passwordCaption_;
    QCheckBox* showLogin_;
    QLineEdit* diaryFile_;
};
