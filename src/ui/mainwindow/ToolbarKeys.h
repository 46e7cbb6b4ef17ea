#pragma once

#include <QList>
#include <QObject>

class QToolBar;
class QToolButton;

// The toolbar by keyboard: it is one Tab stop, on its first button when Tab
// comes in; Left and Right (Home, End) go along the buttons that can be
// pressed, Space or Enter presses the one with the focus, and Down opens a
// button's list.
class ToolbarKeys : public QObject
{
    Q_OBJECT
public:
    // Set up once the toolbar holds its buttons.
    explicit ToolbarKeys(QToolBar& toolbar);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The buttons in their order, separators left out.
    QList<QToolButton*> Buttons() const;
    bool HandleKey(QToolButton& button, int key);
    void MoveFocus(QToolButton& from, int key);
    // The one button Tab stops at.
    void MakeTabStop(QToolButton* stop);

    QToolBar& toolbar_;
};
