#include "app/TCSpinButton.h"
#include "app/up_down.h"
#include "app_test_main.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

using Half = TCSpinButton::Half;

struct Spied {
    Spied() : up(&spin, &TCSpinButton::upClick), down(&spin, &TCSpinButton::downClick) {
        spin.resize(17, 24);
        spin.show();
    }
    QPoint centre(Half half) const { return spin.halfRect(half).center(); }

    TCSpinButton spin;
    QSignalSpy up;
    QSignalSpy down;
};

} // namespace

class TCSpinButtonTest : public QObject {
    Q_OBJECT
private slots:
    void clickRaisesTheEventOfItsHalf_data() {
        QTest::addColumn<bool>("upper");
        QTest::addRow("up") << true;
        QTest::addRow("down") << false;
    }
    void clickRaisesTheEventOfItsHalf() {
        QFETCH(bool, upper);
        Spied s;
        QTest::mouseClick(&s.spin, Qt::LeftButton, {}, s.centre(upper ? Half::Up : Half::Down));
        QCOMPARE(s.up.count(), upper ? 1 : 0);
        QCOMPARE(s.down.count(), upper ? 0 : 1);
    }

    void releaseAwayFromTheButtonDoesNotClick() {
        Spied s;
        QTest::mousePress(&s.spin, Qt::LeftButton, {}, s.centre(Half::Up));
        QTest::mouseMove(&s.spin, s.centre(Half::Down));
        QTest::mouseRelease(&s.spin, Qt::LeftButton, {}, s.centre(Half::Down));
        QCOMPARE(s.up.count(), 0);
        QCOMPARE(s.down.count(), 0);
    }

    void holdingTheButtonRepeatsUntilReleased() {
        Spied s;
        QTest::mousePress(&s.spin, Qt::LeftButton, {}, s.centre(Half::Down));
        QCOMPARE(s.down.count(), 0); // nothing yet: the press alone is no click
        QTRY_VERIFY_WITH_TIMEOUT(s.down.count() >= 3, 5000);
        QTest::mouseRelease(&s.spin, Qt::LeftButton, {}, s.centre(Half::Down));
        const auto released = s.down.count();
        QTest::qWait(3 * TCSpinButton::kRepeatMs);
        QCOMPARE(s.down.count(), released);
        QCOMPARE(s.up.count(), 0);
    }

    void keys_data() {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("ups");
        QTest::addColumn<int>("downs");
        QTest::addRow("arrow up") << QList<int>{Qt::Key_Up} << 1 << 0;
        QTest::addRow("arrow down") << QList<int>{Qt::Key_Down} << 0 << 1;
        QTest::addRow("space starts on the up half") << QList<int>{Qt::Key_Space} << 1 << 0;
        QTest::addRow("space follows the focused half")
            << QList<int>{Qt::Key_Down, Qt::Key_Space, Qt::Key_Space} << 0 << 3;
        QTest::addRow("other keys do nothing") << QList<int>{Qt::Key_A, Qt::Key_Return} << 0 << 0;
    }
    void keys() {
        QFETCH(QList<int>, keys);
        QFETCH(int, ups);
        QFETCH(int, downs);
        Spied s;
        for (const int key : keys) {
            QTest::keyClick(&s.spin, static_cast<Qt::Key>(key));
        }
        QCOMPARE(s.up.count(), ups);
        QCOMPARE(s.down.count(), downs);
    }

    void disabledStepperRaisesNothing() {
        Spied s;
        s.spin.setEnabled(false);
        QTest::mouseClick(&s.spin, Qt::LeftButton, {}, s.centre(Half::Up));
        QTest::keyClick(&s.spin, Qt::Key_Down);
        QCOMPARE(s.up.count() + s.down.count(), 0);
    }

    // The Save Files steppers: bound to a field, within their range.
    void upDownStepsItsField_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<bool>("upper");
        QTest::addColumn<QString>("result");
        QTest::addRow("up") << "10" << 25 << true << "11";
        QTest::addRow("down") << "10" << 25 << false << "9";
        QTest::addRow("up stops at the maximum") << "25" << 25 << true << "25";
        QTest::addRow("down stops at the minimum") << "1" << 25 << false << "1";
        QTest::addRow("maximum above 16 bits") << "40000" << 50000 << true << "40001";
        QTest::addRow("typed above the maximum steps down") << "40000" << 32700 << false << "39999";
        QTest::addRow("typed above the maximum does not step up")
            << "40000" << 32700 << true << "40000";
        QTest::addRow("no selected network: nothing moves") << "0" << 0 << true << "0";
        QTest::addRow("text that is no number starts at the position") << "x" << 25 << true << "11";
    }
    void upDownStepsItsField() {
        QFETCH(QString, text);
        QFETCH(int, maximum);
        QFETCH(bool, upper);
        QFETCH(QString, result);
        QLineEdit field(text);
        UpDown stepper(&field, 1, 32700, 10);
        stepper.setMaximum(maximum);
        stepper.resize(16, 24);
        QTest::mouseClick(&stepper, Qt::LeftButton, {},
                          stepper.halfRect(upper ? Half::Up : Half::Down).center());
        QCOMPARE(field.text(), result);
    }

    void arrowKeysInTheBoundFieldStep() {
        QLineEdit field(QStringLiteral("5"));
        UpDown stepper(&field, 1, 32700, 5);
        QTest::keyClick(&field, Qt::Key_Up);
        QTest::keyClick(&field, Qt::Key_Up);
        QTest::keyClick(&field, Qt::Key_Down);
        QCOMPARE(field.text(), QStringLiteral("6"));
    }
};

TAVRIN_APP_TEST(TCSpinButtonTest)
#include "tcspinbutton_test.moc"
