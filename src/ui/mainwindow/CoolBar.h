#pragma once

#include <QFrame>
#include <vector>

// A strip of bands side by side, each holding one control. The last band
// takes what width is left.
class CoolBar : public QFrame
{
    Q_OBJECT
public:
    explicit CoolBar(QWidget* parent = nullptr);

    // Sizes in twips.
    void AddBand(QWidget* child, int minimumHeight, int width);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Band
    {
        QWidget* child;
        int minimumHeight;
        int width;
    };
    std::vector<Band> bands_;
};
