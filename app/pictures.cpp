#include "app/pictures.h"

#include "app/screen_layout.h"

#include <QLineF>
#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cmath>
#include <utility>

namespace tavrin {
namespace {

const QColor kInk(0x1f, 0x3a, 0x68);
const QColor kAccent(0xc0, 0x20, 0x20);
const QColor kNodeFill(0xf4, 0xf7, 0xfc);

void drawArrow(QPainter& painter, QPointF from, QPointF to, double radius) {
    QLineF line(from, to);
    const double length = line.length();
    if (length <= 2 * radius) {
        return;
    }
    const QPointF unit = (to - from) / length;
    const QPointF start = from + unit * radius;
    const QPointF end = to - unit * radius;
    painter.drawLine(start, end);
    const QPointF normal(-unit.y(), unit.x());
    constexpr double kHead = 7.0;
    QPolygonF head;
    head << end << end - unit * kHead + normal * (kHead / 2.2)
         << end - unit * kHead - normal * (kHead / 2.2);
    painter.setBrush(painter.pen().color());
    painter.drawPolygon(head);
}

void drawNode(QPainter& painter, QPointF centre, double radius, const QString& name, bool end) {
    painter.setBrush(end ? kInk : kNodeFill);
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(end ? Qt::white : kInk);
    painter.drawText(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius),
                     Qt::AlignCenter, name);
    painter.setPen(QPen(kInk, 1.6));
}

} // namespace

PictureBox::PictureBox(QSize designSize, Painter painter, QWidget* parent)
    : QWidget(parent), m_designSize(designSize), m_painter(std::move(painter)) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void PictureBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(static_cast<double>(width()) / m_designSize.width(),
                  static_cast<double>(height()) / m_designSize.height());
    m_painter(painter);
}

void paintTitlePicture(QPainter& painter) {
    // The lower left corner stays empty: the network picture reaches into it.
    QFont title(QStringLiteral("Serif"));
    title.setStyleHint(QFont::Serif);
    title.setBold(true);
    title.setPixelSize(92);
    painter.setFont(title);
    const QRectF nameArea(100, 0, 384, 112);
    painter.setPen(QColor(0, 0, 0, 40));
    painter.drawText(nameArea.translated(4, 4), Qt::AlignCenter, QStringLiteral("Tavrin"));
    painter.setPen(kInk);
    painter.drawText(nameArea, Qt::AlignCenter, QStringLiteral("Tavrin"));

    painter.setPen(QPen(kAccent, 3));
    painter.drawLine(QPointF(150, 114), QPointF(434, 114));

    QFont subtitle;
    subtitle.setPixelSize(19);
    subtitle.setItalic(true);
    painter.setFont(subtitle);
    painter.setPen(kInk);
    painter.drawText(QRectF(100, 120, 384, 34), Qt::AlignCenter,
                     QStringLiteral("Project network generator"));
}

void paintNetworkPicture(QPainter& painter) {
    // Layers from the start node 1 to the end node 10; the top right corner stays empty for
    // the title picture.
    const std::array<QPointF, 10> nodes{{{28, 230},
                                         {110, 150},
                                         {110, 240},
                                         {110, 322},
                                         {190, 128},
                                         {190, 222},
                                         {190, 312},
                                         {270, 182},
                                         {270, 282},
                                         {345, 232}}};
    const std::array<std::pair<int, int>, 14> arcs{{{0, 1},
                                                    {0, 2},
                                                    {0, 3},
                                                    {1, 4},
                                                    {1, 5},
                                                    {2, 5},
                                                    {3, 6},
                                                    {2, 6},
                                                    {4, 7},
                                                    {5, 7},
                                                    {5, 8},
                                                    {6, 8},
                                                    {7, 9},
                                                    {8, 9}}};
    constexpr double kRadius = 15.0;
    QFont font;
    font.setPixelSize(13);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QPen(kInk, 1.6));
    for (const auto& [from, to] : arcs) {
        drawArrow(painter, nodes[static_cast<std::size_t>(from)],
                  nodes[static_cast<std::size_t>(to)], kRadius);
    }
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const bool end = i == 0 || i + 1 == nodes.size();
        drawNode(painter, nodes[i], kRadius, QString::number(i + 1), end);
    }
}

void paintProgramIcon(QPainter& painter) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 32, 32), 6, 6);
    const std::array<QPointF, 4> nodes{{{7, 16.5}, {16.5, 8}, {16.5, 25}, {26, 16.5}}};
    painter.setPen(QPen(Qt::white, 1.6));
    for (const auto& [from, to] :
         std::array<std::pair<int, int>, 4>{{{0, 1}, {0, 2}, {1, 3}, {2, 3}}}) {
        painter.drawLine(nodes[static_cast<std::size_t>(from)],
                         nodes[static_cast<std::size_t>(to)]);
    }
    painter.setBrush(Qt::white);
    painter.setPen(Qt::NoPen);
    for (const QPointF& node : nodes) {
        painter.drawEllipse(node, 3.4, 3.4);
    }
    painter.setBrush(kAccent);
    painter.drawEllipse(nodes[3], 3.4, 3.4);
}

} // namespace tavrin
