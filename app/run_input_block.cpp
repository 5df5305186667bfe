#include "app/run_input_block.h"

#include <QCoreApplication>
#include <QEvent>

namespace tavrin {

RunInputBlock::RunInputBlock() {
    QCoreApplication::instance()->installEventFilter(this);
}

RunInputBlock::~RunInputBlock() {
    // Input held back by the run's repaints is delivered now and dropped by the filter.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::instance()->removeEventFilter(this);
}

bool RunInputBlock::isInput(int eventType) {
    switch (static_cast<QEvent::Type>(eventType)) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::Close:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
        return true;
    default:
        return false;
    }
}

bool RunInputBlock::eventFilter(QObject* watched, QEvent* event) {
    if (isInput(event->type())) {
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tavrin
