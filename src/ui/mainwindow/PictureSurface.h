#pragma once

#include <QImage>
#include <QWidget>

// A drawing surface whose picture persists: what is drawn into its canvas
// survives being covered and uncovered.
class PictureSurface : public QWidget
{
    Q_OBJECT
public:
    explicit PictureSurface(QWidget* parent = nullptr);

    // The inner drawing area, sized to the widget.
    QImage& Canvas();
    const QImage& Canvas() const { return canvas_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage canvas_;
};
