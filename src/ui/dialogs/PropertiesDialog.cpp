#include "ui/dialogs/PropertiesDialog.h"

#include "core/backup/DiaryBackup.h"
#include "core/platform/ProgramFolder.h"
#include "core/platform/Prompter.h"
#include "core/settings/AppSettings.h"
#include "core/settings/LoginPassword.h"
#include "core/settings/SettingValue.h"
#include "core/settings/SettingsStore.h"
#include "core/settings/UnsavedSettings.h"
#include "ui/platform/ColourTheme.h"
#include "ui/platform/Launcher.h"
#include "ui/platform/SpokenText.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

template <typename Control> Control* Named(Control* control, const char* name, int index = -1)
{
    control->setObjectName(QString::fromLatin1(name));
    if (index >= 0)
        control->setProperty("index", index);
    return control;
}

QLabel* Caption(const QString& text, const char* name, int index, QWidget* parent)
{
    auto* label = Named(new QLabel(text, parent), name, index);
    label->setWordWrap(true);
    return label;
}

QString Lines(std::initializer_list<const char*> lines)
{
    QStringList joined;
    for (const char* line : lines)
        joined << QString::fromUtf8(line);
    return joined.join(u'\r');
}

// A check box state from a stored integer: 0 clear, 1 or 2 ticked; anything
// else leaves the box as it was.
void SetFromSetting(QCheckBox* box, const QString& stored)
{
    const std::optional<double> value = SettingValue::ToNumber(stored);
    if (value && (*value == 0.0 || *value == 1.0 || *value == 2.0))
        box->setChecked(*value != 0.0);
}

QString AsDisplay(QString text)
{
    return text.replace(u'\r', u'\n');
}

} // namespace

// "All files" is "*": on Linux "*.*" would leave out every name without a dot.
QStringList PropertiesDialog::PictureFilters()
{
    return {QStringLiteral("すべてのファイル (*)"),
            QStringLiteral("すべての画像ファイル (*.ICO *.CUR *.PCX *.BMP *.DIB *.RLE *.GIF *.JPG *.JPE *.JPEG)"),
            QStringLiteral("ビットマップファイル (*.BMP *.DIB *.PCX)"),
            QStringLiteral("ＪＰＥＧファイル (*.JPG *.JPE *.JPEG)"),
            QStringLiteral("ＧＩＦファイル (*.GIF)"),
            QStringLiteral("アイコンファイル (*.ICO *.CUR)")};
}

PropertiesDialog::PropertiesDialog(SettingsStore& settings, AppSettings& app, Prompter& prompter,
                                   const ProgramFolder& folder, Launcher& launcher,
                                   std::function<void()> startMaintenance, QWidget* parent)
    : QDialog(parent), settings_(settings), folder_(folder), app_(app), prompter_(prompter), launcher_(launcher),
      startMaintenance_(std::move(startMaintenance)), fontColour_(app.ActiveFontColor), backColour_(app.ActiveCtrlColor)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("プロパティー"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    tabs_ = Named(new QTabWidget(this), "SSTab1");
    tabs_->addTab(BuildStyleTab(), QStringLiteral("スタイル設定"));
    tabs_->addTab(BuildDetailTab(), QStringLiteral("詳細設定"));
    tabs_->addTab(BuildSecurityTab(), QStringLiteral("セキュリティー"));
    tabs_->addTab(BuildSystemTab(folder), QStringLiteral("システム情報"));

    auto* ok = Named(new QPushButton(QStringLiteral("OK"), this), "cmdOK");
    auto* cancel = Named(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this), "cmdCancel");
    connect(ok, &QPushButton::clicked, this, &PropertiesDialog::StoreAndClose);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* note = Named(new QLabel(QStringLiteral("変更は次回起動時から有効になります。"), this), "Label10");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(note);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    setMinimumWidth(520);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);

    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    ShowStoredSettings();
}

QWidget* PropertiesDialog::BuildStyleTab()
{
    auto* tab = new QWidget;
    auto* explanation =
        Caption(AsDisplay(Lines({"ここではプログラムの細かい部分も設定する事ができます。",
                                 "何となく気分を変えるために用意した設定です。", "(日記には直接関係ない設定です)"})),
                "Label2", 0, tab);
    backgroundCaption_ = Caption(QStringLiteral("背景の設定（画像のフルパス入力）"), "Label2", 1, tab);
    backgroundPath_ = Named(new QLineEdit(tab), "Text2");
    auto* browse = Named(new QPushButton(QStringLiteral("参照"), tab), "ComPicOpen");
    noBackground_ = Named(new QCheckBox(QStringLiteral("背景画像無し"), tab), "Check2", 0);
    preview_ = Named(new QLabel(tab), "Image1");
    preview_->setFixedSize(96, 96);
    preview_->setFrameShape(QFrame::Panel);
    preview_->setFrameShadow(QFrame::Sunken);
    preview_->setScaledContents(true);
    preview_->setAccessibleName(QStringLiteral("背景の画像"));
    SpokenText::NameFromCaption(*backgroundCaption_, *backgroundPath_);
    auto* caution = Caption(AsDisplay(Lines({"【注意】", "すべての変更は次回起動時から有効になります。",
                                             "もし指定したファイルが移動されたり消失するようなことがあると、",
                                             "プログラムはエラーを起こして起動できなくなります。",
                                             "そのような場合は付属のレスキュープログラムを起動して下さい。"})),
                            "Label2", 2, tab);
    connect(browse, &QPushButton::clicked, this, &PropertiesDialog::ChooseBackground);
    connect(noBackground_, &QCheckBox::clicked, this, &PropertiesDialog::EnableBackgroundPath);

    auto* grid = new QGridLayout(tab);
    grid->addWidget(explanation, 0, 0, 1, 3);
    grid->addWidget(backgroundCaption_, 1, 0, 1, 2);
    grid->addWidget(backgroundPath_, 2, 0);
    grid->addWidget(browse, 2, 1);
    grid->addWidget(noBackground_, 3, 0);
    grid->addWidget(preview_, 1, 2, 3, 1);
    grid->addWidget(caution, 4, 0, 1, 3);
    return tab;
}

QWidget* PropertiesDialog::BuildDetailTab()
{
    auto* tab = new QWidget;
    auto* grid = new QGridLayout(tab);
    auto* colourCaption = Caption(QStringLiteral("入力中のコントロール背景色の設定"), "Label4", 0, tab);
    grid->addWidget(colourCaption, 0, 0, 1, 3);
    colourSample_ = Named(new QLineEdit(QStringLiteral("これが現在の入力中の設定です。"), tab), "TestText");
    SpokenText::NameFromCaption(*colourCaption, *colourSample_);
    grid->addWidget(colourSample_, 1, 0, 1, 3);
    const char* colourCaptions[] = {"文字の色", "背景色"};
    for (int index = 0; index < 2; ++index) {
        auto* button = Named(new QPushButton(QString::fromUtf8(colourCaptions[index]), tab), "ColorCom", index);
        connect(button, &QPushButton::clicked, this, [this, index] { ChooseColour(index); });
        grid->addWidget(button, 2, index);
    }
    auto* aboutCaption = Caption(QStringLiteral("バージョン情報の画面に表示される画像"), "Label5", 0, tab);
    auto* sizeNote = Caption(QStringLiteral("※１５０×１５０ドットの画像ファイル"), "Label5", 1, tab);
    grid->addWidget(aboutCaption, 3, 0, 1, 3);
    grid->addWidget(sizeNote, 4, 0, 1, 3);
    aboutPicturePath_ = Named(new QLineEdit(tab), "verPicPathText");
    SpokenText::NameFromCaption(*aboutCaption, *aboutPicturePath_);
    aboutPicturePath_->setAccessibleDescription(sizeNote->text());
    auto* browse = Named(new QPushButton(QStringLiteral("参照"), tab), "VerPicCom");
    connect(browse, &QPushButton::clicked, this, &PropertiesDialog::ChooseAboutPicture);
    grid->addWidget(aboutPicturePath_, 5, 0, 1, 2);
    grid->addWidget(browse, 5, 2);
    auto* backupCaption =
        Caption(QStringLiteral("日記のバックアップの保存先（空欄は標準の場所）"), "lblBackupFolder", -1, tab);
    grid->addWidget(backupCaption, 6, 0, 1, 3);
    backupFolder_ = Named(new QLineEdit(tab), "txtBackupFolder");
    SpokenText::NameFromCaption(*backupCaption, *backupFolder_);
    backupFolder_->setPlaceholderText(QDir::toNativeSeparators(DiaryBackup::DefaultFolder()));
    auto* open = Named(new QPushButton(QStringLiteral("開く"), tab), "cmdOpenBackupFolder");
    connect(open, &QPushButton::clicked, this, &PropertiesDialog::OpenBackupFolder);
    grid->addWidget(backupFolder_, 7, 0, 1, 2);
    grid->addWidget(open, 7, 2);
    grid->addLayout(BuildGenerationRow(tab), 8, 0, 1, 3);
    grid->setRowStretch(9, 1);
    return tab;
}

QLayout* PropertiesDialog::BuildGenerationRow(QWidget* tab)
{
    // As many as the settings file may name; none of either takes no copies.
    const auto count = [tab](const char* name, const QString& unit) {
        auto* box = Named(new QSpinBox(tab), name);
        box->setRange(0, 9999);
        box->setSuffix(unit);
        return box;
    };
    backupDaily_ = count("txtBackupDaily", QStringLiteral(" 日分"));
    backupWeekly_ = count("txtBackupWeekly", QStringLiteral(" 週分"));
    auto* daily = Caption(QStringLiteral("残すバックアップ　毎日の分："), "lblBackupDaily", -1, tab);
    auto* weekly = Caption(QStringLiteral("　毎週の分："), "lblBackupWeekly", -1, tab);
    SpokenText::NameFromCaption(*daily, *backupDaily_);
    SpokenText::NameFromCaption(*weekly, *backupWeekly_);
    // Alone, the second caption would not say what is counted.
    backupWeekly_->setAccessibleName(QStringLiteral("残すバックアップ　") + backupWeekly_->accessibleName());
    auto* row = new QHBoxLayout;
    row->addWidget(daily);
    row->addWidget(backupDaily_);
    row->addWidget(weekly);
    row->addWidget(backupWeekly_);
    row->addStretch();
    return row;
}

QWidget* PropertiesDialog::BuildSecurityTab()
{
    auto* tab = new QWidget;
    auto* grid = new QGridLayout(tab);
    ownerName_ = Named(new QLineEdit(tab), "Text1", 0);
    ownerName_->setEnabled(false);
    password_ = Named(new QLineEdit(tab), "Text1", 1);
    password_->setEchoMode(QLineEdit::Password);
    password_->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    passwordCaption_ = Caption(QStringLiteral("パスワード"), "Label1", 1, tab);
    showLogin_ = Named(new QCheckBox(QStringLiteral("ログイン画面の表示"), tab), "Check1");
    showLogin_->setChecked(true);
    connect(showLogin_, &QCheckBox::clicked, this, &PropertiesDialog::EnablePassword);
    auto* ownerCaption = Caption(QStringLiteral("所有者名"), "Label1", 4, tab);
    SpokenText::NameFromCaption(*ownerCaption, *ownerName_);
    SpokenText::NameFromCaption(*passwordCaption_, *password_);
    grid->addWidget(ownerCaption, 0, 0);
    grid->addWidget(ownerName_, 0, 1);
    grid->addWidget(passwordCaption_, 1, 0);
    grid->addWidget(password_, 1, 1);
    grid->addWidget(showLogin_, 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
    return tab;
}

QWidget* PropertiesDialog::BuildSystemTab(const ProgramFolder& folder)
{
    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    auto* diaryCaption = Caption(QStringLiteral("現在設定されている日記データのファイル名です。"), "Label3", 0, tab);
    layout->addWidget(diaryCaption);
    diaryFile_ = Named(new QLineEdit(tab), "Text3", 0);
    diaryFile_->setReadOnly(true);
    diaryCaption->setBuddy(diaryFile_);
    diaryFile_->setAccessibleName(QStringLiteral("日記データのファイル名"));
    // Where the diary really lives: a name without a folder is in the user's folder.
    const QString diary = settings_.ReadSetting(SettingKey::UserDataFile);
    diaryFile_->setText(diary.isEmpty() ? folder.UserFolder() + u'/'
                                        : QFileInfo(QDir(folder.UserFolder()), diary).absoluteFilePath());
    layout->addWidget(diaryFile_);
    layout->addWidget(Caption(QStringLiteral("ファイル名を変更する場合は、メンテナンスSorafumiを起動してください。"),
                              "Label3", 1, tab));
    layout->addWidget(Caption(
        AsDisplay(Lines({"システムの設定を変更できます。", "しかし、通常はこのプロパティー設定の変更はできません。",
                         "（事実上この設定は変更不可です）"})),
        "Label3", 2, tab));
    auto* maintenance = Named(new QPushButton(QStringLiteral("メンテナンスSorafumi"), tab), "MentCommand");
    connect(maintenance, &QPushButton::clicked, this, &PropertiesDialog::StartMaintenance);
    layout->addWidget(maintenance, 0, Qt::AlignLeft);
    layout->addStretch();
    return tab;
}

void PropertiesDialog::ShowStoredSettings()
{
    ShowSampleColours();
    aboutPicturePath_->setText(app_.VersionPicture);
    backupFolder_->setText(settings_.ReadSetting(SettingKey::BackupFolder));
    backupDaily_->setValue(app_.BackupDaily);
    backupWeekly_->setValue(app_.BackupWeekly);

    SetFromSetting(showLogin_, settings_.ReadSetting(SettingKey::LoginOnOff));
    ownerName_->setText(settings_.ReadSetting(SettingKey::UserName));
    // Only a hash is kept: the box stays empty, and empty means unchanged.
    password_->clear();
    password_->setEnabled(showLogin_->isChecked());
    passwordCaption_->setEnabled(showLogin_->isChecked());

    SetFromSetting(noBackground_, settings_.ReadSetting(SettingKey::BackMapOoOff));
    backgroundPath_->setText(settings_.ReadSetting(SettingKey::BackMapPath));
    ShowPreview(backgroundPath_->text());
    // On opening only the path box follows the check box.
    backgroundPath_->setEnabled(!noBackground_->isChecked());

    // Centred on the screen, at the size its texts need.
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move((area.width() - width()) / 2, (area.height() - height()) / 2);
    }
}

void PropertiesDialog::ShowSampleColours()
{
    QPalette palette = colourSample_->palette();
    palette.setColor(QPalette::Text, ColourTheme::ToColor(fontColour_));
    palette.setColor(QPalette::Base, ColourTheme::ToColor(backColour_));
    colourSample_->setPalette(palette);
}

bool PropertiesDialog::ShowPreview(const QString& path)
{
    const QPixmap picture(folder_.Resolve(path));
    if (picture.isNull())
        return false;
    preview_->setPixmap(picture);
    return true;
}

void PropertiesDialog::EnablePassword()
{
    password_->setEnabled(showLogin_->isChecked());
    passwordCaption_->setEnabled(showLogin_->isChecked());
}

void PropertiesDialog::EnableBackgroundPath()
{
    backgroundPath_->setEnabled(!noBackground_->isChecked());
    backgroundCaption_->setEnabled(!noBackground_->isChecked());
}

// A cancelled picker leaves the sample as it was.
void PropertiesDialog::ChooseColour(int index)
{
    qint32& colour = index == 0 ? fontColour_ : backColour_;
    const QColor current = ColourTheme::ToColor(colour);
    const std::optional<quint32> chosen = prompter_.ChooseColour(quint32(current.rgb() & 0xFFFFFF));
    if (!chosen)
        return;
    colour = ColourTheme::FromColor(QColor::fromRgb(QRgb(*chosen)));
    ShowSampleColours();
}

void PropertiesDialog::ChooseBackground()
{
    lastFilters_ = PictureFilters();
    lastFilterIndex_ = 2;
    const std::optional<QString> chosen = prompter_.ChooseFile(lastFilters_, lastFilterIndex_);
    if (!chosen)
        return;
    // A file that is no picture gives the default name; the preview stays.
    if (!ShowPreview(*chosen)) {
        backgroundPath_->setText(QStringLiteral("backmap.gif"));
        return;
    }
    backgroundPath_->setText(*chosen);
}

void PropertiesDialog::ChooseAboutPicture()
{
    const std::optional<QString> chosen = prompter_.ChooseFile(lastFilters_, lastFilterIndex_);
    if (chosen)
        aboutPicturePath_->setText(*chosen);
}

void PropertiesDialog::StartMaintenance()
{
    reject();
    if (startMaintenance_)
        startMaintenance_();
}

QString PropertiesDialog::BackupFolderShown() const
{
    const QString typed = backupFolder_->text().trimmed();
    return typed.isEmpty() ? DiaryBackup::DefaultFolder() : typed;
}

void PropertiesDialog::OpenBackupFolder()
{
    const QString folder = BackupFolderShown();
    if (DiaryBackup::MakeFolder(folder) && launcher_.OpenFolder(folder))
        return;
    prompter_.Message({QStringLiteral("バックアップの保存先を開けませんでした。\r") + QDir::toNativeSeparators(folder),
                       QStringLiteral("ﾌｧｲﾙ ｴﾗｰ"),
                       Prompter::Buttons::Ok,
                       Prompter::Icon::Exclamation,
                       {}});
}

void PropertiesDialog::StoreAndClose()
{
    app_.ActiveFontColor = fontColour_;
    app_.ActiveCtrlColor = backColour_;
    app_.VersionPicture = aboutPicturePath_->text();
    // The next day's copy goes to the new folder.
    app_.BackupFolder = backupFolder_->text().trimmed();
    app_.BackupDaily = backupDaily_->value();
    app_.BackupWeekly = backupWeekly_->value();
    std::vector<SettingsStore::Setting> changes{
        {SettingKey::LoginOnOff, SettingValue::FromSwitch(showLogin_->isChecked())},
        {SettingKey::BackMapOoOff, SettingValue::FromSwitch(noBackground_->isChecked())},
        {SettingKey::BackMapPath, backgroundPath_->text()},
        {SettingKey::ActiveFontColor, QString::number(app_.ActiveFontColor)},
        {SettingKey::ActiveCtrlColor, QString::number(app_.ActiveCtrlColor)},
        {SettingKey::VersionPicture, app_.VersionPicture},
        {SettingKey::BackupFolder, app_.BackupFolder},
        {SettingKey::BackupDaily, QString::number(app_.BackupDaily)},
        {SettingKey::BackupWeekly, QString::number(app_.BackupWeekly)},
    };
    // The box shows no password: left empty, the stored one stays.
    if (!password_->text().isEmpty())
        changes.push_back({SettingKey::UserPWS, LoginPassword::ToStored(password_->text())});
    const bool stored = settings_.WriteSettings(changes);
    if (!stored)
        UnsavedSettings::ReportChange(prompter_, settings_.FileName());
    accept();
}

bool PropertiesDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Ctrl+Tab steps through the tabs, from the last back to the first.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier) {
            tabs_->setCurrentIndex((tabs_->currentIndex() + 1) % tabs_->count());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
