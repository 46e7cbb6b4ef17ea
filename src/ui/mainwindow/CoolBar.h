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
    // In pixels: the height that shows every band's control whole.
    int NeededHeight() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Band
    {
        QWidget* child;
        int minimumHeight;
        int width;
    };
    static int BandHeight(const Band& band);

    std::vector<Band> bands_;
};
