// The module sorafumi-web: the web engine's side of WebModule.
#include "ui/browser/HelpPages.h"
#include "ui/browser/WebModule.h"
#include "ui/platform/SafeWebView.h"

namespace {

class WebEngineViews final : public WebModule
{
public:
    QWidget* MakeView(QWidget* parent) override { return new SafeWebView(parent); }
    void ShowPage(QWidget& view, const QUrl& address) override { static_cast<SafeWebView&>(view).setUrl(address); }
    void OpenHelpPage(int selector, const ProgramFolder& folder, Prompter& prompter) override
    {
        HelpPages::OpenHelpPage(selector, folder, prompter);
    }
};

} // namespace

extern "C" Q_DECL_EXPORT WebModule* SorafumiWebModule()
{
    static WebEngineViews module;
    return &module;
}
