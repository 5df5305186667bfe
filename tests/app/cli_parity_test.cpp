// The desktop program and the command-line tool run the same session, so given the same inputs
// they write the same files as long as each turns its inputs into the same run, selection and
// file names: this checks that, with the fields and options a plain run leaves alone.
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
    int variant;
    QString activities, target, maxNetworks, seed, files, resources;
    bool useAndStrength;     // RU and RS chosen, else RF and RC
    QString request, demand; // their values
    QStringList ranges;      // Tavrin2: I3 low, I3 high, ... as typed
    bool narrowCi = false;   // Tavrin1: CI range one step in from both ends
};

QMap<QString, QByteArray> contents(const QString& directory) {
    QMap<QString, QByteArray> files;
    const QDir dir(directory);
    for (const QString& name : dir.entryList(QDir::Files)) {
        QFile file(dir.filePath(name));
        files.insert(name, file.open(QIODevice::ReadOnly) ? file.readAll() : "unreadable");
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
        const QStringList ranges{"0.2", "0.7", "0", "1", "0", "0.5", "0", "1"};
        QTest::addRow("Tavrin2, ranges, RU and RS")
            << Inputs{2, "12", "0.4", "60", "11", "5", "5", true, "3", "0.4", ranges};
        QTest::addRow("Tavrin1, narrowed CI, RF and RC")
            << Inputs{1, "11", "0.4", "150", "5", "4", "4", false, "0.5", "0.25", {}, true};
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
                              "--start",        "7",
                              "--prefix",       "Inst",
                              "--dir",          cliOut.path(),
                              "--resources",    in.resources};
        arguments << (in.useAndStrength ? "--ru" : "--rf") << in.request
                  << (in.useAndStrength ? "--rs" : "--rc") << in.demand;
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
        QVERIFY2(cli.exitStatus() == QProcess::NormalExit && cli.exitCode() == 0,
                 cli.readAllStandardError().constData());
        const auto fromApp = contents(appOut.path());
        QCOMPARE(fromApp.size(), in.files.toInt());
        QCOMPARE(contents(cliOut.path()), fromApp);
#endif
    }

private:
    static void saveFromTheApp(const Inputs& in, const QString& directory, QStringList& ci) {
        Program p;
        p.type("Edit21", in.resources);
        if (in.useAndStrength) {
            QTest::keyClick(p.find<QComboBox>("ComboBox2"), Qt::Key_Down);
            QTest::keyClick(p.find<QComboBox>("ComboBox3"), Qt::Key_Down);
        }
        p.type(in.useAndStrength ? "Edit10" : "Edit9", in.request);
        p.type(in.useAndStrength ? "Edit12" : "Edit11", in.demand);
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
        p.type(field("Edit3"), "7");
        p.type(field("Edit2"), "Inst");
        p.click(p.find<QWidget>(&p.windows->save_files, "Button2"));
        QVERIFY2(p.messages.shown.isEmpty(), qPrintable(p.lastMessage()));
    }
};

TAVRIN_APP_TEST(CliParityTest)
#include "cli_parity_test.moc"
