#include "app/design_host.h"
#include "app/desktop_shell.h"
#include "app/message_box.h"
#include "app/tavrin_windows.h"

#include <QApplication>
#include <QMessageBox>

#include <clocale>
#include <exception>

int main(int argc, char* argv[]) {
    try {
        QApplication application(argc, argv);
        // Numbers in files are written by the C library: keep its format independent of the
        // user's locale. The fields still read and write the locale's separator through Qt.
        std::setlocale(LC_NUMERIC, "C");
        QApplication::setApplicationName(QStringLiteral("Tavrin"));
        // Only closing the main window ends the program; its dialogs may be the last ones shown.
        QApplication::setQuitOnLastWindowClosed(false);

        tavrin::MessageBoxSink messages;
        tavrin::SystemShell shell;
        tavrin::TavrinWindows windows(messages, shell);
        tavrin::EngineDesignHost designHost;
        windows.RG.setDesignHost(&designHost);
        windows.RG.show();
        QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Tavrin"), QString::fromUtf8(error.what()));
    }
    return 0;
}
