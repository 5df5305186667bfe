#include "app/TCSpinButton.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

TCSpinButton::TCSpinButton(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    m_repeat.setSingleShot(false);
    connect(&m_repeat, &QTimer::timeout, this, &TCSpinButton::repeat);
}

QSize TCSpinButton::sizeHint() const {
    return {17, 24};
}

QRect TCSpinButton::halfRect(Half half) const {
    const int upHeight = height() / 2;
    if (half == Half::Up) {
        return {0, 0, width(), upHeight};
    }
    return {0, upHeight, width(), height() - upHeight};
}

std::optional<TCSpinButton::Half> TCSpinButton::halfAt(const QPoint& point) const {
    if (halfRect(Half::Up).contains(point)) {
        return Half::Up;
    }
    if (halfRect(Half::Down).contains(point)) {
        return Half::Down;
    }
    return std::nullopt;
}

void TCSpinButton::fire(Half half) {
    if (half == Half::Up) {
        emit upClick();
    } else {
        emit downClick();
    }
}

void TCSpinButton::repeat() {
    m_repeat.setInterval(kRepeatMs);
    if (m_pressed && m_pressedInside) {
        fire(*m_pressed);
    }
}

void TCSpinButton::cancelPress() {
    m_repeat.stop();
    m_pressed.reset();
    m_pressedInside = false;
    update();
}

void TCSpinButton::mousePressEvent(QMouseEvent* event) {
    const auto half = halfAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !half) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressed = half;
    m_pressedInside = true;
    m_focused = *half;
    m_repeat.start(kFirstRepeatMs);
    update();
}

void TCSpinButton::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pressed) {
        return;
    }
    const bool inside = halfRect(*m_pressed).contains(event->position().toPoint());
    if (inside != m_pressedInside) {
        m_pressedInside = inside;
        update();
    }
}

void TCSpinButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_pressed) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const Half half = *m_pressed;
    const bool inside = halfRect(half).contains(event->position().toPoint());
    cancelPress();
    if (inside) {
        fire(half);
    }
}

void TCSpinButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
        m_focused = Half::Up;
        update();
        fire(Half::Up);
        break;
    case Qt::Key_Down:
        m_focused = Half::Down;
        update();
        fire(Half::Down);
        break;
    case Qt::Key_Space:
        fire(m_focused);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TCSpinButton::changeEvent(QEvent* event) {
    // A press must not keep repeating into a control that has just been disabled.
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        cancelPress();
    }
    QWidget::changeEvent(event);
}

void TCSpinButton::paintHalf(QPainter& painter, Half half) {
    const QRect area = halfRect(half);
    const bool sunken = m_pressed == half && m_pressedInside;

    QStyleOptionButton button;
    button.initFrom(this);
    button.rect = area;
    button.state |= sunken ? QStyle::State_Sunken : QStyle::State_Raised;
    if (!sunken) {
        button.state &= ~QStyle::State_HasFocus;
    }
    style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &painter, this);

    QStyleOption arrow;
    arrow.initFrom(this);
    const int inset = std::max(2, area.height() / 5);
    arrow.rect = area.adjusted(inset, inset, -inset, -inset);
    if (sunken) {
        arrow.rect.translate(1, 1);
    }
    const auto element =
        half == Half::Up ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown;
    style()->drawPrimitive(element, &arrow, &painter, this);

    if (hasFocus() && m_focused == half) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = area.adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void TCSpinButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    paintHalf(painter, Half::Up);
    paintHalf(painter, Half::Down);
}
