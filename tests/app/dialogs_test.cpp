#include "app/screen_layout.h"
#include "app_test_main.h"
#include "app_test_support.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

using namespace tavrin;
using namespace tavrin::testing;

namespace {

QStringList captions(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return texts;
}

} // namespace

class DialogsAndMenusTest : public QObject {
    Q_OBJECT
private slots:
    void windows_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("client");
        QTest::addRow("main window") << "RG"
                                     << "Tavrin" << QSize(848, 607);
        QTest::addRow("finished") << "param"
                                  << "Thank you for using Tavrin" << QSize(371, 186);
        QTest::addRow("seed") << "seedv"
                              << "Seed value" << QSize(184, 57);
        QTest::addRow("save files") << "save_files"
                                    << "Save Files" << QSize(337, 463);
        QTest::addRow("about") << "about"
                               << "About Tavrin" << QSize(273, 193);
    }
    void windows() {
        QFETCH(QString, window);
        QFETCH(QString, caption);
        QFETCH(QSize, client);
        Program p;
        QWidget* windows[] = {&p.windows->RG, &p.windows->param, &p.windows->seedv,
                              &p.windows->save_files, &p.windows->about};
        QWidget* w = *std::find_if(std::begin(windows), std::end(windows), [&](QWidget* candidate) {
            return candidate->objectName() == window;
        });
        QCOMPARE(w->windowTitle(), caption);
        QWidget* area = w == &p.windows->RG ? p.main().centralWidget() : w;
        QCOMPARE(area->size(), QSize(layout::px(client.width()), layout::px(client.height())));
        // Only the main window and the about box have a close box.
        const bool closeBox = w->windowFlags().testFlag(Qt::WindowCloseButtonHint);
        QCOMPARE(closeBox, window == QStringLiteral("RG") || window == QStringLiteral("about"));
        QCOMPARE(w->isVisible(), window == QStringLiteral("RG"));
    }

    void menuBar() {
        Program p;
        QStringList bar;
        for (const QAction* action : p.find<QMenuBar>("MainMenu1")->actions()) {
            bar << action->text();
        }
        QCOMPARE(bar, (QStringList{"Program", "Options", "Help"}));
        QCOMPARE(captions(p.find<QMenu>("Program1")), (QStringList{"New", "Design", "-", "Exit"}));
        QCOMPARE(captions(p.find<QMenu>("Options1")), QStringList{"Seed"});
        QCOMPARE(captions(p.find<QMenu>("Help1")), (QStringList{"Info", "About"}));
        QCOMPARE(captions(p.find<QMenu>("Info1")), (QStringList{"Tutorial (Pdf)", "Papers (Pdf)"}));
        QCOMPARE(captions(p.find<QMenu>("Papers1")), (QStringList{"Tavrin1", "Tavrin2"}));
    }

    void documents_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("document");
        QTest::addRow("tutorial") << "Tutorial1"
                                  << "Tutorial.pdf";
        QTest::addRow("Tavrin1 paper") << "Tavrin11"
                                       << "Tavrin1.pdf";
        QTest::addRow("Tavrin2 paper") << "Tavrin21"
                                       << "Tavrin2.pdf";
    }
    void documents() {
        QFETCH(QString, item);
        QFETCH(QString, document);
        Program p;
        p.find<QAction>(item.toLatin1().constData())->trigger();
        const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(document);
        QCOMPARE(p.shell.opened, QList<QUrl>{QUrl::fromLocalFile(beside)});
        QVERIFY(p.messages.shown.isEmpty());
    }

    void newStartsAnotherCopyAndEndsThisOne() {
        Program p;
        p.find<QAction>("Newgeneration1")->trigger();
        QCOMPARE(p.shell.started, QStringList{QCoreApplication::applicationFilePath()});
        QCOMPARE(p.shell.terminations, 1);
    }

    void exitAndClosingEnd_data() {
        QTest::addColumn<bool>("viaMenu");
        QTest::addRow("Exit") << true;
        QTest::addRow("close box") << false;
    }
    void exitAndClosingEnd() {
        QFETCH(bool, viaMenu);
        Program p;
        if (viaMenu) {
            p.find<QAction>("Exit1")->trigger();
        } else {
            p.main().close();
        }
        QCOMPARE(p.shell.terminations, 1);
        QVERIFY(p.shell.started.isEmpty());
    }

    void dialogsWithoutCloseBoxRefuseToClose() {
        Program p;
        for (QWidget* dialog :
             {static_cast<QWidget*>(&p.windows->param), static_cast<QWidget*>(&p.windows->seedv),
              static_cast<QWidget*>(&p.windows->save_files)}) {
            dialog->show();
            dialog->close();
            QVERIFY2(dialog->isVisible(), qPrintable(dialog->objectName()));
        }
    }

    void seedDialogNeedsAnInteger_data() {
        QTest::addColumn<QString>("seed");
        QTest::addColumn<QString>("message");
        QTest::addRow("12x") << "12x"
                             << "'12x' is not a valid integer value.";
        QTest::addRow("empty") << ""
                               << "'' is not a valid integer value.";
        QTest::addRow("beyond 32 bits") << "2147483648"
                                        << "'2147483648' is not a valid integer value.";
        QTest::addRow("negative") << "-5"
                                  << "";
    }
    void seedDialogNeedsAnInteger() {
        QFETCH(QString, seed);
        QFETCH(QString, message);
        Program p;
        p.find<QAction>("Seed1")->trigger();
        QVERIFY(p.windows->seedv.isVisible());
        QVERIFY(!p.main().isEnabled());
        p.type(p.find<QLineEdit>(&p.windows->seedv, "Edit1"), seed);
        p.click(p.find<QWidget>(&p.windows->seedv, "Button1"));
        QCOMPARE(p.lastMessage(), message);
        QCOMPARE(p.windows->seedv.isVisible(), !message.isEmpty());
        QCOMPARE(p.main().isEnabled(), message.isEmpty());
        if (!message.isEmpty()) {
            QCOMPARE(p.messages.shown.last().title, QStringLiteral("Tavrin"));
        }
    }

    void enterPressesTheDefaultButton() {
        Program p;
        p.find<QAction>("Seed1")->trigger();
        auto* seed = p.find<QLineEdit>(&p.windows->seedv, "Edit1");
        p.type(seed, QStringLiteral("x"));
        QTest::keyClick(seed, Qt::Key_Return);
        QCOMPARE(p.lastMessage(), QStringLiteral("'x' is not a valid integer value."));
        p.type(seed, QStringLiteral("7"));
        QTest::keyClick(seed, Qt::Key_Enter);
        QVERIFY(!p.windows->seedv.isVisible());
        QVERIFY(p.main().isEnabled());

        p.chooseVariant(2);
        p.type("Edit6", QStringLiteral("3"));
        p.click("Button1");
        QVERIFY(p.windows->param.isVisible());
        QTest::keyClick(&p.windows->param, Qt::Key_Return);
        QVERIFY(!p.windows->param.isVisible());
        QVERIFY(p.main().isVisible());
    }

    void seedItemIsLockedAfterTheRun() {
        Program p;
        p.run(2, QStringLiteral("6"), QStringLiteral("0.5"), 3, QStringLiteral("1"));
        QCOMPARE(p.windows->seedv.seedText(), QStringLiteral("1"));
        QVERIFY(!p.find<QAction>("Seed1")->isEnabled());
    }

    void aboutBox() {
        Program p;
        p.find<QAction>("About1")->trigger();
        QVERIFY(p.windows->about.isVisible());
        QVERIFY(p.main().isEnabled());
        QCOMPARE(p.find<QLabel>(&p.windows->about, "Label1")->text(), QStringLiteral("Tavrin"));
        p.click(p.find<QLabel>(&p.windows->about, "Label3"));
        const QString manual =
            QDir(QCoreApplication::applicationDirPath()).filePath("Tutorial.pdf");
        QCOMPARE(p.shell.opened, QList<QUrl>{QUrl::fromLocalFile(manual)});
        p.click(p.find<QWidget>(&p.windows->about, "Button1"));
        QVERIFY(!p.windows->about.isVisible());
    }
};

TAVRIN_APP_TEST(DialogsAndMenusTest)
#include "dialogs_test.moc"
