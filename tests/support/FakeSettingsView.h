#pragma once

#include "core/settings/SettingsView.h"

#include <QStringList>

// The main window's place, size and font-size box as plain values. Every
// change of place or size is recorded, in order, as "left 1500" and the like.
class FakeSettingsView : public SettingsView
{
public:
    void SetLeft(double twips) override { Record(QStringLiteral("left"), twips); }
    void SetTop(double twips) override { Record(QStringLiteral("top"), twips); }
    void SetWidth(double twips) override { Record(QStringLiteral("width"), twips); }
    void SetHeight(double twips) override { Record(QStringLiteral("height"), twips); }
    bool IsMinimized() const override { return minimized; }
    bool KnowsPlace() const override { return knowsPlace; }
    QRectF BoundsInTwips() const override { return bounds; }
    QString FontSizeText() const override { return fontSizeText; }

    QStringList calls;
    bool minimized = false;
    bool knowsPlace = true;
    QRectF bounds;
    QString fontSizeText;

private:
    void Record(const QString& what, double twips) { calls << what + u' ' + QString::number(twips, 'g', 10); }
};
