#pragma once

#include <QTimer>
#include <QWidget>

#include <optional>

// An up and a down arrow button stacked in one control. A click (release over the button that
// was pressed) raises the button's event; holding the mouse button down on it also raises it
// 400 ms after the press and then every 100 ms. With the keyboard focus, the up and down arrow
// keys raise the up and down events and the space bar the event of the focused half.
class TCSpinButton : public QWidget {
    Q_OBJECT
public:
    enum class Half { Up, Down };

    static constexpr int kFirstRepeatMs = 400;
    static constexpr int kRepeatMs = 100;

    explicit TCSpinButton(QWidget* parent = nullptr);

    QRect halfRect(Half half) const;
    QSize sizeHint() const override;

signals:
    void upClick();
    void downClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void fire(Half half);
    void repeat();
    void cancelPress();
    std::optional<Half> halfAt(const QPoint& point) const;
    void paintHalf(QPainter& painter, Half half);

    QTimer m_repeat;
    std::optional<Half> m_pressed;
    bool m_pressedInside = false;
    Half m_focused = Half::Up;
};
