#pragma once

#include <QString>

class QUrl;
class QWidget;

namespace tavrin {

enum class ProcessPriority { Idle, Normal };

// What the windows ask of the desktop and the process. Tests replace it, so that no document
// opens, no program starts and the test process keeps its priority.
class DesktopShell {
public:
    virtual ~DesktopShell() = default;
    // Opens a document or address with the desktop's viewer; the outcome is not examined.
    virtual void openUrl(const QUrl& url) = 0;
    // Starts a program as a separate process; the outcome is not examined.
    virtual void startProgram(const QString& path) = 0;
    // Ends the message loop and with it the program.
    virtual void terminate() = 0;
    // The directory the user picked, or an empty text when cancelled. A typed directory that
    // does not exist is created once the user agrees; start may name one that does not exist.
    virtual QString chooseDirectory(QWidget* parent, const QString& start) = 0;
    // The file the user picked to open, or an empty text when cancelled; filter as in
    // QFileDialog ("Design files (*.toml)").
    virtual QString chooseFile(QWidget* parent, const QString& caption, const QString& start,
                               const QString& filter) = 0;
    virtual void setPriority(ProcessPriority priority) = 0;
};

class SystemShell : public DesktopShell {
public:
    void openUrl(const QUrl& url) override;
    void startProgram(const QString& path) override;
    void terminate() override;
    QString chooseDirectory(QWidget* parent, const QString& start) override;
    QString chooseFile(QWidget* parent, const QString& caption, const QString& start,
                       const QString& filter) override;
    void setPriority(ProcessPriority priority) override;
};

} // namespace tavrin
