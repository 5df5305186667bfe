#pragma once

#include <QSize>

class QUrl;
class QString;
class QWidget;

namespace tavrin {

// A fixed-size window with the given design client size. Without a close box the title bar
// shows only the caption.
void fixWindowFrame(QWidget* window, QSize designClient, bool closeBox);

void centreOnScreen(QWidget* window);
void centreOn(QWidget* window, const QWidget* owner);

// A document shipped beside the program ("Tutorial.pdf"), as a local file address.
QUrl documentUrl(const QString& name);

} // namespace tavrin
