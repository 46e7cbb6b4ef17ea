#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

// The text an input method is still converting in one of the entry boxes,
// shown in the box but not yet part of its text. Before a page is stored or
// another shown it is put into its box, or dropped: it never follows the user
// onto the next page.
class Composition : public QObject
{
    Q_OBJECT
public:
    // Watches the boxes given, which must outlive it.
    template <typename Boxes> Composition(const Boxes& boxes, QObject* parent) : QObject(parent)
    {
        for (QWidget* box : boxes)
            box->installEventFilter(this);
    }

    // Asks the input method to commit what is being converted and waits a
    // moment for it: one input method commits at once, another through its
    // daemon a moment later. What does not come is dropped from the box.
    void Finish();

Q_SIGNALS:
    void Committed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> composing_; // the box showing text being converted
    int commits_ = 0;
};
