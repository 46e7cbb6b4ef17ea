#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class Prompter;
class ProgramFolder;
class SettingsStore;
struct AppSettings;

// The properties dialog: background picture, the colours of the entry box
// being typed in, the about-box picture, the login switch and the password.
// Everything is stored on OK only; Cancel keeps everything as it was.
class PropertiesDialog : public QDialog
{
    Q_OBJECT
public:
    static QString PictureFilter();

    PropertiesDialog(SettingsStore& settings, AppSettings& app, Prompter& prompter, const ProgramFolder& folder,
               std::function<void()> startMaintenance, QWidget* parent = nullptr);

    void cmdOK_Click();
    void Check1_Click();
    void Check2_Click();
    void ColorCom_Click(int index);
    void ComDialog();
    void VerPicCom_Click();
    void MentCommand_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildStyleTab();
    QWidget* BuildDetailTab();
    QWidget* BuildSecurityTab();
    QWidget* BuildSystemTab(const ProgramFolder& folder);
    void Load();
    bool ShowPreview(const QString& path);
    void ShowSampleColours();

    SettingsStore& settings_;
    const ProgramFolder& folder_;
    AppSettings& app_;
    Prompter& prompter_;
    std::function<void()> startMaintenance_;
    // The sample's colours as stored values, so that a desktop colour stays
    // one until another colour is chosen.
    qint32 fontColour_;
    qint32 backColour_;
    // The file dialog keeps its filter between the two browse buttons.
    QString lastFilter_;
    int lastFilterIndex_ = 0;

    QTabWidget* SSTab1;
    QLineEdit* Text2;
    QCheckBox* Check2;
    QLabel* Image1;
    QLabel* backgroundCaption_;
    QLineEdit* TestText;
    QLineEdit* verPicPathText;
    QLineEdit* ownerName_;
    QLineEdit* password_;
    QLabel* passwordCaption_;
    QCheckBox* Check1;
    QLineEdit* Text3;
};
