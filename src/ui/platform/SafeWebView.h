#pragma once

#include <QWebEngineView>

// A web view that keeps the owner's files from pages of the network, and keeps
// local pages from the network.
class SafeWebView : public QWebEngineView
{
    Q_OBJECT
public:
    explicit SafeWebView(QWidget* parent = nullptr);
};
