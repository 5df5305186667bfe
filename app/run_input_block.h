#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

namespace tavrin {

// While a run executes inside a button handler the windows keep painting but take no input:
// clicks, keys, wheel turns, shortcuts and close requests are dropped as they arrive, not queued
// for later. Three inputs are taken instead: Esc, a press on the stop button and the close box
// of its window call onStop.
// Lives for the run; on destruction it drops what is still pending and lets input in.
class RunInputBlock : public QObject {
public:
    // Without a stop button only Esc is taken, and only when onStop is set.
    explicit RunInputBlock(QWidget* stopButton = nullptr, std::function<void()> onStop = {});
    ~RunInputBlock() override;

    RunInputBlock(const RunInputBlock&) = delete;
    RunInputBlock& operator=(const RunInputBlock&) = delete;

    static bool isInput(int eventType);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool asksToStop(const QObject* watched, const QEvent* event) const;

    QPointer<QWidget> m_stopButton;
    std::function<void()> m_onStop;
};

} // namespace tavrin
