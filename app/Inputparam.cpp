#include "app/Inputparam.h"

#include "app/screen_layout.h"
#include "app/window_frame.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

using namespace tavrin;

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    return label;
}

} // namespace

Tparam::Tparam(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("param"));
    setWindowTitle(QStringLiteral("Thank you for using Tavrin"));
    fixWindowFrame(this, {371, 186}, false);

    const QFont plain = layout::sansFont(13);
    ui.Label1 = makeLabel(this, "Label1", QStringLiteral("Generating proces has finished"),
                          layout::sansFont(16, true));
    ui.Label2 = makeLabel(this, "Label2", QStringLiteral("Number of generated networks:"), plain);
    ui.Label3 = makeLabel(this, "Label3", QString(), plain);
    ui.Label4 = makeLabel(this, "Label4", QStringLiteral("Elapsed time (in seconds):"), plain);
    ui.Label5 = makeLabel(this, "Label5", QString(), plain);
    layout::placeCaption(ui.Label1, 64, 32);
    layout::placeCaption(ui.Label2, 64, 64);
    layout::placeCaption(ui.Label4, 64, 88);
    // The value labels reach to the right edge, so any count fits.
    ui.Label3->setGeometry(layout::px(256), ui.Label2->y(), layout::px(371 - 256 - 8),
                           ui.Label2->height());
    ui.Label5->setGeometry(layout::px(232), ui.Label4->y(), layout::px(371 - 232 - 8),
                           ui.Label4->height());

    ui.Button1 = new QPushButton(QStringLiteral("OK"), this);
    ui.Button1->setObjectName(QStringLiteral("Button1"));
    layout::place(ui.Button1, 136, 136, 97, 33);
    ui.Button1->setDefault(true);
    connect(ui.Button1, &QPushButton::clicked, this, &Tparam::Button1Click);

    centreOnScreen(this);
}

void Tparam::report(int networks, int seconds) {
    ui.Label3->setText(QString::number(networks));
    ui.Label5->setText(QString::number(seconds));
}

void Tparam::Button1Click() {
    hide();
    if (m_mainWindow != nullptr) {
        m_mainWindow->show();
    }
}

void Tparam::closeEvent(QCloseEvent* event) {
    event->ignore();
}

void Tparam::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        ui.Button1->click();
        return;
    }
    QWidget::keyPressEvent(event);
}
