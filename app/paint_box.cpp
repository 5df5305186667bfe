#include "app/paint_box.h"

#include <QImage>
#include <QPainter>

namespace tavrin {

PaintBox::PaintBox(QSize designSize, QWidget* parent) : QWidget(parent), m_designSize(designSize) {}

QColor PaintBox::colour(PenColour pen) {
    switch (pen) {
    case PenColour::Silver:
        return {0xC0, 0xC0, 0xC0};
    case PenColour::Red:
        return {0xFF, 0x00, 0x00};
    case PenColour::Black:
        break;
    }
    return {0, 0, 0};
}

void PaintBox::paintEvent(QPaintEvent* /*event*/) {
    QImage image(m_designSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (m_picture) {
        QPainter canvas(&image);
        for (const PixelRun& run : m_picture()) {
            canvas.fillRect(run.left, run.top, run.width, run.height, colour(run.pen));
        }
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const double scale = static_cast<double>(width()) / m_designSize.width();
    painter.drawImage(QRectF(0, 0, m_designSize.width() * scale, m_designSize.height() * scale),
                      image);
}

} // namespace tavrin
