#pragma once

#include "app/TCSpinButton.h"

class QLineEdit;

// A stepper bound to an edit field: it steps the field's number by one within its range and
// writes the result back. The field stays free for typing; a typed number outside the range
// is left alone by a step that would move it further out. The arrow keys in the field step too.
class UpDown : public TCSpinButton {
    Q_OBJECT
public:
    UpDown(QLineEdit* buddy, int minimum, int maximum, int position, QWidget* parent = nullptr);

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int position() const { return m_position; }
    void setMaximum(int maximum) { m_maximum = maximum; }
    // Also writes the buddy's text.
    void setPosition(int position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void step(int delta);

    QLineEdit* m_buddy;
    int m_minimum;
    int m_maximum;
    int m_position;
};
