// The desktop program and the command-line tool, given the same inputs, write the same files.
#include "app_test_main.h"
#include "app_test_support.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace tavrin;
using namespace tavrin::testing;

namespace {

struct Inputs {
    int variant = 2;
    QString activities, target, maxNetworks, seed;
    QString resources = QStringLiteral("4");
    QString rf, ru, rc, rs; // empty: not chosen; RF and RC are the defaults
    QStringList ranges;     // Tavrin2: I3 low, I3 high, ... as typed
    bool narrowCi = false;  // Tavrin1: CI range one step in from both ends
    QString files, start = QStringLiteral("1"), prefix = QStringLiteral("Pat");
};

Inputs runOf(int variant, const char* activities, const char* target, const char* maxNetworks,
             const char* seed, const char* files) {
    Inputs in;
    in.variant = variant;
    in.activities = QString::fromLatin1(activities);
    in.target = QString::fromLatin1(target);
    in.maxNetworks = QString::fromLatin1(maxNetworks);
    in.seed = QString::fromLatin1(seed);
    in.files = QString::fromLatin1(files);
    return in;
}

QMap<QString, QByteArray> contents(const QString& directory) {
    QMap<QString, QByteArray> files;
    const QDir dir(directory);
    for (const QString& name : dir.entryList(QDir::Files)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly)) {
            files.insert(name, file.readAll());
        }
    }
    return files;
}

} // namespace

Q_DECLARE_METATYPE(Inputs)

class CliParityTest : public QObject {
    Q_OBJECT
private slots:
    void sameFilesAsTheCommandLineTool_data() {
        QTest::addColumn<Inputs>("in");
        QTest::addRow("Tavrin2, default resources") << runOf(2, "10", "0.5", "40", "3", "10");

        Inputs ranged = runOf(2, "12", "0.4", "60", "11", "5");
        ranged.resources = "5";
        ranged.ru = "3";
        ranged.rs = "0.4";
        ranged.ranges = QStringList{"0.2", "0.7", "0", "1", "0", "0.5", "0", "1"};
        ranged.start = "7";
        ranged.prefix = "Inst";
        QTest::addRow("Tavrin2, ranges, RU and RS") << ranged;

        Inputs orderStrength = runOf(1, "10", "0.5", "100", "0", "8");
        orderStrength.rf = "0.5";
        orderStrength.rc = "0.25";
        QTest::addRow("Tavrin1, every CI") << orderStrength;

        Inputs narrowed = runOf(1, "11", "0.4", "150", "5", "4");
        narrowed.narrowCi = true;
        QTest::addRow("Tavrin1, narrowed CI") << narrowed;
    }
    void sameFilesAsTheCommandLineTool() {
#ifndef TAVRIN_CLI_PATH
        QSKIP("the command-line tool is not built");
#else
        QFETCH(Inputs, in);
        QTemporaryDir appOut;
        QTemporaryDir cliOut;
        QStringList ci;
        saveFromTheApp(in, appOut.path(), ci);
        if (QTest::currentTestFailed()) {
            return;
        }

        QStringList arguments{"--variant",      in.variant == 1 ? "tavrin1" : "tavrin2",
                              "--activities",   in.activities,
                              "--target",       in.target,
                              "--max-networks", in.maxNetworks,
                              "--seed",         in.seed,
                              "--files",        in.files,
                              "--start",        in.start,
                              "--dir",          cliOut.path(),
                              "--prefix",       in.prefix,
                              "--resources",    in.resources};
        for (const auto& [option, value] : {std::pair{"--rf", in.rf}, std::pair{"--ru", in.ru},
                                            std::pair{"--rc", in.rc}, std::pair{"--rs", in.rs}}) {
            if (!value.isEmpty()) {
                arguments << QString::fromLatin1(option) << value;
            }
        }
        for (int k = 0; k < in.ranges.size() / 2; ++k) {
            arguments << QStringLiteral("--i%1").arg(k + 3)
                      << in.ranges[2 * k] + QLatin1Char(':') + in.ranges[2 * k + 1];
        }
        if (!ci.isEmpty()) {
            arguments << QStringLiteral("--ci") << ci.join(QLatin1Char(':'));
        }
        QProcess cli;
        cli.start(QStringLiteral(TAVRIN_CLI_PATH), arguments);
        QVERIFY(cli.waitForFinished(120000));
        const QByteArray errors = cli.readAllStandardError();
        if (cli.exitCode() != 0 && errors.contains("unknown option")) {
            QSKIP("the command-line tool has no export options yet");
        }
        QVERIFY2(cli.exitStatus() == QProcess::NormalExit && cli.exitCode() == 0,
                 errors.constData());

        const auto fromApp = contents(appOut.path());
        const auto fromCli = contents(cliOut.path());
        QCOMPARE(fromApp.size(), in.files.toInt());
        QCOMPARE(fromCli.keys(), fromApp.keys());
        for (const QString& name : fromApp.keys()) {
            QVERIFY2(fromCli.value(name) == fromApp.value(name), qPrintable(name));
        }
#endif
    }

private:
    static void saveFromTheApp(const Inputs& in, const QString& directory, QStringList& ci) {
        Program p;
        p.type("Edit21", in.resources);
        if (!in.ru.isEmpty()) {
            QTest::keyClick(p.find<QComboBox>("ComboBox2"), Qt::Key_Down);
            p.type("Edit10", in.ru);
        } else if (!in.rf.isEmpty()) {
            p.type("Edit9", in.rf);
        }
        if (!in.rs.isEmpty()) {
            QTest::keyClick(p.find<QComboBox>("ComboBox3"), Qt::Key_Down);
            p.type("Edit12", in.rs);
        } else if (!in.rc.isEmpty()) {
            p.type("Edit11", in.rc);
        }
        p.run(in.variant, in.activities, in.target, in.maxNetworks.toInt(), in.seed);
        const char* rangeFields[] = {"Edit13", "Edit14", "Edit15", "Edit16",
                                     "Edit17", "Edit18", "Edit19", "Edit20"};
        for (qsizetype k = 0; k < in.ranges.size(); ++k) {
            p.type(rangeFields[k], in.ranges[k]);
        }
        if (in.narrowCi) {
            p.step("CSpinButton1", Up);
            p.step("CSpinButton2", Down);
            ci = QStringList{p.text("Edit1"), p.text("Edit2")};
        }
        p.click("Button1");
        const auto field = [&p](const char* name) {
            return p.find<QLineEdit>(&p.windows->save_files, name);
        };
        p.type(field("ed_dir"), directory);
        p.type(field("Edit4"), in.files);
        p.type(field("Edit3"), in.start);
        p.type(field("Edit2"), in.prefix);
        p.click(p.find<QWidget>(&p.windows->save_files, "Button2"));
        QVERIFY2(p.messages.shown.isEmpty(), qPrintable(p.lastMessage()));
    }
};

TAVRIN_APP_TEST(CliParityTest)
#include "cli_parity_test.moc"
