#include "app/Seedval.h"

#include "app/field_steps.h"
#include "app/screen_layout.h"
#include "app/window_frame.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace tavrin;

Tseedv::Tseedv(MessageSink& messages, QWidget* parent) : QWidget(parent), m_messages(messages) {
    setObjectName(QStringLiteral("seedv"));
    setWindowTitle(QStringLiteral("Seed value"));
    fixWindowFrame(this, {184, 57}, false);

    const QFont font = layout::sansFont(13);
    ui.Edit1 = new QLineEdit(QStringLiteral("0"), this);
    ui.Edit1->setObjectName(QStringLiteral("Edit1"));
    ui.Edit1->setFont(font);
    layout::place(ui.Edit1, 56, 16, 65, 24);

    ui.Label1 = new QLabel(QStringLiteral("Seed:"), this);
    ui.Label1->setObjectName(QStringLiteral("Label1"));
    ui.Label1->setFont(font);
    layout::placeCaption(ui.Label1, 16, 16, ui.Edit1);

    ui.Button1 = new QPushButton(QStringLiteral("OK"), this);
    ui.Button1->setObjectName(QStringLiteral("Button1"));
    layout::place(ui.Button1, 136, 16, 33, 25);
    ui.Button1->setDefault(true);
    connect(ui.Button1, &QPushButton::clicked, this, &Tseedv::Button1Click);

    setTabOrder(ui.Button1, ui.Edit1);
}

QString Tseedv::seedText() const {
    return ui.Edit1->text();
}

void Tseedv::Button1Click() {
    if (!FieldReader(m_messages, this).integer(ui.Edit1)) {
        return;
    }
    if (m_mainWindow != nullptr) {
        m_mainWindow->setEnabled(true);
    }
    hide();
}

void Tseedv::showEvent(QShowEvent* event) {
    if (m_mainWindow != nullptr && !event->spontaneous()) {
        centreOn(this, m_mainWindow);
    }
    QWidget::showEvent(event);
}

void Tseedv::closeEvent(QCloseEvent* event) {
    event->ignore();
}

void Tseedv::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        ui.Button1->click();
        return;
    }
    QWidget::keyPressEvent(event);
}
