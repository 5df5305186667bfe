// Saves a picture of every window and page after two small runs, for the documentation.
// Usage: tavrin_screenshots DIRECTORY
#include "app_test_support.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QTabWidget>

#include <clocale>
#include <cstdio>

using namespace tavrin::testing;

namespace {

bool save(QWidget* window, const QDir& directory, const char* name) {
    window->show();
    window->raise();
    QTest::qWait(50);
    const QString path = directory.filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "tavrin_screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

bool inputPages(Program& program, const QDir& out) {
    bool ok = save(&program.main(), out, "welcome");
    program.chooseVariant(2);
    const char* pages[] = {"max-networks", "input-parameters", "resource-measures"};
    for (int tab = 1; tab <= 3; ++tab) {
        program.selectTab(tab);
        ok = save(&program.main(), out, pages[tab - 1]) && ok;
    }
    return ok;
}

bool tavrin2Run(const QDir& out) {
    Program program;
    bool ok = inputPages(program, out);
    program.find<QAction>("Seed1")->trigger();
    ok = save(&program.windows->seedv, out, "seed-dialog") && ok;
    program.click(program.find<QWidget>(&program.windows->seedv, "Button1"));
    program.type("Edit7", QStringLiteral("12"));
    program.type("Edit8", QStringLiteral("0.45"));
    program.type("Edit6", QStringLiteral("300"));
    program.click("Button1");
    ok = save(&program.windows->param, out, "finished-dialog") && ok;
    program.click(program.find<QWidget>(&program.windows->param, "Button1"));
    program.type("Edit13", QStringLiteral("0.2"));
    program.step("Spin14", Down);
    ok = save(&program.main(), out, "tavrin2-results") && ok;
    program.click("Button1");
    ok = save(&program.windows->save_files, out, "save-files") && ok;
    program.click(program.find<QWidget>(&program.windows->save_files, "btn_cancel"));
    program.find<QAction>("About1")->trigger();
    ok = save(&program.windows->about, out, "about") && ok;
    return ok;
}

bool tavrin1Run(const QDir& out) {
    Program program;
    program.run(1, QStringLiteral("10"), QStringLiteral("0.5"), 400);
    program.step("CSpinButton1", Up);
    program.step("CSpinButton2", Down);
    return save(&program.main(), out, "tavrin1-results");
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tavrin_screenshots DIRECTORY\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "tavrin_screenshots: cannot create %s\n", argv[1]);
        return 1;
    }
    const bool ok = tavrin2Run(out) & tavrin1Run(out);
    return ok ? 0 : 1;
}
