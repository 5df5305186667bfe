#include "app/run_input_block.h"
#include "app_test_main.h"
#include "app_test_support.h"
#include "engine/network_store.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include <vector>

using namespace tavrin;
using namespace tavrin::testing;

namespace {

std::vector<std::vector<Word>> keptNetworks(const NetworkStore& store) {
    std::vector<std::vector<Word>> rows;
    for (int slot = 0; slot < store.count(); ++slot) {
        const Word* row = store.row(slot);
        rows.emplace_back(row, row + store.arcWords());
    }
    return rows;
}

} // namespace

class GenerateTest : public QObject {
    Q_OBJECT
private slots:
    void withoutAVariantNothingStarts() {
        Program p;
        p.click("Button1");
        QVERIFY(p.messages.shown.isEmpty());
        QCOMPARE(p.text("Button1"), QStringLiteral("Generate"));
        QCOMPARE(p.main().runCounter(), 0);
        QVERIFY(p.shell.priorities.isEmpty());
        p.type("Edit7", QStringLiteral("0.5"));
        p.click("Button1");
        QCOMPARE(p.lastMessage(), QStringLiteral("Number of activities cannot be smaller than 1"));
    }

    void refusedPressChangesNothing_data() {
        QTest::addColumn<int>("variant");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        const QString os = QStringLiteral("OS value must be between 0 and 1");
        const QString i2 = QStringLiteral("I2 value must be between 0 and 1");
        QTest::addRow("OS above 1") << 1 << "Edit8"
                                    << "1.01"
                                    << "Message" << os;
        QTest::addRow("OS below 0") << 1 << "Edit8"
                                    << "-0.5"
                                    << "Message" << os;
        QTest::addRow("I2 above 1") << 2 << "Edit8"
                                    << "1.01"
                                    << "Message" << i2;
        QTest::addRow("I2 below 0") << 2 << "Edit8"
                                    << "-0.5"
                                    << "Message" << i2;
        QTest::addRow("half an activity") << 2 << "Edit7"
                                          << "0.5"
                                          << "Message"
                                          << "Number of activities cannot be smaller than 1";
        QTest::addRow("target not a number") << 2 << "Edit8"
                                             << "one"
                                             << "Tavrin"
                                             << "'one' is not a valid floating point value.";
        QTest::addRow("fractional activities pass the check, not the intake")
            << 1 << "Edit7"
            << "10.5"
            << "Tavrin"
            << "'10.5' is not a valid integer value.";
        QTest::addRow("maximum count") << 2 << "Edit6"
                                       << "many"
                                       << "Tavrin"
                                       << "'many' is not a valid integer value.";
        QTest::addRow("resources are read by the run too") << 2 << "Edit21"
                                                           << ""
                                                           << "Tavrin"
                                                           << "'' is not a valid integer value.";
    }
    void refusedPressChangesNothing() {
        QFETCH(int, variant);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(QString, message);
        Program p;
        p.chooseVariant(variant);
        p.type(field.toLatin1().constData(), text);
        p.click("Button1");
        QCOMPARE(p.messages.shown.size(), 1);
        QCOMPARE(p.messages.shown[0].title, title);
        QCOMPARE(p.lastMessage(), message);
        QCOMPARE(p.main().runCounter(), 0);
        QCOMPARE(p.text("Button1"), QStringLiteral("Generate"));
        QVERIFY(p.shell.priorities.isEmpty());
        QVERIFY(p.main().isVisible());
        QVERIFY(p.find<QWidget>("Edit7")->isEnabled());
    }

    void timeLimitTextIsCheckedBeforeTheRun() {
        Program p;
        p.chooseVariant(2);
        p.click(p.find<QCheckBox>("CheckBox1"));
        p.type("Edit5", QStringLiteral("soon"));
        p.click("Button1");
        QCOMPARE(p.lastMessage(), QStringLiteral("'soon' is not a valid floating point value."));
        QCOMPARE(p.main().runCounter(), 0);
    }

    void targetBoundsAreInclusive_data() {
        QTest::addColumn<int>("variant");
        QTest::addColumn<QString>("target");
        QTest::addRow("OS 0") << 1 << "0";
        QTest::addRow("OS 1") << 1 << "1";
        QTest::addRow("I2 0") << 2 << "0";
        QTest::addRow("I2 1") << 2 << "1";
    }
    void targetBoundsAreInclusive() {
        QFETCH(int, variant);
        QFETCH(QString, target);
        Program p;
        p.run(variant, QStringLiteral("6"), target, 5);
        QVERIFY(p.messages.shown.isEmpty());
        QCOMPARE(p.main().runCounter(), 1);
    }

    void finishedRun_data() {
        QTest::addColumn<int>("variant");
        QTest::addRow("Tavrin1") << 1;
        QTest::addRow("Tavrin2") << 2;
    }
    void finishedRun() {
        QFETCH(int, variant);
        Program p;
        p.chooseVariant(variant);
        p.type("Edit7", QStringLiteral("10"));
        p.type("Edit8", QStringLiteral("0.5"));
        p.type("Edit6", QStringLiteral("40"));
        p.click("Button1");

        // The finished dialog replaces the main window.
        QVERIFY(p.messages.shown.isEmpty());
        QVERIFY(!p.main().isVisible());
        QVERIFY(p.windows->param.isVisible());
        const NetworkStore* store = p.main().store();
        QVERIFY(store != nullptr);
        // Tavrin2 stops at 40 kept networks; Tavrin1 makes 40 attempts and keeps the new ones.
        QVERIFY(store->count() > 0 && store->count() <= 40);
        QCOMPARE(p.find<QLabel>(&p.windows->param, "Label3")->text(),
                 QString::number(store->count()));
        bool whole = false;
        QVERIFY(p.find<QLabel>(&p.windows->param, "Label5")->text().toInt(&whole) >= 0 && whole);
        QCOMPARE(p.shell.priorities, QList<ProcessPriority>{ProcessPriority::Idle});
        QCOMPARE(p.find<QProgressBar>("ProgressBar1")->maximum(), 40);

        p.click(p.find<QWidget>(&p.windows->param, "Button1"));
        QVERIFY(p.main().isVisible());
        QVERIFY(!p.windows->param.isVisible());
        QCOMPARE(p.text("Button1"), QStringLiteral("Save Files"));
        QCOMPARE(p.find<QTabWidget>("TabControl1")->currentIndex(), 4);
        QVERIFY(p.find<QWidget>(variant == 1 ? "Panel2" : "Panel6")->isVisible());
        QVERIFY(!p.find<QWidget>("ProgressBar1")->isVisible());
        QVERIFY(!p.find<QAction>("Seed1")->isEnabled());
        for (const char* locked :
             {"Edit5", "Edit6", "Edit7", "Edit8", "Spin5", "Spin6", "Spin7", "Spin8", "CheckBox1",
              "Label5", "Label6", "Label7", "Label8", "Label9", "RadioButton1", "RadioButton2"}) {
            QVERIFY2(!p.find<QWidget>(locked)->isEnabled(), locked);
        }
        for (const char* open :
             {"Edit21", "Spin21", "ComboBox2", "ComboBox3", "Edit9", "Spin9", "Edit11", "Spin11"}) {
            QVERIFY2(p.find<QWidget>(open)->isEnabled(), open);
        }
        // The resource page still steps after the run.
        p.step("Spin21", Up);
        QCOMPARE(p.text("Edit21"), QStringLiteral("5"));
    }

    void secondPressSavesInsteadOfRunning() {
        Program p;
        p.run(2, QStringLiteral("8"), QStringLiteral("0.5"), 10);
        const NetworkStore* store = p.main().store();
        p.click("Button1");
        QCOMPARE(p.main().runCounter(), 1);
        QCOMPARE(p.main().store(), store);
        QVERIFY(p.windows->save_files.isVisible());
    }

    void seedDecidesTheNetworks() {
        Program first;
        first.run(2, QStringLiteral("10"), QStringLiteral("0.4"), 30, QStringLiteral("7"));
        Program again;
        again.run(2, QStringLiteral("10"), QStringLiteral("0.4"), 30, QStringLiteral("7"));
        Program other;
        other.run(2, QStringLiteral("10"), QStringLiteral("0.4"), 30, QStringLiteral("1"));
        QCOMPARE(keptNetworks(*again.main().store()), keptNetworks(*first.main().store()));
        QVERIFY(keptNetworks(*other.main().store()) != keptNetworks(*first.main().store()));
    }

    void stopEndsTheRunWithItsResults_data() {
        QTest::addColumn<QString>("how");
        QTest::addRow("Esc") << "Esc";
        QTest::addRow("Stop caption") << "Stop";
        QTest::addRow("close box") << "close";
    }
    void stopEndsTheRunWithItsResults() {
        QFETCH(QString, how);
        Program p;
        p.chooseVariant(2);
        p.type("Edit7", QStringLiteral("30"));
        p.type("Edit8", QStringLiteral("0.5"));
        p.click("CheckBox1");
        p.type("Edit5", QStringLiteral("600"));
        auto* button = p.find<QPushButton>("Button1");
        QTabBar* tabs = p.find<QTabWidget>("TabControl1")->tabBar();
        QString captionDuringRun;
        // Fires at the run's first repaint: what a user does while the run goes on.
        QTimer::singleShot(0, [&] {
            captionDuringRun = button->text();
            const QPoint onTab = tabs->tabRect(1).center();
            QCoreApplication::postEvent(
                tabs, new QMouseEvent(QEvent::MouseButtonPress, onTab, tabs->mapToGlobal(onTab),
                                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
            if (how == QStringLiteral("Esc")) {
                QCoreApplication::postEvent(
                    &p.main(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
            } else if (how == QStringLiteral("close")) {
                QCoreApplication::postEvent(&p.main(), new QCloseEvent);
            } else {
                const QPoint centre = button->rect().center();
                QCoreApplication::postEvent(
                    button,
                    new QMouseEvent(QEvent::MouseButtonPress, centre, button->mapToGlobal(centre),
                                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
            }
        });
        p.click(button);

        QCOMPARE(captionDuringRun, QStringLiteral("Stop"));
        QVERIFY(p.main().session().result().interrupted);
        QCOMPARE(p.shell.terminations, 0);
        QVERIFY(p.windows->param.isVisible());
        QCOMPARE(p.find<QLabel>(&p.windows->param, "Label3")->text(),
                 QString::number(p.main().store()->count()));
        p.click(p.find<QWidget>(&p.windows->param, "Button1"));
        QCOMPARE(button->text(), QStringLiteral("Save Files"));
        // The tab click made during the run was dropped, not acted on afterwards.
        QCOMPARE(p.find<QTabWidget>("TabControl1")->currentIndex(), 4);
        p.click(button);
        QVERIFY(p.windows->save_files.isVisible());
    }

    void inputDuringARunIsDropped() {
        QPushButton button;
        button.show();
        QSignalSpy clicks(&button, &QPushButton::clicked);
        {
            const RunInputBlock block;
            QTest::mouseClick(&button, Qt::LeftButton);
            QTest::keyClick(&button, Qt::Key_Space);
        }
        QCOMPARE(clicks.count(), 0);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);
    }
};

TAVRIN_APP_TEST(GenerateTest)
#include "generate_test.moc"
