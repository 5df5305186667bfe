#pragma once

#include <QWidget>

#include <functional>

class QPainter;

namespace tavrin {

// A widget that paints a picture drawn for a design size, scaled to its own size.
class PictureBox : public QWidget {
public:
    using Painter = std::function<void(QPainter&)>;
    PictureBox(QSize designSize, Painter painter, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSize m_designSize;
    Painter m_painter;
};

// The title picture of the Welcome page (484 x 159): the program's name.
void paintTitlePicture(QPainter& painter);
// An activity-on-node network from a start node to an end node (375 x 355).
void paintNetworkPicture(QPainter& painter);
// The program's picture in the about box (33 x 33).
void paintProgramIcon(QPainter& painter);

inline constexpr QSize kTitlePictureSize{484, 159};
inline constexpr QSize kNetworkPictureSize{375, 355};
inline constexpr QSize kProgramIconSize{33, 33};

} // namespace tavrin
