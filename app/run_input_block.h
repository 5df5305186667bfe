#pragma once

#include <QObject>

namespace tavrin {

// While a run executes inside a button handler the windows keep painting but take no input:
// clicks, keys, wheel turns, shortcuts and close requests are dropped, not queued for later.
// Lives for the run; on destruction it drops what arrived during the run and lets input in.
class RunInputBlock : public QObject {
public:
    RunInputBlock();
    ~RunInputBlock() override;

    static bool isInput(int eventType);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace tavrin
