#include "app/desktop_shell.h"

#include "app/directory_dialog.h"
#include "app/message_box.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QProcess>
#include <QUrl>
#include <QtDebug>

#if defined(_WIN32)
#include <windows.h>
#elif defined(__linux__)
#include <cerrno>
#include <cstring>
#include <sched.h>
#endif

namespace tavrin {

void SystemShell::openUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

void SystemShell::startProgram(const QString& path) {
    QProcess::startDetached(path, {});
}

void SystemShell::terminate() {
    QCoreApplication::quit();
}

QString SystemShell::chooseDirectory(QWidget* parent, const QString& start) {
    MessageBoxSink messages;
    return DirectoryDialog::choose(messages, parent, start);
}

QString SystemShell::chooseFile(QWidget* parent, const QString& caption, const QString& start,
                                const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, start, filter);
}

void SystemShell::setPriority(ProcessPriority priority) {
    // A refused change only costs speed or politeness, so it is noted in the debug log alone.
#if defined(_WIN32)
    const DWORD priorityClass =
        priority == ProcessPriority::Idle ? IDLE_PRIORITY_CLASS : NORMAL_PRIORITY_CLASS;
    if (!SetPriorityClass(GetCurrentProcess(), priorityClass)) {
        qDebug() << "SetPriorityClass failed:" << GetLastError();
    }
#elif defined(__linux__)
    sched_param parameters{};
    parameters.sched_priority = 0;
    const int policy = priority == ProcessPriority::Idle ? SCHED_IDLE : SCHED_OTHER;
    if (sched_setscheduler(0, policy, &parameters) != 0) {
        qDebug() << "sched_setscheduler failed:" << std::strerror(errno);
    }
#else
    Q_UNUSED(priority);
#endif
}

} // namespace tavrin
