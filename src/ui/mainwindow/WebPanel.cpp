#include "ui/mainwindow/WebPanel.h"

#include "ui/browser/WebModule.h"
#include "ui/dialogs/WebPanelNotice.h"
#include "ui/mainwindow/AppContext.h"
#include "ui/platform/Twips.h"

namespace {

// Width and height each apply only when they are not negative.
void ResizeWithin(QWidget* widget, int width, int height)
{
    widget->resize(width >= 0 ? width : widget->width(), height >= 0 ? height : widget->height());
}

} // namespace

WebPanel::WebPanel(AppContext& context, const QWidget& bandStrip, QWidget* surface)
    : QFrame(surface), context_(context), bandStrip_(bandStrip)
{
    setObjectName(QStringLiteral("znBaseFrm"));
    setGeometry(Twips::ToPixels(QRect(2580, 4140, 5535, 3495)));
    setAutoFillBackground(true);
    hide();
}

void WebPanel::Toggle()
{
    move(bandStrip_.x(), bandStrip_.height());
    if (isVisible())
        Close();
    else
        Open();
}

void WebPanel::Open()
{
    if (!web_)
        web_ = WebModule::Load(context_.prompter);
    if (!web_)
        return;
    show();
    raise();
    if (!view_) {
        view_ = web_->MakeView(this);
        view_->setObjectName(QStringLiteral("WebBrowser1"));
        view_->setGeometry(Twips::ToPixels(QRect(-60, -60, 4455, 2715)));
        view_->show();
    }
    Q_EMIT Opened();
    web_->ShowPage(*view_, QUrl(context_.app.ZnURL));
    if (!context_.app.ZnMSG)
        ShowNotice();
}

void WebPanel::Close()
{
    hide();
    Q_EMIT Closed();
}

void WebPanel::Fit()
{
    const QSize surface = parentWidget()->size();
    ResizeWithin(this, surface.width() - x(), surface.height() - y());
    if (!view_)
        return;
    const int margin = Twips::ToPixels(30);
    ResizeWithin(view_, surface.width() - view_->x() - margin,
                 surface.height() - view_->y() - bandStrip_.height() - margin);
}

// The notice returns at every opening until the user turns it off in it.
void WebPanel::ShowNotice()
{
    WebPanelNotice notice(
        context_.app, [this] { Close(); }, window());
    context_.prompter.ShowModal(notice);
}
