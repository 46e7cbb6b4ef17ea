#include "ui/mainwindow/CoolBar.h"

#include "ui/platform/Twips.h"

#include <QResizeEvent>

namespace {
// Room for each band's grip at its left edge.
constexpr int GripTwips = 150;
} // namespace

CoolBar::CoolBar(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
}

void CoolBar::AddBand(QWidget* child, int minimumHeight, int width)
{
    child->setParent(this);
    bands_.push_back({child, minimumHeight, width});
    resizeEvent(nullptr);
}

int CoolBar::NeededHeight() const
{
    int needed = 0;
    for (const Band& band : bands_)
        needed = qMax(needed, BandHeight(band));
    return needed;
}

int CoolBar::BandHeight(const Band& band)
{
    return qMax(Twips::ToPixels(band.minimumHeight), band.child->sizeHint().height());
}

void CoolBar::resizeEvent(QResizeEvent* event)
{
    if (event)
        QFrame::resizeEvent(event);
    const int grip = Twips::ToPixels(GripTwips);
    int left = 0;
    for (size_t i = 0; i < bands_.size(); ++i) {
        const Band& band = bands_[i];
        const bool last = i + 1 == bands_.size();
        // A band is at least as wide as its design and as its control wants.
        const int width = last ? qMax(0, this->width() - left - grip)
                               : qMax(Twips::ToPixels(band.width) - grip, band.child->sizeHint().width());
        const int height = qMin(this->height(), BandHeight(band));
        band.child->setGeometry(left + grip, (this->height() - height) / 2, qMax(0, width), height);
        left += grip + width;
    }
}
