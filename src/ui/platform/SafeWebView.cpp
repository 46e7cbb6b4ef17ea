#include "ui/platform/SafeWebView.h"

#include <QWebEngineSettings>

SafeWebView::SafeWebView(QWidget* parent) : QWebEngineView(parent)
{
    // Pages from the network never reach a file: the engine refuses them file
    // addresses whatever is set here. Local pages keep their access to other
    // local pages, without which the help pages could not link to each other,
    // but may not call out to the network with what they find.
    QWebEngineSettings* rules = settings();
    rules->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    rules->setAttribute(QWebEngineSettings::AllowRunningInsecureContent, false);
    rules->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    rules->setAttribute(QWebEngineSettings::PluginsEnabled, false);
}
