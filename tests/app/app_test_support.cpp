#include "app_test_support.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>

namespace tavrin::testing {

void RecordingMessages::show(QWidget*, const QString& title, const QString& text) {
    shown.append({title, text, false});
}

bool RecordingMessages::ask(QWidget*, const QString& title, const QString& text) {
    shown.append({title, text, true});
    return answers.isEmpty() ? false : answers.takeFirst();
}

QString RecordingShell::chooseDirectory(QWidget*, const QString& start) {
    directoryStarts.append(start);
    return chosenDirectory;
}

QString RecordingShell::chooseFile(QWidget*, const QString&, const QString&,
                                   const QString& filter) {
    fileFilters.append(filter);
    return chosenFile;
}

Program::Program() : windows(std::make_unique<TavrinWindows>(messages, shell)) {
    windows->RG.show();
    if (!QTest::qWaitForWindowExposed(&windows->RG)) {
        qWarning("main window not exposed");
    }
}

Program::~Program() = default;

void Program::type(QLineEdit* field, const QString& text) const {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

void Program::type(const char* field, const QString& text) const {
    QLineEdit* edit = windows->RG.findChild<QLineEdit*>(QString::fromLatin1(field));
    if (edit == nullptr) {
        edit = find<QLineEdit>(&windows->save_files, field);
    }
    type(edit, text);
}

void Program::click(QWidget* button) const {
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

void Program::click(const char* button) const {
    click(find<QWidget>(button));
}

void Program::step(TCSpinButton* spin, TCSpinButton::Half half) const {
    QTest::mouseClick(spin, Qt::LeftButton, {}, spin->halfRect(half).center());
}

void Program::step(const char* spin, TCSpinButton::Half half) const {
    step(find<TCSpinButton>(spin), half);
}

void Program::chooseVariant(int variant) const {
    click(find<QRadioButton>(variant == 1 ? "RadioButton1" : "RadioButton2"));
}

void Program::selectTab(int index) const {
    auto* tabs = find<QTabWidget>("TabControl1");
    QTabBar* bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

void Program::run(int variant, const QString& activities, const QString& target, int maxNetworks,
                  const QString& seed) {
    chooseVariant(variant);
    type("Edit7", activities);
    type("Edit8", target);
    type("Edit6", QString::number(maxNetworks));
    if (seed != windows->seedv.seedText()) {
        find<QAction>("Seed1")->trigger();
        type(find<QLineEdit>(&windows->seedv, "Edit1"), seed);
        click(find<QWidget>(&windows->seedv, "Button1"));
    }
    click("Button1");
    if (windows->param.isVisible()) {
        click(find<QWidget>(&windows->param, "Button1"));
        // The window shown again is exposed, and so painted, once its events have run.
        QCoreApplication::processEvents();
        if (!QTest::qWaitForWindowExposed(&windows->RG)) {
            qWarning("main window not exposed again");
        }
    }
}

QString Program::text(const char* component) const {
    QWidget* widget = windows->RG.findChild<QWidget*>(QString::fromLatin1(component));
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return edit->text();
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    qFatal("no text component %s", component);
}

QString Program::lastMessage() const {
    return messages.shown.isEmpty() ? QString() : messages.shown.last().text;
}

} // namespace tavrin::testing
