#include "app/design_host.h"
#include "app_test_main.h"
#include "app_test_support.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <stdexcept>
#include <thread>

using namespace tavrin;
using namespace tavrin::testing;

namespace {

enum class Outcome { Done, Error, Throws, WaitsForCancel };

// Reports two cells and ends as told; remembers what it was asked and on which thread.
class FakeDesignHost : public DesignHost {
public:
    explicit FakeDesignHost(Outcome outcome) : m_outcome(outcome) {}

    design::DesignRunResult runDesign(const design::DesignRunOptions& options) override {
        asked = options;
        onWorkerThread = std::this_thread::get_id() != m_guiThread;
        options.progress({1, 2, 5, 10});
        design::DesignRunResult result;
        switch (m_outcome) {
        case Outcome::Done:
            options.progress({2, 2, 10, 10});
            result.cellsDone = 2;
            result.filesWritten = 10;
            break;
        case Outcome::Error:
            result.error = "cell 2: n must be at least 2";
            break;
        case Outcome::Throws:
            throw std::runtime_error("cannot read plan.toml");
        case Outcome::WaitsForCancel:
            // Bounded, so that a Cancel that never arrives fails the test instead of hanging it.
            for (int i = 0; i < 1000 && !options.stop->load(); ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            result.interrupted = options.stop->load();
            break;
        }
        return result;
    }

    design::DesignRunOptions asked;
    bool onWorkerThread = false;

private:
    Outcome m_outcome;
    std::thread::id m_guiThread = std::this_thread::get_id();
};

} // namespace

Q_DECLARE_METATYPE(Outcome)

class DesignMenuTest : public QObject {
    Q_OBJECT
private slots:
    void itemNeedsAnEngine() {
        Program p;
        QAction* item = p.find<QAction>("Design1");
        QVERIFY(!item->isEnabled());
        FakeDesignHost host(Outcome::Done);
        p.main().setDesignHost(&host);
        QVERIFY(item->isEnabled());
    }

    void designRun_data() {
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("opensFolder");
        QTest::addRow("done") << Outcome::Done << "" << true;
        QTest::addRow("error") << Outcome::Error << "cell 2: n must be at least 2" << false;
        QTest::addRow("throws") << Outcome::Throws << "cannot read plan.toml" << false;
        QTest::addRow("cancelled") << Outcome::WaitsForCancel << "" << false;
    }
    void designRun() {
        QFETCH(Outcome, outcome);
        QFETCH(QString, message);
        QFETCH(bool, opensFolder);
        QTemporaryDir base;
        const QString designFile = base.filePath(QStringLiteral("plan.toml"));
        const QString outDir = base.filePath(QStringLiteral("chosen"));
        Program p;
        FakeDesignHost host(outcome);
        p.main().setDesignHost(&host);
        p.shell.chosenFile = designFile;
        p.shell.chosenDirectory = outDir;
        bool progressShown = false;
        QTimer::singleShot(0, [&] {
            auto* progress = p.main().findChild<QProgressDialog*>();
            progressShown = progress != nullptr && progress->isVisible();
            if (progress != nullptr && outcome == Outcome::WaitsForCancel) {
                p.click(progress->findChild<QPushButton*>());
            }
        });
        p.find<QAction>("Design1")->trigger();

        QVERIFY(progressShown);
        QVERIFY(host.onWorkerThread);
        QCOMPARE(p.shell.fileFilters.size(), 1);
        QVERIFY(p.shell.fileFilters[0].contains(QStringLiteral("*.toml")));
        // The output folder is offered beside the design file, named after it.
        QCOMPARE(p.shell.directoryStarts, QStringList{base.filePath(QStringLiteral("plan-out"))});
        QCOMPARE(QString::fromStdString(host.asked.designFile),
                 QDir::toNativeSeparators(designFile));
        QCOMPARE(QString::fromStdString(host.asked.outDir), QDir::toNativeSeparators(outDir));
        QCOMPARE(p.lastMessage(), message);
        if (!message.isEmpty()) {
            QCOMPARE(p.messages.shown[0].title, QStringLiteral("Design"));
        }
        QCOMPARE(p.shell.opened,
                 opensFolder ? QList<QUrl>{QUrl::fromLocalFile(outDir)} : QList<QUrl>{});
        QVERIFY(p.main().findChild<QProgressDialog*>() == nullptr);
        QVERIFY(p.main().isEnabled());
    }

    void cancelledChoiceRunsNothing_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("directory");
        QTest::addRow("no design file") << ""
                                        << "/tmp/out";
        QTest::addRow("no output folder") << "/tmp/plan.toml"
                                          << "";
    }
    void cancelledChoiceRunsNothing() {
        QFETCH(QString, file);
        QFETCH(QString, directory);
        Program p;
        FakeDesignHost host(Outcome::Done);
        p.main().setDesignHost(&host);
        p.shell.chosenFile = file;
        p.shell.chosenDirectory = directory;
        p.find<QAction>("Design1")->trigger();
        QVERIFY(host.asked.designFile.empty());
        QVERIFY(p.shell.opened.isEmpty());
        QVERIFY(p.messages.shown.isEmpty());
    }
};

TAVRIN_APP_TEST(DesignMenuTest)
#include "design_test.moc"
