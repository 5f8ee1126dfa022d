// A bitmap subtitle surface: a black image the size of the control,
// onto which pictures are drawn unscaled and cut at the edges.
#pragma once

#include <QImage>
#include <QWidget>

namespace tessaview {

class BitmapSurface : public QWidget {
    Q_OBJECT
public:
    explicit BitmapSurface(QWidget* parent = nullptr);

    void Clear();                                    // whole surface black
    void DrawPicture(const QImage& picture, int x);  // top-left at (x, 0), cut at the edges
    const QImage& Image() const;                     // what is drawn, for tests and painting

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The image follows the widget's size, also while it is hidden and resize events wait.
    void fitImage() const;

    mutable QImage image_;
};

}  // namespace tessaview
