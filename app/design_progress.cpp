#include "app/design_progress.h"

#include "app/design_host.h"

#include <QEventLoop>
#include <QMetaObject>

#include <atomic>
#include <exception>
#include <thread>

namespace tavrin {

namespace {

constexpr const char* kDesignFailedMessage = "The design run failed";
constexpr const char* kDesignProgressText = "%1 of %2 cells, %3 files written";

} // namespace

DesignProgressDialog::DesignProgressDialog(QWidget* parent) : QProgressDialog(parent) {
    setObjectName(QStringLiteral("DesignProgress"));
    setWindowTitle(QStringLiteral("Design"));
    setWindowModality(Qt::ApplicationModal);
    // Shown at once and kept open until the run ends, also at the last cell.
    setMinimumDuration(0);
    setAutoReset(false);
    setAutoClose(false);
    setRange(0, 0);
    setLabelText(QString::fromLatin1(kDesignProgressText).arg(0).arg(0).arg(0));
}

void DesignProgressDialog::showProgress(const design::DesignProgress& progress) {
    setMaximum(progress.cellsTotal);
    setValue(progress.cellsDone);
    setLabelText(QString::fromLatin1(kDesignProgressText)
                     .arg(progress.cellsDone)
                     .arg(progress.cellsTotal)
                     .arg(progress.filesDone));
}

design::DesignRunResult DesignProgressDialog::run(DesignHost& host,
                                                  design::DesignRunOptions options) {
    std::atomic<bool> stop{false};
    options.stop = &stop;
    // Reports come from the run's threads; the dialog is updated on its own thread.
    options.progress = [this](const design::DesignProgress& progress) {
        QMetaObject::invokeMethod(
            this, [this, progress] { showProgress(progress); }, Qt::QueuedConnection);
    };
    // Cancel, the close box and Esc all stop the run.
    const auto requestStop = [&stop] { stop = true; };
    const QMetaObject::Connection cancel = connect(this, &QProgressDialog::canceled, requestStop);
    const QMetaObject::Connection escape = connect(this, &QDialog::rejected, requestStop);

    QEventLoop loop;
    design::DesignRunResult result;
    std::thread worker([&] {
        try {
            result = host.runDesign(options);
        } catch (const std::exception& error) {
            result.error = error.what();
        } catch (...) {
            result.error = kDesignFailedMessage;
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    show();
    loop.exec();
    worker.join();
    disconnect(cancel);
    disconnect(escape);
    hide();
    return result;
}

} // namespace tavrin
