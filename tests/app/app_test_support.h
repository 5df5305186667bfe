#pragma once

#include "app/TCSpinButton.h"
#include "app/desktop_shell.h"
#include "app/message_box.h"
#include "app/tavrin_windows.h"

#include <QLineEdit>
#include <QList>
#include <QStringList>
#include <QTest>
#include <QUrl>

#include <memory>

namespace tavrin::testing {

// Records every message box and answers questions from a list (No when it runs out).
class RecordingMessages : public MessageSink {
public:
    struct Message {
        QString title;
        QString text;
        bool question = false;
    };

    void show(QWidget* parent, const QString& title, const QString& text) override;
    bool ask(QWidget* parent, const QString& title, const QString& text) override;

    QList<Message> shown;
    QList<bool> answers;
};

// Records what the windows ask of the desktop; nothing opens, starts or ends.
class RecordingShell : public DesktopShell {
public:
    void openUrl(const QUrl& url) override { opened.append(url); }
    void startProgram(const QString& path) override { started.append(path); }
    void terminate() override { ++terminations; }
    QString chooseDirectory(QWidget*, const QString& start) override;
    QString chooseFile(QWidget*, const QString&, const QString& start,
                       const QString& filter) override;
    void setPriority(ProcessPriority priority) override { priorities.append(priority); }

    QList<QUrl> opened;
    QStringList started;
    int terminations = 0;
    QString chosenDirectory; // answer of the directory dialog; empty cancels
    QStringList directoryStarts;
    QString chosenFile; // answer of the file dialog; empty cancels
    QStringList fileFilters;
    QList<ProcessPriority> priorities;
};

// The five windows with recording services, the main window shown, as the program starts.
struct Program {
    Program();
    ~Program();

    RecordingMessages messages;
    RecordingShell shell;
    std::unique_ptr<TavrinWindows> windows;

    TRG& main() const { return windows->RG; }

    template <class Widget> Widget* find(QWidget* window, const char* name) const {
        auto* widget = window->findChild<Widget*>(QString::fromLatin1(name));
        if (widget == nullptr) {
            qFatal("no component %s in %s", name, qPrintable(window->objectName()));
        }
        return widget;
    }
    template <class Widget> Widget* find(const char* name) const {
        return find<Widget>(&windows->RG, name);
    }

    // What a user does.
    void type(QLineEdit* field, const QString& text) const;
    void type(const char* field, const QString& text) const;
    void click(QWidget* button) const;
    void click(const char* button) const;
    void step(TCSpinButton* spin, TCSpinButton::Half half) const;
    void step(const char* spin, TCSpinButton::Half half) const;
    void chooseVariant(int variant) const; // 1 or 2
    void selectTab(int index) const;
    // Chooses the variant, sets a small count-limited run and presses Generate; "OK" of the
    // finished dialog brings the main window back.
    void run(int variant, const QString& activities, const QString& target, int maxNetworks,
             const QString& seed = QStringLiteral("0"));

    QString text(const char* component) const;
    QString lastMessage() const;
};

inline constexpr auto Up = TCSpinButton::Half::Up;
inline constexpr auto Down = TCSpinButton::Half::Down;

} // namespace tavrin::testing
