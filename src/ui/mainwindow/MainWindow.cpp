#include "ui/mainwindow/MainWindow.h"

#include "ui/mainwindow/AppContext.h"
#include "ui/mainwindow/BackgroundTiler.h"
#include "ui/mainwindow/BodyBox.h"
#include "ui/mainwindow/CoolBar.h"
#include "ui/mainwindow/EntryEditing.h"
#include "ui/mainwindow/EntryLimit.h"
#include "ui/mainwindow/MainMenus.h"
#include "ui/mainwindow/PictureSurface.h"
#include "ui/mainwindow/RunningCopy.h"
#include "ui/mainwindow/UpDown.h"
#include "ui/dialogs/TipWindow.h"
#include "ui/dialogs/WebPanelNotice.h"
#include "core/platform/JapaneseLocale.h"
#include "ui/platform/SafeWebView.h"
#include "ui/platform/Twips.h"
#include "core/settings/SessionSettings.h"
#include "core/settings/SettingValue.h"
#include "ui/dialogs/LoginWindow.h"
#include "ui/dialogs/RegistrationWindow.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QTableView>
#include <QTextCursor>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

namespace {

void Place(QWidget* widget, const QString& name, const QRect& twips)
{
    widget->setObjectName(name);
    widget->setGeometry(Twips::ToPixels(twips));
}

// Members of a control array share the array's name and carry their index.
void PlaceInArray(QWidget* widget, const QString& name, int index, const QRect& twips)
{
    Place(widget, name, twips);
    widget->setProperty("index", index);
}

// Width and height each apply only when they are not negative.
void ResizeWithin(QWidget* widget, int width, int height)
{
    widget->resize(width >= 0 ? width : widget->width(), height >= 0 ? height : widget->height());
}

// A screen reader reads a box by the caption of its label.
void LabelFor(QLabel* label, QWidget* box)
{
    label->setBuddy(box);
    box->setAccessibleName(label->text());
}

} // namespace

MainWindow::MainWindow(AppContext& context)
    : context_(context),
      store_(*this, context.prompter, context.clock, context.app, [&context] { context.EndProgram(); })
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(Caption());
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    surface_ = new PictureSurface(this);
    surface_->setObjectName(QStringLiteral("MainSurface"));
    surface_->installEventFilter(this);
    setCentralWidget(surface_);

    commands_ = new MainMenus(*this, context_, store_);
    commands_->BuildMenus(*menuBar());
    BuildBandStrip();
    BuildEntryArea();
    BuildHiddenParts();
    entryEditing_ =
        new EntryEditing({this, FieldBoxes, UpDown1, FontSizeSetText, UpDown2, Slider1}, store_, context_.app);
    new EntryLimit(FieldBoxes, context_.prompter, this);
    resize(Twips::ToPixels(8475), Twips::ToPixels(5895) + menuBar()->sizeHint().height());
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildBandStrip()
{
    CoolBar1 = new CoolBar(surface_);
    Place(CoolBar1, QStringLiteral("CoolBar1"), {0, 0, 8355, 585});
    BuildToolbar();
    CoolBar1->AddBand(Toolbar1, 525, 5610);
    Slider1 = new QSlider(Qt::Horizontal);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setAccessibleName(QStringLiteral("ページ"));
    Slider1->setMinimum(0);
    Slider1->setMaximum(0);
    CoolBar1->AddBand(Slider1, 270, 2505);

    PictureBox = new QFrame(surface_);
    Place(PictureBox, QStringLiteral("PictureBox"), {8100, 300, 585, 585});
    PictureBox->setFrameShape(QFrame::StyledPanel);
    PictureBox->setAutoFillBackground(true);
    Image2 = new QLabel(PictureBox);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setAlignment(Qt::AlignCenter);
    Image2->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(Twips::ToPixels(480)));
    Image2->installEventFilter(this);
}

void MainWindow::BuildToolbar()
{
    Toolbar1 = new QToolBar;
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Toolbar1->setIconSize(QSize(16, 16));
    // Ten captioned buttons share the band's design width.
    Toolbar1->setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 8));

    struct Button
    {
        const char* key; // empty for a separator
        const char* themeIcon;
        QStyle::StandardPixmap fallback;
    };
    static const Button buttons[] = {
        {"ZN", "internet-web-browser", QStyle::SP_DriveNetIcon},
        {"", nullptr, {}},
        {"新規", "document-new", QStyle::SP_FileIcon},
        {"開く", "document-open", QStyle::SP_DialogOpenButton},
        {"保存", "document-save", QStyle::SP_DialogSaveButton},
        {"", nullptr, {}},
        {"印刷", "document-print", QStyle::SP_FileDialogDetailedView},
        {"", nullptr, {}},
        {"削除", "edit-delete", QStyle::SP_TrashIcon},
        {"", nullptr, {}},
        {"前日", "go-previous", QStyle::SP_ArrowBack},
        {"後日", "go-next", QStyle::SP_ArrowForward},
        {"", nullptr, {}},
        {"設定", "preferences-system", QStyle::SP_FileDialogInfoView},
        {"説明", "help-contents", QStyle::SP_DialogHelpButton},
    };
    for (const Button& button : buttons) {
        const QString key = QString::fromUtf8(button.key);
        if (key.isEmpty()) {
            toolbarButtons_.push_back(Toolbar1->addSeparator());
            continue;
        }
        const QIcon icon =
            QIcon::fromTheme(QString::fromLatin1(button.themeIcon), style()->standardIcon(button.fallback));
        QAction* action = Toolbar1->addAction(icon, key);
        action->setObjectName(key);
        action->setCheckable(key == QStringLiteral("ZN"));
        action->setToolTip(key);
        connect(action, &QAction::triggered, this, [this, key] { commands_->Toolbar1_ButtonClick(key); });
        toolbarButtons_.push_back(action);
    }
    BuildHelpDropDown();
}

// The "説明" button also drops down a list of help entries.
void MainWindow::BuildHelpDropDown()
{
    auto* list = new QMenu(this);
    list->setObjectName(QStringLiteral("ButtonMenus"));
    for (const char* entry : {"操作の説明", "グレードアップ", "-", "作者宛てメール", "-", "バージョン情報"}) {
        const QString key = QString::fromUtf8(entry);
        if (key == QStringLiteral("-")) {
            list->addSeparator();
            continue;
        }
        QAction* item = list->addAction(key);
        item->setObjectName(key);
        connect(item, &QAction::triggered, this, [this, key] { commands_->Toolbar1_ButtonMenuClick(key); });
    }
    QAction* help = toolbarButtons_.back();
    help->setMenu(list);
    if (auto* button = qobject_cast<QToolButton*>(Toolbar1->widgetForAction(help)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
}

QLabel* MainWindow::AddLabel(int index, const QString& caption, int left, int top)
{
    auto* label = new QLabel(caption, surface_);
    PlaceInArray(label, QStringLiteral("Label"), index, {left, top, 0, 0});
    label->setAutoFillBackground(true);
    label->adjustSize();
    return label;
}

void MainWindow::BuildEntryArea()
{
    Calendar = new QCalendarWidget(surface_);
    Place(Calendar, QStringLiteral("Calendar"), {4860, 540, 2325, 2160});
    Calendar->setAccessibleName(QStringLiteral("カレンダー"));
    Calendar->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    Calendar->setFirstDayOfWeek(Qt::Sunday);
    Calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    Calendar->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
    // The design place is small: a month fits only in a small type.
    Calendar->setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 7));
    if (auto* days = Calendar->findChild<QTableView*>()) {
        days->horizontalHeader()->setMinimumSectionSize(0);
        days->verticalHeader()->setMinimumSectionSize(0);
    }
    Calendar->setSelectedDate(context_.clock.Now().date());
    connect(Calendar, &QCalendarWidget::clicked, this, &MainWindow::Calendar_DateClick);

    struct Entry
    {
        const char* caption;
        QPoint label;
        QRect box;
    };
    static const Entry entries[] = {
        {"日付", {240, 1065}, {660, 1005, 1695, 315}}, {"時間", {2520, 1065}, {2940, 1005, 1695, 315}},
        {"曜日", {240, 1485}, {660, 1425, 1695, 315}}, {"天候", {2520, 1485}, {2940, 1425, 1455, 315}},
        {"出費", {240, 1905}, {660, 1845, 1695, 315}}, {"署名", {2520, 1905}, {2940, 1845, 1695, 315}},
    };
    for (int i = 0; i < 6; ++i) {
        QLabel* label = AddLabel(i, QString::fromUtf8(entries[i].caption), entries[i].label.x(), entries[i].label.y());
        auto* box = new QLineEdit(surface_);
        PlaceInArray(box, QStringLiteral("FieldBoxes"), i, entries[i].box);
        LabelFor(label, box);
        FieldBoxes[size_t(i)] = box;
    }
    static_cast<QLineEdit*>(FieldBoxes[3])->setText(QStringLiteral("晴れ"));
    FieldBoxes[4]->setToolTip(QStringLiteral("整数のみ入力可\"\\\"や\"，\"は自動記入されます"));

    UpDown1 = new UpDown(0, 8, surface_);
    Place(UpDown1, QStringLiteral("UpDown1"), {4395, 1425, 240, 315});

    QLabel* sizeLabel = AddLabel(9, QStringLiteral("フォントサイズ"), 2520, 2310);
    FontSizeSetText = new QLineEdit(QStringLiteral("12"), surface_);
    Place(FontSizeSetText, QStringLiteral("FontSizeSetText"), {3900, 2250, 495, 315});
    LabelFor(sizeLabel, FontSizeSetText);
    UpDown1->setAccessibleName(QStringLiteral("天候"));
    connect(FontSizeSetText, &QLineEdit::textChanged, this, &MainWindow::ApplyBodyFontSize);
    UpDown2 = new UpDown(1, 400, surface_);
    Place(UpDown2, QStringLiteral("UpDown2"), {4395, 2250, 240, 315});
    UpDown2->setAccessibleName(QStringLiteral("フォントサイズ"));

    QLabel* bodyLabel = AddLabel(6, QStringLiteral("日記の内容"), 180, 2460);
    auto* body = new BodyBox(surface_);
    PlaceInArray(body, QStringLiteral("FieldBoxes"), BodyIndex, {120, 2700, 7635, 2835});
    LabelFor(bodyLabel, body);
    body->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Like every other box, the body passes Tab on to the next control; Enter
    // starts its new lines.
    body->setTabChangesFocus(true);
    body->setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 12));
    FieldBoxes[BodyIndex] = body;
    for (int i = 0; i + 1 < EntryFieldCount; ++i)
        setTabOrder(FieldBoxes[size_t(i)], FieldBoxes[size_t(i + 1)]);

    PageLabel = new QLabel(QStringLiteral("データ保留中"), surface_);
    Place(PageLabel, QStringLiteral("PageLabel"), {120, 5640, 0, 0});
    PageLabel->setAutoFillBackground(true);
    PageLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PageLabel->adjustSize();
}

void MainWindow::BuildHiddenParts()
{
    Image1 = new QLabel(surface_);
    Place(Image1, QStringLiteral("Image1"), {6840, 1020, 960, 960});
    Image1->hide();

    znBaseFrm = new QFrame(surface_);
    Place(znBaseFrm, QStringLiteral("znBaseFrm"), {2580, 4140, 5535, 3495});
    znBaseFrm->setAutoFillBackground(true);
    znBaseFrm->hide();
}

bool MainWindow::Form_Load()
{
    if (context_.app.UserName.isEmpty() && !AskOwnerRegistration())
        return false;

    context_.app.LoginOnOff = context_.settings.ReadSetting(SettingKey::LoginOnOff);
    // A switch that is not a number keeps the diary locked: the login is asked.
    if (SettingValue::ToNumber(context_.app.LoginOnOff).value_or(1.0) != 0.0 && !ConfirmLogin())
        return false;

    // From here on a step that fails is skipped and the next one runs.
    SessionSettings::LoadSettings(context_.settings, context_.app, *this, context_.prompter);
    context_.folder.MakeCurrent();
    LoadBackground();
    store_.SelectDiaryFile();
    if (store_.OpenElsewhere())
        RunningCopy::RaiseHolder(store_.State().DiaryFile.Path());
    if (context_.Ended())
        return false;
    if (store_.IsOpen())
        runningCopy_ = new RunningCopy(store_.State().DiaryFile.Path(), *this);
    store_.State().CurrentPage = store_.State().PageCount;
    store_.LoadPage();
    FontSizeSetText->setText(context_.app.UserDataFontSize);
    ApplyBodyFontSize(context_.app.UserDataFontSize);
    // The window opens ready for writing, not on the page slider.
    FieldBoxes[BodyIndex]->setFocus();
    return true;
}

bool MainWindow::AskOwnerRegistration()
{
    const Prompter::Answer answer = context_.prompter.Message(
        {QStringLiteral(
             "簡単なセットアップを行います。\rまず所有者の名前を設定して下さい。\r同時にパスワードも設定できます。\r"
             "（パスワードは後からも変更できますが、所有者名はこの場以外では変更できません！）"),
         QStringLiteral("新規登録"),
         Prompter::Buttons::YesNo,
         Prompter::Icon::Information,
         {}});
    if (answer == Prompter::Answer::Yes) {
        RegisterOwner();
        return !context_.Ended();
    }
    context_.prompter.Message({QStringLiteral("所有者登録を拒否されたので終了します。"),
                               QStringLiteral("登録拒否"),
                               Prompter::Buttons::Ok,
                               Prompter::Icon::Critical,
                               {}});
    Form_Unload();
    context_.EndProgram();
    return false;
}

// The registration and login windows stand alone. A window owned by the main
// window would make the main window's native window early, and a place set
// after that is taken for the inside area's corner instead of the frame's: the
// window would creep up by its title bar at every start.
void MainWindow::RegisterOwner()
{
    RegistrationWindow window(context_.settings, context_.prompter);
    context_.prompter.ShowModal(window);
}

// Returns only when the owner was confirmed; giving up ends the program.
bool MainWindow::ConfirmLogin()
{
    LoginWindow window(context_.settings, context_.app, context_.prompter, [this] { context_.EndProgram(); });
    context_.prompter.ShowModal(window);
    return !context_.Ended();
}

void MainWindow::ShowTipWindow()
{
    TipWindow window(tips_, context_.settings, context_.folder, this);
    context_.prompter.ShowModal(window);
}

void MainWindow::ShowWebPanelNotice()
{
    WebPanelNotice notice(
        context_.app, [this] { HideWebPanel(); }, this);
    context_.prompter.ShowModal(notice);
}

void MainWindow::LoadBackground()
{
    const QString path = context_.settings.ReadSetting(SettingKey::BackMapPath);
    // A missing or unreadable picture leaves the holder empty.
    background_ = QPixmap(context_.folder.Resolve(path));
    Image1->setPixmap(background_);
    if (!background_.isNull())
        Image1->resize(background_.size());
    Form_Resize();
}

void MainWindow::ApplyBodyFontSize(const QString& text)
{
    // A size that is not usable leaves the body as it is.
    const std::optional<double> size = SettingValue::ToNumber(text);
    if (!size || *size < 1.0 || *size > 400.0)
        return;
    QFont font = FieldBoxes[BodyIndex]->font();
    font.setPointSizeF(*size);
    FieldBoxes[BodyIndex]->setFont(font);
}

void MainWindow::menuCom_Exit_Click()
{
    const bool stored = store_.StorePage();
    if (stored && store_.CompactDiary()) {
        SaveSettingsAndEnd();
        return;
    }
    // A diary that cannot be stored keeps the program open, so nothing is
    // lost unasked; but the user is never kept in it against their word.
    const QString text = stored
                             ? QStringLiteral("日記ファイルを整理できませんでした。ページはすべて保存されています。\r"
                                              "整理せずに終了しますか？")
                             : QStringLiteral("表示中のページを日記ファイルに保存できませんでした。\r"
                                              "保存せずに終了すると、このページに書いた内容は失われます。\r"
                                              "保存せずに終了しますか？");
    if (ConfirmEndWithout(text))
        SaveSettingsAndEnd();
}

bool MainWindow::ConfirmEndWithout(const QString& text)
{
    return context_.prompter.Message({text, QStringLiteral("終了の確認"), Prompter::Buttons::YesNo,
                                      Prompter::Icon::Exclamation, Prompter::Answer::No}) == Prompter::Answer::Yes;
}

bool MainWindow::StoreSaveAndEnd()
{
    // A diary that cannot be stored keeps the program open: nothing is lost.
    if (!store_.StorePage() || !store_.CompactDiary())
        return false;
    SaveSettingsAndEnd();
    return true;
}

void MainWindow::SaveSettingsAndEnd()
{
    SessionSettings::SaveSettings(context_.settings, context_.app, *this, context_.prompter);
    CloseOtherWindows();
    ReleaseDiary();
    context_.EndProgram();
}

// The program is ending: another copy may take the diary from here.
void MainWindow::ReleaseDiary()
{
    store_.Release();
    delete runningCopy_;
    runningCopy_ = nullptr;
}

void MainWindow::CloseOtherWindows()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (*it != this && (*it)->isVisible())
            (*it)->close();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!context_.Ended())
        Form_Unload();
    ReleaseDiary();
    event->accept();
}

// Closing through the frame saves the settings and nothing else: the shown
// page is not stored on this path.
void MainWindow::Form_Unload()
{
    SessionSettings::SaveSettings(context_.settings, context_.app, *this, context_.prompter);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == surface_ && event->type() == QEvent::Resize)
        Form_Resize();
    if (watched == Image2 && event->type() == QEvent::MouseButtonDblClick)
        commands_->Image2_DblClick();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::Form_Resize()
{
    const int width = surface_->width();
    const int height = surface_->height();
    const double W = Twips::FromPixels(width);
    const double H = Twips::FromPixels(height);

    // Each rule stands alone: one that cannot apply is skipped.
    if (H > 3000) {
        QWidget* body = FieldBoxes[BodyIndex];
        if (W > 220)
            body->resize(Twips::ToPixels(W - 220), Twips::ToPixels(H - 2950));
        PageLabel->move(PageLabel->x(), Twips::ToPixels(H - 220));
    }
    const int band = CoolBar1->height();
    PictureBox->setGeometry(width - band, 0, band, band);
    CoolBar1->resize(qMax(0, width - PictureBox->width()), band);
    ResizeWithin(znBaseFrm, width - znBaseFrm->x(), height - znBaseFrm->y());
    if (WebBrowser1) {
        const int margin = Twips::ToPixels(30);
        ResizeWithin(WebBrowser1, width - WebBrowser1->x() - margin, height - WebBrowser1->y() - band - margin);
    }
    PaintBackground();
}

void MainWindow::PaintBackground()
{
    QImage& canvas = surface_->Canvas();
    canvas.fill(palette().color(QPalette::Window));
    const QString off = context_.settings.ReadSetting(SettingKey::BackMapOoOff);
    if (SettingValue::ToNumber(off) == 0.0 && !background_.isNull()) {
        QPainter painter(&canvas);
        BackgroundTiler::Tile(painter, background_, canvas.size());
    }
    surface_->update();
}

void MainWindow::Calendar_DateClick(QDate date)
{
    StoreState& state = store_.State();
    if (state.PageCount <= 0) {
        context_.prompter.Message({QStringLiteral("１件も日記がありません。"),
                                   Prompter::ProgramTitle(),
                                   Prompter::Buttons::Ok,
                                   Prompter::Icon::Critical,
                                   {}});
        return;
    }
    // The scan reads only the date fields and shows the page it stops on, as
    // showing every page up to it in turn would leave the window. Edits not
    // stored on the shown page give way to it.
    const std::optional<qint32> found = store_.FindDatePage(date);
    if (!found)
        return;
    state.CurrentPage = *found != 0 ? *found : state.PageCount;
    store_.LoadPage();
    if (state.CurrentPage > 1)
        state.PageChanged = true;
    if (*found != 0)
        return;

    const Prompter::Answer answer =
        context_.prompter.Message({JapaneseLocale::FormatShortDate(date) +
                                       QStringLiteral(" の日記はありませんでした。この日の日記をつけますか？"),
                                   Prompter::ProgramTitle(),
                                   Prompter::Buttons::YesNo,
                                   Prompter::Icon::Question,
                                   {}});
    if (answer != Prompter::Answer::Yes)
        return;
    const qint32 before = state.PageCount;
    store_.AddPage();
    if (state.PageCount == before)
        return;
    SetFieldText(0, JapaneseLocale::FormatDate(date));
    SetFieldText(1, JapaneseLocale::FormatTime(QTime(0, 0)));
    SetFieldText(2, JapaneseLocale::FormatWeekday(date));
}

void MainWindow::ToggleWebPanel()
{
    znBaseFrm->move(CoolBar1->x(), CoolBar1->height());
    if (znBaseFrm->isVisible()) {
        HideWebPanel();
        return;
    }
    znBaseFrm->show();
    znBaseFrm->raise();
    EnableDiaryButtons(false);
    // The browser engine is started only when the panel is first used.
    if (!WebBrowser1) {
        WebBrowser1 = new SafeWebView(znBaseFrm);
        Place(WebBrowser1, QStringLiteral("WebBrowser1"), {-60, -60, 4455, 2715});
        WebBrowser1->show();
    }
    Form_Resize();
    WebBrowser1->setUrl(QUrl(context_.app.ZnURL));
    if (!context_.app.ZnMSG)
        ShowWebPanelNotice();
}

void MainWindow::HideWebPanel()
{
    znBaseFrm->hide();
    EnableDiaryButtons(true);
}

// Every button but the first and the last ("ZN" and "説明") rests while the
// panel covers the diary; "ZN" shows pressed meanwhile.
void MainWindow::EnableDiaryButtons(bool enabled)
{
    for (size_t i = 1; i + 1 < toolbarButtons_.size(); ++i)
        toolbarButtons_[i]->setEnabled(enabled);
    Slider1->setEnabled(enabled);
    toolbarButtons_.front()->setChecked(!enabled);
}

QString MainWindow::FieldText(int index) const
{
    if (index == BodyIndex) {
        QString text = static_cast<QPlainTextEdit*>(FieldBoxes[BodyIndex])->toPlainText();
        return text.replace(u'\n', QStringLiteral("\r\n"));
    }
    return static_cast<QLineEdit*>(FieldBoxes[size_t(index)])->text();
}

void MainWindow::SetFieldText(int index, const QString& text)
{
    if (index == BodyIndex) {
        QString plain = text;
        plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        static_cast<QPlainTextEdit*>(FieldBoxes[BodyIndex])->setPlainText(plain);
        return;
    }
    static_cast<QLineEdit*>(FieldBoxes[size_t(index)])->setText(text);
}

void MainWindow::SetPageStatus(const QString& text)
{
    PageLabel->setText(text);
    PageLabel->adjustSize();
}

void MainWindow::SetSlider(int maximum, int position)
{
    // Only the user's moves of the slider step the pages.
    const QSignalBlocker quiet(Slider1);
    Slider1->setMaximum(maximum);
    Slider1->setValue(position);
}

void MainWindow::SelectInBody(int start, int length)
{
    // The box holds line feeds where the diary's text has CR LF.
    auto* body = static_cast<QPlainTextEdit*>(FieldBoxes[BodyIndex]);
    const QString text = FieldText(BodyIndex);
    const auto inBox = [&text](int position) {
        return position - int(text.left(position).count(QStringLiteral("\r\n")));
    };
    QTextCursor cursor = body->textCursor();
    cursor.setPosition(inBox(start));
    cursor.setPosition(inBox(start + length), QTextCursor::KeepAnchor);
    body->setTextCursor(cursor);
    // The keys go to the body from here on, also while the search window
    // stays in front.
    activateWindow();
    body->setFocus();
}

void MainWindow::CloseMainWindow()
{
    close();
}

bool MainWindow::SetCalendarDate(QDate date)
{
    if (!date.isValid() || date < Calendar->minimumDate() || date > Calendar->maximumDate())
        return false;
    Calendar->setSelectedDate(date);
    return true;
}

// Set before the window is first made and shown, the place is the frame's
// corner: the window manager puts the frame there.
void MainWindow::SetLeft(double twips)
{
    move(Twips::ToPixels(twips), y());
}

void MainWindow::SetTop(double twips)
{
    move(x(), Twips::ToPixels(twips));
}

void MainWindow::SetWidth(double twips)
{
    resize(Twips::ToPixels(twips), height());
}

void MainWindow::SetHeight(double twips)
{
    resize(width(), Twips::ToPixels(twips));
}

bool MainWindow::IsMinimized() const
{
    return isMinimized();
}

// The place is the frame's, the size the window's inside its frame: window
// managers tell the frame's size only after the window is shown, and a size
// that grew by the frame at every start would creep. The frame's corner is
// asked of the window system now: a window just maximised or restored may not
// have told the widget of its new frame yet.
QRectF MainWindow::BoundsInTwips() const
{
    const QPoint corner = windowHandle() ? windowHandle()->framePosition() : pos();
    return {Twips::FromPixels(corner.x()), Twips::FromPixels(corner.y()), Twips::FromPixels(width()),
            Twips::FromPixels(height())};
}

QString MainWindow::FontSizeText() const
{
    return FontSizeSetText->text();
}
