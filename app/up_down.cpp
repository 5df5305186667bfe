#include "app/up_down.h"

#include "engine/text_conversion.h"

#include <QKeyEvent>
#include <QLineEdit>

UpDown::UpDown(QLineEdit* buddy, int minimum, int maximum, int position, QWidget* parent)
    : TCSpinButton(parent), m_buddy(buddy), m_minimum(minimum), m_maximum(maximum),
      m_position(position) {
    connect(this, &TCSpinButton::upClick, this, [this] { step(+1); });
    connect(this, &TCSpinButton::downClick, this, [this] { step(-1); });
    m_buddy->installEventFilter(this);
}

void UpDown::setPosition(int position) {
    m_position = position;
    m_buddy->setText(QString::number(position));
}

void UpDown::step(int delta) {
    // The field's text is the value; the stored position is only a fallback for a text that is
    // not a number.
    const int value = tavrin::parseInteger(m_buddy->text().toStdString()).value_or(m_position);
    if (delta > 0 && value < m_maximum) {
        setPosition(value < m_minimum ? m_minimum : value + 1);
    } else if (delta < 0 && value > m_minimum) {
        setPosition(value - 1);
    }
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_buddy && event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return TCSpinButton::eventFilter(watched, event);
}
