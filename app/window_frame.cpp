#include "app/window_frame.h"

#include "app/screen_layout.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>
#include <QWidget>

namespace tavrin {

void fixWindowFrame(QWidget* window, QSize designClient, bool closeBox) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (closeBox) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    window->setWindowFlags(flags);
    window->setFixedSize(layout::px(designClient.width()), layout::px(designClient.height()));
}

void centreOnScreen(QWidget* window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void centreOn(QWidget* window, const QWidget* owner) {
    QRect frame = window->frameGeometry();
    frame.moveCenter(owner->frameGeometry().center());
    window->move(frame.topLeft());
}

QUrl documentUrl(const QString& name) {
    return QUrl::fromLocalFile(QDir(QCoreApplication::applicationDirPath()).filePath(name));
}

} // namespace tavrin
