#include "ui/mainwindow/MainWindow.h"

#include "core/platform/JapaneseLocale.h"
#include "core/settings/SettingValue.h"
#include "ui/mainwindow/AppContext.h"
#include "ui/mainwindow/BackgroundTiler.h"
#include "ui/mainwindow/BodyBox.h"
#include "ui/mainwindow/CalendarColours.h"
#include "ui/mainwindow/CalendarFocusDay.h"
#include "ui/mainwindow/CalendarGridAccessible.h"
#include "ui/mainwindow/CalendarMarks.h"
#include "ui/mainwindow/Composition.h"
#include "ui/mainwindow/CoolBar.h"
#include "ui/mainwindow/EntryEditing.h"
#include "ui/mainwindow/EntryLimit.h"
#include "ui/mainwindow/MainMenus.h"
#include "ui/mainwindow/PictureSurface.h"
#include "ui/mainwindow/UpDown.h"
#include "ui/mainwindow/WebPanel.h"
#include "ui/platform/AccessibleRole.h"
#include "ui/platform/SpokenNotice.h"
#include "ui/platform/SpokenText.h"
#include "ui/platform/Twips.h"

#include <QAction>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
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

// A control that the band strip, grown for its toolbar, would cover starts
// below it and ends where it did.
void StartBelow(QWidget& control, int top)
{
    const QRect place = control.geometry();
    if (place.top() < top)
        control.setGeometry(place.left(), top, place.width(), place.bottom() + 1 - top);
}

// A screen reader reads a box by the caption of its label.
void LabelFor(QLabel* label, QWidget* box)
{
    label->setBuddy(box);
    box->setAccessibleName(label->text());
}

} // namespace

MainWindow::MainWindow(AppContext& context)
    : context_(context), mergeChooser_(context.prompter, this),
      store_(*this, context.prompter, context.clock, context.app, [&context] { context.EndProgram(); }),
      exit_(context, store_, *this, *this)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(Caption());
    store_.SetMergeChooser(&mergeChooser_);
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    surface_ = new PictureSurface(this);
    surface_->setObjectName(QStringLiteral("MainSurface"));
    surface_->installEventFilter(this);
    setCentralWidget(surface_);

    // The commands reach the band strip's web panel, and the toolbar is one
    // of the band strip's bands.
    bandStrip_ = new CoolBar(surface_);
    Place(bandStrip_, QStringLiteral("CoolBar1"), {0, 0, 8355, 585});
    webPanel_ = new WebPanel(context_, *bandStrip_, surface_);
    connect(webPanel_, &WebPanel::Opened, this, [this] {
        EnableDiaryButtons(false);
        LayOut();
    });
    connect(webPanel_, &WebPanel::Closed, this, [this] { EnableDiaryButtons(true); });
    menus_ = new MainMenus(context_, store_, *this, exit_, *webPanel_, *this);
    menus_->BuildMenus(*menuBar());
    BuildBandStrip();
    BuildEntryArea();
    BuildHiddenParts();
    entryEditing_ = new EntryEditing({this, entryBoxes_, weatherSpinner_, fontSizeBox_, fontSizeSpinner_, pageSlider_},
                                     store_, context_.app);
    new EntryLimit(entryBoxes_, context_.prompter, this);
    resize(Twips::ToPixels(8475), Twips::ToPixels(5895) + menuBar()->sizeHint().height());
}

MainWindow::~MainWindow()
{
    // The store is the diary's lock only while this window lives.
    if (context_.diaryLock == &Store())
        context_.diaryLock = nullptr;
}

void MainWindow::BuildBandStrip()
{
    toolbar_ = menus_->BuildToolbar();
    bandStrip_->AddBand(toolbar_, 525, 5610);
    pageSlider_ = new QSlider(Qt::Horizontal);
    pageSlider_->setObjectName(QStringLiteral("Slider1"));
    pageSlider_->setAccessibleName(QStringLiteral("ページ"));
    pageSlider_->setMinimum(0);
    pageSlider_->setMaximum(0);
    bandStrip_->AddBand(pageSlider_, 270, 2505);
    // The toolbar's captions need more than the design's height in most
    // fonts and at most scales: the strip grows to show them whole.
    bandStrip_->resize(bandStrip_->width(), qMax(bandStrip_->height(), bandStrip_->NeededHeight()));

    cornerBox_ = new QFrame(surface_);
    Place(cornerBox_, QStringLiteral("PictureBox"), {8100, 300, 585, 585});
    cornerBox_->setFrameShape(QFrame::StyledPanel);
    cornerBox_->setAutoFillBackground(true);
    upgradePicture_ = new QLabel(cornerBox_);
    upgradePicture_->setObjectName(QStringLiteral("Image2"));
    upgradePicture_->setAlignment(Qt::AlignCenter);
    upgradePicture_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(Twips::ToPixels(480)));
    upgradePicture_->installEventFilter(this);
    upgradePicture_->setAccessibleName(QStringLiteral("グレードアップ"));
    upgradePicture_->setAccessibleDescription(QStringLiteral("ダブルクリックでグレードアップのページを開きます"));
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
    CalendarGridAccessible::Install();
    calendar_ = new QCalendarWidget(surface_);
    Place(calendar_, QStringLiteral("Calendar"), {4860, 540, 2325, 2160});
    StartBelow(*calendar_, bandStrip_->height());
    calendar_->setAccessibleName(QStringLiteral("カレンダー"));
    calendar_->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    calendar_->setFirstDayOfWeek(Qt::Sunday);
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar_->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
    // The design place is small: a month fits only in a small type.
    calendar_->setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 7));
    if (auto* days = calendar_->findChild<QTableView*>()) {
        days->horizontalHeader()->setMinimumSectionSize(0);
        days->verticalHeader()->setMinimumSectionSize(0);
    }
    calendar_->setSelectedDate(context_.clock.Now().date());
    connect(calendar_, &QCalendarWidget::clicked, this, [this](QDate date) { store_.ShowDay(date); });
    // Enter on a day does what a click does. A double click also activates,
    // after its first click has shown the day: that one is left alone.
    connect(calendar_, &QCalendarWidget::activated, this, [this](QDate date) {
        if (QGuiApplication::mouseButtons() == Qt::NoButton)
            store_.ShowDay(date);
    });
    new CalendarColours(*calendar_);
    new CalendarMarks(*calendar_, store_);
    NameCalendarParts();

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
    for (int i = 0; i < EntryBoxes::LineCount; ++i) {
        QLabel* label = AddLabel(i, QString::fromUtf8(entries[i].caption), entries[i].label.x(), entries[i].label.y());
        auto* box = new QLineEdit(surface_);
        PlaceInArray(box, QStringLiteral("FieldBoxes"), i, entries[i].box);
        LabelFor(label, box);
        entryBoxes_.lines[size_t(i)] = box;
    }
    entryBoxes_.Line(EntryField::Weather)->setText(QStringLiteral("晴れ"));
    entryBoxes_.Line(EntryField::Expense)->setToolTip(QStringLiteral("整数のみ入力可\"\\\"や\"，\"は自動記入されます"));

    weatherSpinner_ = new UpDown(0, 8, surface_);
    Place(weatherSpinner_, QStringLiteral("UpDown1"), {4395, 1425, 240, 315});
    weatherSpinner_->NameArrows(QStringLiteral("次の天候"), QStringLiteral("前の天候"));

    QLabel* sizeLabel = AddLabel(9, QStringLiteral("フォントサイズ"), 2520, 2310);
    fontSizeBox_ = new QLineEdit(QStringLiteral("12"), surface_);
    Place(fontSizeBox_, QStringLiteral("FontSizeSetText"), {3900, 2250, 495, 315});
    LabelFor(sizeLabel, fontSizeBox_);
    weatherSpinner_->setAccessibleName(QStringLiteral("天候"));
    connect(fontSizeBox_, &QLineEdit::textChanged, this, &MainWindow::ApplyBodyFontSize);
    fontSizeSpinner_ = new UpDown(1, 400, surface_);
    Place(fontSizeSpinner_, QStringLiteral("UpDown2"), {4395, 2250, 240, 315});
    fontSizeSpinner_->setAccessibleName(QStringLiteral("フォントサイズ"));
    fontSizeSpinner_->NameArrows(QStringLiteral("フォントサイズを大きく"), QStringLiteral("フォントサイズを小さく"));

    QLabel* bodyLabel = AddLabel(6, QStringLiteral("日記の内容"), 180, 2460);
    auto* body = new BodyBox(surface_);
    PlaceInArray(body, QStringLiteral("FieldBoxes"), int(EntryField::Body), {120, 2700, 7635, 2835});
    LabelFor(bodyLabel, body);
    body->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Like every other box, the body passes Tab on to the next control; Enter
    // starts its new lines.
    body->setTabChangesFocus(true);
    body->setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 12));
    entryBoxes_.body = body;
    const std::array<QWidget*, EntryFieldCount> boxes = entryBoxes_.All();
    for (size_t i = 0; i + 1 < boxes.size(); ++i)
        setTabOrder(boxes[i], boxes[i + 1]);
    composition_ = new Composition(boxes, this);

    pageStatus_ = new QLabel(surface_);
    AccessibleRole::Give(*pageStatus_, QAccessible::StatusBar);
    pageStatus_->setText(QStringLiteral("データ保留中"));
    Place(pageStatus_, QStringLiteral("PageLabel"), {120, 5640, 0, 0});
    pageStatus_->setAutoFillBackground(true);
    pageStatus_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pageStatus_->adjustSize();
}

// A screen reader reads the days by their dates (CalendarGridAccessible) and
// the month arrows by what they do.
void MainWindow::NameCalendarParts()
{
    if (auto* days = calendar_->findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"))) {
        days->setAccessibleName(calendar_->accessibleName());
        new CalendarFocusDay(*days);
    }
    if (auto* back = calendar_->findChild<QToolButton*>(QStringLiteral("qt_calendar_prevmonth")))
        back->setAccessibleName(QStringLiteral("前の月"));
    if (auto* on = calendar_->findChild<QToolButton*>(QStringLiteral("qt_calendar_nextmonth")))
        on->setAccessibleName(QStringLiteral("次の月"));
}

void MainWindow::BuildHiddenParts()
{
    backgroundHolder_ = new QLabel(surface_);
    Place(backgroundHolder_, QStringLiteral("Image1"), {6840, 1020, 960, 960});
    backgroundHolder_->hide();
    // The web panel covers every other control: it comes last among them.
    webPanel_->raise();
}

void MainWindow::ShowFontSize(const QString& text)
{
    fontSizeBox_->setText(text);
    ApplyBodyFontSize(text);
}

void MainWindow::FocusBody()
{
    entryBoxes_.body->setFocus();
}

void MainWindow::LoadBackground()
{
    const QString path = context_.settings.ReadSetting(SettingKey::BackMapPath);
    // A missing or unreadable picture leaves the holder empty.
    background_ = QPixmap(context_.folder.Resolve(path));
    backgroundHolder_->setPixmap(background_);
    if (!background_.isNull())
        backgroundHolder_->resize(background_.size());
    LayOut();
}

void MainWindow::ApplyBodyFontSize(const QString& text)
{
    // A size that is not usable leaves the body as it is.
    const std::optional<double> size = SettingValue::ToNumber(text);
    if (!size || *size < 1.0 || *size > 400.0)
        return;
    QFont font = entryBoxes_.body->font();
    font.setPointSizeF(*size);
    entryBoxes_.body->setFont(font);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->setAccepted(exit_.WindowClosing());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == surface_ && event->type() == QEvent::Resize)
        LayOut();
    if (watched == upgradePicture_ && event->type() == QEvent::MouseButtonDblClick)
        menus_->ShowUpgradePage();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::LayOut()
{
    const int width = surface_->width();
    const int height = surface_->height();
    const double W = Twips::FromPixels(width);
    const double H = Twips::FromPixels(height);

    // Each rule stands alone: one that cannot apply is skipped.
    if (H > 3000) {
        if (W > 220)
            entryBoxes_.body->resize(Twips::ToPixels(W - 220), Twips::ToPixels(H - 2950));
        pageStatus_->move(pageStatus_->x(), Twips::ToPixels(H - 220));
    }
    const int band = bandStrip_->height();
    cornerBox_->setGeometry(width - band, 0, band, band);
    bandStrip_->resize(qMax(0, width - cornerBox_->width()), band);
    webPanel_->Fit();
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

// The slider rests with the diary's buttons while the panel covers the diary.
void MainWindow::EnableDiaryButtons(bool enabled)
{
    menus_->ShowPanelOpen(!enabled);
    pageSlider_->setEnabled(enabled);
}

QString MainWindow::FieldText(EntryField field) const
{
    if (field == EntryField::Body) {
        QString text = entryBoxes_.body->toPlainText();
        return text.replace(u'\n', QStringLiteral("\r\n"));
    }
    return entryBoxes_.Line(field)->text();
}

void MainWindow::SetFieldText(EntryField field, const QString& text)
{
    if (field == EntryField::Body) {
        QString plain = text;
        plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        entryBoxes_.body->setPlainText(plain);
        return;
    }
    entryBoxes_.Line(field)->setText(text);
}

void MainWindow::FinishComposing()
{
    composition_->Finish();
}

// Every page shown passes here. A screen reader hears the page's date and
// number, and finds them in the status bar afterwards.
void MainWindow::SetPageStatus(const QString& text)
{
    pageStatus_->setText(text);
    pageStatus_->adjustSize();
    QString date = SpokenText::Date(JapaneseLocale::ParseDate(FieldText(EntryField::Date)));
    if (!date.isEmpty())
        date += u' ';
    pageStatus_->setAccessibleName(date + text);
    SpokenNotice::Say(*this, date + QString::number(store_.CurrentPage()) + QStringLiteral("ページ目"));
}

void MainWindow::SetSlider(int maximum, int position)
{
    // Only the user's moves of the slider step the pages.
    const QSignalBlocker quiet(pageSlider_);
    pageSlider_->setMaximum(maximum);
    pageSlider_->setValue(position);
}

void MainWindow::SelectInBody(int start, int length)
{
    // The box holds line feeds where the diary's text has CR LF.
    BodyBox* body = entryBoxes_.body;
    const QString text = FieldText(EntryField::Body);
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
    if (!date.isValid() || date < calendar_->minimumDate() || date > calendar_->maximumDate())
        return false;
    calendar_->setSelectedDate(date);
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

bool MainWindow::KnowsPlace() const
{
    return !QGuiApplication::platformName().startsWith(QStringLiteral("wayland"));
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
    return fontSizeBox_->text();
}
