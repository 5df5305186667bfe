#include "app/run_input_block.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace tavrin {

RunInputBlock::RunInputBlock(QWidget* stopButton, std::function<void()> onStop)
    : m_stopButton(stopButton), m_onStop(std::move(onStop)) {
    QCoreApplication::instance()->installEventFilter(this);
}

RunInputBlock::~RunInputBlock() {
    // Input that arrived since the last repaint is delivered now and dropped by the filter.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::instance()->removeEventFilter(this);
}

bool RunInputBlock::isInput(int eventType) {
    switch (static_cast<QEvent::Type>(eventType)) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::InputMethod:
    case QEvent::Wheel:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::Close:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
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

bool RunInputBlock::asksToStop(const QObject* watched, const QEvent* event) const {
    if (event->type() == QEvent::Close) {
        // The close box of the stop button's window: the run ends, its results are kept.
        const QWidget* window = m_stopButton != nullptr ? m_stopButton->window() : nullptr;
        return window != nullptr && (watched == window || watched == window->windowHandle());
    }
    if (event->type() == QEvent::KeyPress) {
        return static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape;
    }
    if (event->type() != QEvent::MouseButtonPress || m_stopButton == nullptr
        || !m_stopButton->isVisible() || !m_stopButton->isEnabled()) {
        return false;
    }
    // A real press reaches the window before the button, so the button is found by position.
    const auto* press = static_cast<const QMouseEvent*>(event);
    return press->button() == Qt::LeftButton
           && m_stopButton->rect().contains(
               m_stopButton->mapFromGlobal(press->globalPosition().toPoint()));
}

bool RunInputBlock::eventFilter(QObject* watched, QEvent* event) {
    if (!isInput(event->type())) {
        return QObject::eventFilter(watched, event);
    }
    if (m_onStop && asksToStop(watched, event)) {
        m_onStop();
    }
    return true;
}

} // namespace tavrin
