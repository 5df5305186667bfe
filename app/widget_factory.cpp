#include "app/widget_factory.h"

#include "app/TCSpinButton.h"
#include "app/screen_layout.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace tavrin {

QFrame* makePanel(QWidget* parent, const char* name, int x, int y, int width, int height,
                  bool sunken) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    if (sunken) {
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    layout::place(panel, x, y, width, height);
    return panel;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, const QString& text, int x, int y, int width,
                    int height) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    layout::place(edit, x, y, width, height);
    return edit;
}

QLabel* makeCaption(QWidget* parent, const char* name, const QString& text, int x, int y,
                    const QWidget* field) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    layout::placeCaption(label, x, y, field);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, int x, int y,
                        int width, int height) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    layout::place(button, x, y, width, height);
    return button;
}

TCSpinButton* makeSpin(QWidget* parent, const char* name, int x, int y) {
    auto* spin = new TCSpinButton(parent);
    spin->setObjectName(QString::fromLatin1(name));
    layout::place(spin, x, y, 21, 30);
    return spin;
}

void setTabChain(std::initializer_list<QWidget*> widgets) {
    for (std::size_t i = 1; i < widgets.size(); ++i) {
        QWidget::setTabOrder(widgets.begin()[i - 1], widgets.begin()[i]);
    }
}

} // namespace tavrin
