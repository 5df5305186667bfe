#pragma once

#include "app/histogram_geometry.h"

#include <QWidget>

#include <functional>
#include <vector>

namespace tavrin {

// A white drawing area for a picture given in design pixels. The picture is filled at the
// design size and scaled to the widget, so the bar geometry stays exactly as computed.
class PaintBox : public QWidget {
public:
    using Picture = std::function<std::vector<PixelRun>()>;

    PaintBox(QSize designSize, QWidget* parent = nullptr);

    // Asked at every paint; an empty function paints the white area alone.
    void setPicture(Picture picture) { m_picture = std::move(picture); }

    static QColor colour(PenColour pen);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSize m_designSize;
    Picture m_picture;
};

} // namespace tavrin
