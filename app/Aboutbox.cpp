#include "app/Aboutbox.h"

#include "app/desktop_shell.h"
#include "app/pictures.h"
#include "app/screen_layout.h"
#include "app/window_frame.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

using namespace tavrin;

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    layout::placeCaption(label, x, y);
    return label;
}

} // namespace

Tabout::Tabout(DesktopShell& shell, QWidget* parent) : QWidget(parent), m_shell(shell) {
    setObjectName(QStringLiteral("about"));
    setWindowTitle(QStringLiteral("About Tavrin"));
    fixWindowFrame(this, {273, 193}, true);
    setFont(layout::sansFont(13));

    ui.Panel1 = new QFrame(this);
    ui.Panel1->setObjectName(QStringLiteral("Panel1"));
    ui.Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    ui.Panel1->setLineWidth(2);
    layout::place(ui.Panel1, 8, 8, 257, 137);
    QWidget* p = ui.Panel1;

    ui.Image1 = new PictureBox(kProgramIconSize, paintProgramIcon, p);
    ui.Image1->setObjectName(QStringLiteral("Image1"));
    layout::place(ui.Image1, 24, 24, 33, 33);

    ui.Label1 = new QLabel(QStringLiteral("Tavrin"), p);
    ui.Label1->setObjectName(QStringLiteral("Label1"));
    ui.Label1->setFont(layout::sansFont(16, true));
    layout::placeCaption(ui.Label1, 96, 24);
    ui.Label2 = makeLabel(p, "Label2", QStringLiteral("Version 1.0"), 96, 48);
    ui.Label5 = makeLabel(p, "Label5", QStringLiteral("Manual:"), 24, 88);
    ui.Label3 = makeLabel(p, "Label3", QString::fromLatin1(kManual), 72, 88);
    ui.Label4 = makeLabel(p, "Label4", QStringLiteral("Project network generator"), 24, 112);

    // The link look: blue, underlined, a hand cursor.
    QFont link = ui.Label3->font();
    link.setUnderline(true);
    ui.Label3->setFont(link);
    ui.Label3->adjustSize();
    QPalette palette = ui.Label3->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    ui.Label3->setPalette(palette);
    ui.Label3->setCursor(Qt::PointingHandCursor);
    ui.Label3->installEventFilter(this);

    ui.Button1 = new QPushButton(QStringLiteral("OK"), this);
    ui.Button1->setObjectName(QStringLiteral("Button1"));
    layout::place(ui.Button1, 96, 160, 75, 25);
    connect(ui.Button1, &QPushButton::clicked, this, &Tabout::Button1Click);

    move(layout::px(306), layout::px(201));
}

void Tabout::Button1Click() {
    hide();
}

void Tabout::Label3Click() {
    m_shell.openUrl(documentUrl(QString::fromLatin1(kManual)));
}

bool Tabout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui.Label3 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Label3Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
