#include "app_test_main.h"
#include "app_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>

using namespace tavrin::testing;

namespace {

bool enabled(const Program& p, const char* name) {
    return p.find<QWidget>(name)->isEnabled();
}

// The next component Tab moves to, as the focus chain gives it.
QWidget* nextTabStop(QWidget* from) {
    for (QWidget* w = from->nextInFocusChain(); w != from; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(w->window()) && w->isEnabled()) {
            return w;
        }
    }
    return from;
}

} // namespace

class MainWindowPagesTest : public QObject {
    Q_OBJECT
private slots:
    void startState_data() {
        QTest::addColumn<QString>("component");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isEnabled");
        const auto row = [](const char* name, const char* text, bool on) {
            QTest::addRow("%s", name)
                << QString::fromLatin1(name) << QString::fromLatin1(text) << on;
        };
        row("Button1", "Generate", true);
        row("Label5", "Make your choice:", true);
        row("RadioButton1", "Tavrin1", true);
        row("RadioButton2", "Tavrin2", true);
        row("CheckBox1", "Timelimit", true);
        row("Label6", " Timelimit in seconds:", false);
        row("Edit5", "600", false);
        row("Label7", "  Maximum number of generated networks:", true);
        row("Edit6", "1000", true);
        row("Label8", "Number of activities:", true);
        row("Edit7", "10", true);
        row("Label9", "     I2 value:", true);
        row("Edit8", "1", true);
        row("Label10", "Number of resources:", true);
        row("Edit21", "4", true);
        row("Label11", " Resource request measures:", true);
        row("Label13", "Value for the resource factor:", true);
        row("Edit9", "1", true);
        row("Label14", " Value for the resource use:", false);
        row("Edit10", "4", false);
        row("Label12", " Resource demand measures:", true);
        row("Label15", "  Value for the resource constrainedness:", true);
        row("Edit11", "1", true);
        row("Label16", " Value for the resource strength:", false);
        row("Edit12", "1", false);
        row("Edit13", "0", false);
        row("Edit14", "1", false);
        row("Edit20", "1", false);
        row("Edit1", "", false);
    }
    void startState() {
        QFETCH(QString, component);
        QFETCH(QString, text);
        QFETCH(bool, isEnabled);
        Program p;
        const QByteArray name = component.toLatin1();
        QCOMPARE(p.text(name.constData()), text);
        QCOMPARE(enabled(p, name.constData()), isEnabled);
    }

    void startsOnTheWelcomePageWithNoChoice() {
        Program p;
        QCOMPARE(p.find<QTabWidget>("TabControl1")->currentIndex(), 0);
        QVERIFY(p.find<QWidget>("Panel1")->isVisible());
        QVERIFY(!p.find<QRadioButton>("RadioButton1")->isChecked());
        QVERIFY(!p.find<QRadioButton>("RadioButton2")->isChecked());
        QCOMPARE(p.find<QComboBox>("ComboBox2")->currentText(),
                 QStringLiteral("Resource factor (RF)"));
        QCOMPARE(p.find<QComboBox>("ComboBox3")->currentText(),
                 QStringLiteral("Resource constrainedness (RC)"));
        for (const char* spin : {"Spin5", "Spin10", "Spin12", "Spin13", "CSpinButton1"}) {
            QVERIFY2(!enabled(p, spin), spin);
        }
    }

    void otherTabsWaitForAVariant_data() {
        QTest::addColumn<int>("tab");
        for (int tab = 1; tab <= 4; ++tab) {
            QTest::addRow("tab %d", tab) << tab;
        }
    }
    void otherTabsWaitForAVariant() {
        QFETCH(int, tab);
        Program p;
        p.selectTab(tab);
        QCOMPARE(p.messages.shown.size(), 1);
        QCOMPARE(p.messages.shown[0].title, QStringLiteral("Message"));
        QCOMPARE(p.lastMessage(),
                 QStringLiteral("Please choose between Tavrin1 and Tavrin2 first."));
        QCOMPARE(p.find<QTabWidget>("TabControl1")->currentIndex(), 0);
        QVERIFY(p.find<QWidget>("Panel1")->isVisible());
        for (const char* panel : {"Panel3", "Panel4", "Panel5", "Panel2", "Panel6"}) {
            QVERIFY2(!p.find<QWidget>(panel)->isVisible(), panel);
        }
        QVERIFY(enabled(p, "RadioButton1"));
    }

    void leavingWelcomeLocksTheChoice_data() {
        QTest::addColumn<int>("variant");
        QTest::addColumn<QString>("targetCaption");
        QTest::addRow("Tavrin1") << 1 << "  OS value:";
        QTest::addRow("Tavrin2") << 2 << "     I2 value:";
    }
    void leavingWelcomeLocksTheChoice() {
        QFETCH(int, variant);
        QFETCH(QString, targetCaption);
        Program p;
        p.chooseVariant(variant);
        p.selectTab(2);
        QVERIFY(p.messages.shown.isEmpty());
        QVERIFY(p.find<QWidget>("Panel4")->isVisible());
        QVERIFY(!p.find<QWidget>("Panel1")->isVisible());
        QCOMPARE(p.text("Label9"), targetCaption);
        p.selectTab(0);
        QVERIFY(p.find<QWidget>("Panel1")->isVisible());
        for (const char* name : {"RadioButton1", "RadioButton2", "Label5"}) {
            QVERIFY2(!enabled(p, name), name);
        }
        QVERIFY(p.find<QRadioButton>(variant == 1 ? "RadioButton1" : "RadioButton2")->isChecked());
        p.selectTab(4);
        QCOMPARE(p.find<QWidget>("Panel2")->isVisible(), variant == 1);
        QCOMPARE(p.find<QWidget>("Panel6")->isVisible(), variant == 2);
    }

    void steppers_data() {
        QTest::addColumn<QString>("spin");
        QTest::addColumn<bool>("upper");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        const auto row = [](const char* name, const char* spin, bool up, const char* field,
                            const char* before, const char* after) {
            QTest::addRow("%s", name)
                << QString::fromLatin1(spin) << up << QString::fromLatin1(field)
                << QString::fromLatin1(before) << QString::fromLatin1(after);
        };
        row("activities up", "Spin7", true, "Edit7", "10", "11");
        row("activities stop at 1000", "Spin7", true, "Edit7", "1000", "1000");
        row("typed 5000 does not step up", "Spin7", true, "Edit7", "5000", "5000");
        row("activities stop at 2", "Spin7", false, "Edit7", "2", "2");
        row("typed 1 does not step down", "Spin7", false, "Edit7", "1", "1");
        row("activities down", "Spin7", false, "Edit7", "3", "2");
        row("target 0.01 down is 0", "Spin8", false, "Edit8", "0.01", "0");
        row("target 0.005 down is 0", "Spin8", false, "Edit8", "0.005", "0");
        row("target 0.35 down stays on the grid", "Spin8", false, "Edit8", "0.35", "0.34");
        row("target 0.99 up is 1", "Spin8", true, "Edit8", "0.99", "1");
        row("target 1 up does nothing", "Spin8", true, "Edit8", "1", "1");
        row("target 0.995 up passes 1", "Spin8", true, "Edit8", "0.995", "1.005");
        row("target 0 up", "Spin8", true, "Edit8", "0", "0.01");
        row("RF steps like the target", "Spin9", false, "Edit9", "0.02", "0.01");
        row("RC steps like the target", "Spin11", true, "Edit11", "0.5", "0.51");
        row("maximum count 1000 down does nothing", "Spin6", false, "Edit6", "1000", "1000");
        row("maximum count 999000 up", "Spin6", true, "Edit6", "999000", "1000000");
        row("maximum count 1000000 up does nothing", "Spin6", true, "Edit6", "1000000", "1000000");
        row("maximum count typed 999500 up passes the cap", "Spin6", true, "Edit6", "999500",
            "1000500");
        row("resources stop at 30", "Spin21", true, "Edit21", "30", "30");
        row("resources up", "Spin21", true, "Edit21", "4", "5");
        row("resources stop at 1", "Spin21", false, "Edit21", "1", "1");
    }
    void steppers() {
        QFETCH(QString, spin);
        QFETCH(bool, upper);
        QFETCH(QString, field);
        QFETCH(QString, before);
        QFETCH(QString, after);
        Program p;
        p.type(field.toLatin1().constData(), before);
        p.step(spin.toLatin1().constData(), upper ? Up : Down);
        QCOMPARE(p.text(field.toLatin1().constData()), after);
        QVERIFY(p.messages.shown.isEmpty());
    }

    void timeLimitStepper_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("upper");
        QTest::addColumn<QString>("after");
        QTest::addRow("600 up") << "600" << true << "1200";
        QTest::addRow("1200 down") << "1200" << false << "600";
        QTest::addRow("600 down does nothing") << "600" << false << "600";
        QTest::addRow("typed 700 down") << "700" << false << "100";
        QTest::addRow("no step past the 32-bit range") << "2147483647" << true << "2147483647";
    }
    void timeLimitStepper() {
        QFETCH(QString, before);
        QFETCH(bool, upper);
        QFETCH(QString, after);
        Program p;
        p.click(p.find<QCheckBox>("CheckBox1"));
        p.type("Edit5", before);
        p.step("Spin5", upper ? Up : Down);
        QCOMPARE(p.text("Edit5"), after);
    }

    void resourcesPullResourceUseDown_data() {
        QTest::addColumn<QString>("resources");
        QTest::addColumn<QString>("use");
        QTest::addColumn<QString>("resourcesAfter");
        QTest::addColumn<QString>("useAfter");
        QTest::addRow("RU 4 follows 4 down to 3") << "4"
                                                  << "4"
                                                  << "3"
                                                  << "3";
        QTest::addRow("RU 2 stays") << "4"
                                    << "2"
                                    << "3"
                                    << "2";
        QTest::addRow("at 1 a typed RU above still follows") << "1"
                                                             << "3"
                                                             << "1"
                                                             << "1";
    }
    void resourcesPullResourceUseDown() {
        QFETCH(QString, resources);
        QFETCH(QString, use);
        QFETCH(QString, resourcesAfter);
        QFETCH(QString, useAfter);
        Program p;
        QTest::keyClick(p.find<QComboBox>("ComboBox2"), Qt::Key_Down);
        p.type("Edit21", resources);
        p.type("Edit10", use);
        p.step("Spin21", Down);
        QCOMPARE(p.text("Edit21"), resourcesAfter);
        QCOMPARE(p.text("Edit10"), useAfter);
    }

    void resourceUseStopsAtTheResources() {
        Program p;
        QTest::keyClick(p.find<QComboBox>("ComboBox2"), Qt::Key_Down);
        QCOMPARE(p.text("Edit10"), QStringLiteral("4"));
        p.step("Spin10", Up);
        QCOMPARE(p.text("Edit10"), QStringLiteral("4"));
        p.step("Spin10", Down);
        p.step("Spin10", Up);
        QCOMPARE(p.text("Edit10"), QStringLiteral("4"));
        for (int i = 0; i < 5; ++i) {
            p.step("Spin10", Down);
        }
        QCOMPARE(p.text("Edit10"), QStringLiteral("1"));
    }

    void stepperOnATextThatDoesNotConvert_data() {
        QTest::addColumn<QString>("spin");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::addRow("integer") << "Spin7"
                                 << "Edit7"
                                 << "abc"
                                 << "'abc' is not a valid integer value.";
        QTest::addRow("fraction in an integer field") << "Spin6"
                                                      << "Edit6"
                                                      << "1.5"
                                                      << "'1.5' is not a valid integer value.";
        QTest::addRow("empty") << "Spin21"
                               << "Edit21"
                               << ""
                               << "'' is not a valid integer value.";
        QTest::addRow("real") << "Spin8"
                              << "Edit8"
                              << "x1"
                              << "'x1' is not a valid floating point value.";
        QTest::addRow("real beyond a double") << "Spin8"
                                              << "Edit8"
                                              << "1e999"
                                              << "'1e999' is out of range.";
    }
    void stepperOnATextThatDoesNotConvert() {
        QFETCH(QString, spin);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        Program p;
        p.type(field.toLatin1().constData(), text);
        p.step(spin.toLatin1().constData(), Up);
        QCOMPARE(p.messages.shown.size(), 1);
        QCOMPARE(p.messages.shown[0].title, QStringLiteral("Tavrin"));
        QCOMPARE(p.lastMessage(), message);
        QCOMPARE(p.text(field.toLatin1().constData()), text);
    }

    void timeLimitSwitch() {
        Program p;
        auto* box = p.find<QCheckBox>("CheckBox1");
        p.click(box);
        for (const char* name : {"Edit5", "Label6", "Spin5"}) {
            QVERIFY2(enabled(p, name), name);
        }
        for (const char* name : {"Edit6", "Label7", "Spin6"}) {
            QVERIFY2(!enabled(p, name), name);
        }
        p.click(box);
        QVERIFY(!enabled(p, "Edit5") && !enabled(p, "Spin5") && !enabled(p, "Label6"));
        QVERIFY(enabled(p, "Edit6") && enabled(p, "Spin6") && enabled(p, "Label7"));
    }

    void measureChoices_data() {
        QTest::addColumn<QString>("combo");
        QTest::addColumn<QStringList>("onWithItem1");
        QTest::addColumn<QStringList>("offWithItem1");
        QTest::addRow("request") << "ComboBox2" << QStringList{"Label14", "Edit10", "Spin10"}
                                 << QStringList{"Label13", "Edit9", "Spin9"};
        QTest::addRow("demand") << "ComboBox3" << QStringList{"Label16", "Edit12", "Spin12"}
                                << QStringList{"Label15", "Edit11", "Spin11"};
    }
    void measureChoices() {
        QFETCH(QString, combo);
        QFETCH(QStringList, onWithItem1);
        QFETCH(QStringList, offWithItem1);
        Program p;
        p.type("Edit21", QStringLiteral("7"));
        auto* box = p.find<QComboBox>(combo.toLatin1().constData());
        for (const bool second : {true, false}) {
            QTest::keyClick(box, second ? Qt::Key_Down : Qt::Key_Up);
            for (const QString& name : onWithItem1) {
                QCOMPARE(enabled(p, name.toLatin1().constData()), second);
            }
            for (const QString& name : offWithItem1) {
                QCOMPARE(enabled(p, name.toLatin1().constData()), !second);
            }
        }
        // Choosing RU starts it at the number of resources; RS copies nothing.
        QCOMPARE(p.text("Edit10"),
                 combo == QStringLiteral("ComboBox2") ? QStringLiteral("7") : QStringLiteral("4"));
        QCOMPARE(p.text("Edit12"), QStringLiteral("1"));
    }

    void tabOrder_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QStringList>("order");
        QTest::addRow("Input Parameters") << 2 << QStringList{"Edit7", "Edit8", "Spin7", "Spin8"};
        QTest::addRow("Max # Networks") << 1 << QStringList{"CheckBox1", "Edit6", "Spin6"};
        QTest::addRow("Resource Related Measures")
            << 3 << QStringList{"ComboBox2", "ComboBox3", "Edit9", "Edit11",
                                "Edit21",    "Spin21",    "Spin9", "Spin11"};
    }
    void tabOrder() {
        QFETCH(int, tab);
        QFETCH(QStringList, order);
        Program p;
        p.chooseVariant(2);
        p.selectTab(tab);
        QWidget* at = p.find<QWidget>(order.first().toLatin1().constData());
        for (qsizetype i = 1; i < order.size(); ++i) {
            at = nextTabStop(at);
            QCOMPARE(at->objectName(), order[i]);
        }
    }

    void captionsEndBeforeTheirFields() {
        Program p;
        const std::pair<const char*, const char*> pairs[] = {
            {"Label6", "Edit5"},   {"Label7", "Edit6"},   {"Label8", "Edit7"},
            {"Label9", "Edit8"},   {"Label10", "Edit21"}, {"Label11", "ComboBox2"},
            {"Label13", "Edit9"},  {"Label14", "Edit10"}, {"Label12", "ComboBox3"},
            {"Label15", "Edit11"}, {"Label16", "Edit12"}, {"Label5", "RadioButton1"}};
        for (const auto& [caption, field] : pairs) {
            auto* label = p.find<QLabel>(caption);
            QVERIFY2(label->x() >= 0, caption);
            QVERIFY2(label->geometry().right() < p.find<QWidget>(field)->x(), caption);
            QVERIFY2(label->width() >= label->sizeHint().width(), caption);
        }
    }
};

TAVRIN_APP_TEST(MainWindowPagesTest)
#include "pages_test.moc"
