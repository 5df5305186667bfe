#include "app/directory_dialog.h"
#include "app/export_host.h"
#include "app/up_down.h"
#include "app_test_main.h"
#include "app_test_support.h"
#include "engine/network_store.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QToolButton>

#include <vector>

using namespace tavrin;
using namespace tavrin::testing;

namespace {

QStringList summary(const Program& p) {
    QStringList lines;
    for (const char* name : {"lbl_i1", "lbl_i2", "lbl_i3", "lbl_i4", "lbl_i5", "lbl_i6", "lbl_res",
                             "lbl_rfru", "lbl_rcrs"}) {
        lines << p.find<QLabel>(&p.windows->save_files, name)->text();
    }
    return lines;
}

QStringList written(const QString& directory) {
    return QDir(directory).entryList({QStringLiteral("*.rcp")}, QDir::Files, QDir::Name);
}

QStringList sorted(QStringList names) {
    names.sort();
    return names;
}

// The first line of an instance that holds numbers: jobs, then resources.
QByteArray sizesLine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.trimmed().isEmpty()) {
            return line.simplified();
        }
    }
    return {};
}

QStringList numbered(const QString& prefix, int first, int last) {
    QStringList names;
    for (int i = first; i <= last; ++i) {
        names << prefix + QString::number(i) + QStringLiteral(".rcp");
    }
    return names;
}

// Takes the batch's settings instead of writing, with five selected networks.
struct RecordingHost : ExportHost {
    bool refreshSelection() override { return true; }
    QString selectedCountText() const override { return QStringLiteral("5"); }
    ExportBatchResult exportFiles(const ExportFileSettings& files) override {
        received.push_back(files);
        ExportBatchResult result;
        result.nextStartNumber = files.startNumber + files.count;
        return result;
    }
    void showMainWindow() override {}
    std::vector<ExportFileSettings> received;
};

// A finished Tavrin2 run of `kept` networks with the Save Files dialog open on `directory`.
struct Saving : Program {
    Saving(int kept, const QString& directory) {
        run(2, QStringLiteral("10"), QStringLiteral("0.5"), kept);
        click("Button1");
        type(dialogField("ed_dir"), directory);
    }
    QLineEdit* dialogField(const char* name) const {
        return find<QLineEdit>(&windows->save_files, name);
    }
    void set(const char* field, const QString& text) const { type(dialogField(field), text); }
    void ok() const { click(find<QWidget>(&windows->save_files, "Button2")); }
};

} // namespace

class SaveFilesTest : public QObject {
    Q_OBJECT
private slots:
    void savePressOpensTheDialogWithASummary() {
        Program p;
        p.run(2, QStringLiteral("10"), QStringLiteral("0.5"), 20);
        p.type("Edit13", QStringLiteral("0.1"));
        p.click("Button1");
        QVERIFY(!p.main().isVisible());
        QVERIFY(p.windows->save_files.isVisible());
        QCOMPARE(p.shell.priorities,
                 (QList<ProcessPriority>{ProcessPriority::Idle, ProcessPriority::Normal}));
        QCOMPARE(summary(p),
                 (QStringList{"I1: 10", "I2: 0.5", "I3: between 0.1 and 1", "I4: between 0 and 1",
                              "I5: between 0 and 1", "I6: between 0 and 1",
                              "Number of resources: 4", "Value for the resource factor: 1",
                              "Value for the resource constrainedness: 1"}));
        const QPalette palette = p.find<QLineEdit>(&p.windows->save_files, "ed_dir")->palette();
        QCOMPARE(palette.color(QPalette::Base), palette.color(QPalette::Button));
    }

    void tavrin1SummaryWithResourceUseAndStrength() {
        Program p;
        p.run(1, QStringLiteral("9"), QStringLiteral("0.4"), 20);
        QTest::keyClick(p.find<QComboBox>("ComboBox2"), Qt::Key_Down);
        QTest::keyClick(p.find<QComboBox>("ComboBox3"), Qt::Key_Down);
        p.type("Edit10", QStringLiteral("3"));
        p.type("Edit12", QStringLiteral("0.25"));
        const QString low = p.text("Edit1");
        const QString high = p.text("Edit2");
        p.click("Button1");
        QVERIFY(p.messages.shown.isEmpty());
        QCOMPARE(summary(p), (QStringList{"I1: 9", "OS: 0.4", "CI: between " + low + " and " + high,
                                          "Number of resources: 4", "Value for the resource use: 3",
                                          "Value for the resource strength: 0.25", "", "", ""}));
    }

    void savePressRefusals_data() {
        QTest::addColumn<int>("variant");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::addRow("CI Low") << 1 << "Edit1"
                                << "2.5"
                                << "'2.5' is not a valid integer value.";
        QTest::addRow("CI High") << 1 << "Edit2"
                                 << "top"
                                 << "'top' is not a valid integer value.";
        QTest::addRow("range bound") << 2 << "Edit16"
                                     << ","
                                     << "',' is not a valid floating point value.";
        QTest::addRow("number of files") << 2 << "Edit4"
                                         << "ten"
                                         << "'ten' is not a valid integer value.";
        QTest::addRow("no resources") << 2 << "Edit21"
                                      << "0"
                                      << "The number of resources must be between 1 and 32, not 0.";
    }
    void savePressRefusals() {
        QFETCH(int, variant);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        Program p;
        p.run(variant, QStringLiteral("10"), QStringLiteral("0.5"), 20);
        p.type(field.toLatin1().constData(), text);
        p.click("Button1");
        QCOMPARE(p.lastMessage(), message);
        QVERIFY(p.main().isVisible());
        QVERIFY(!p.windows->save_files.isVisible());
    }

    void fileCountIsCappedAtTheSelection_data() {
        QTest::addColumn<int>("kept");
        QTest::addColumn<QString>("files");
        QTest::addRow("3 selected") << 3 << "3";
        QTest::addRow("25 selected") << 25 << "10";
    }
    void fileCountIsCappedAtTheSelection() {
        QFETCH(int, kept);
        QFETCH(QString, files);
        Program p;
        p.run(2, QStringLiteral("10"), QStringLiteral("0.5"), kept);
        p.click("Button1");
        QCOMPARE(p.find<QLineEdit>(&p.windows->save_files, "Edit4")->text(), files);
        QCOMPARE(p.find<UpDown>(&p.windows->save_files, "UpDown2")->maximum(), kept);
    }

    void batchesWriteConsecutiveFiles() {
        QTemporaryDir out;
        Saving s(20, out.path());
        s.ok();
        QVERIFY(s.messages.shown.isEmpty());
        QCOMPARE(written(out.path()), sorted(numbered(QStringLiteral("Pat"), 1, 10)));
        QCOMPARE(s.dialogField("Edit3")->text(), QStringLiteral("11"));
        QVERIFY(!s.windows->save_files.isVisible());
        QVERIFY(s.main().isVisible());
        // Files are CR LF text.
        QFile first(QDir(out.path()).filePath(QStringLiteral("Pat1.rcp")));
        QVERIFY(first.open(QIODevice::ReadOnly));
        const QByteArray bytes = first.readAll();
        QVERIFY(bytes.contains("\r\n"));
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));

        s.click("Button1");
        s.set("Edit4", QStringLiteral("3"));
        s.set("Edit2", QStringLiteral("Net"));
        s.ok();
        QCOMPARE(written(out.path()), sorted(numbered(QStringLiteral("Net"), 11, 13)
                                             + numbered(QStringLiteral("Pat"), 1, 10)));
        QCOMPARE(s.dialogField("Edit3")->text(), QStringLiteral("14"));
    }

    void everySelectedNetworkOnce() {
        QTemporaryDir out;
        Saving s(6, out.path());
        s.set("Edit4", QStringLiteral("6"));
        s.ok();
        QCOMPARE(written(out.path()).size(), 6);
        QSet<QByteArray> contents;
        for (const QString& name : written(out.path())) {
            QFile file(QDir(out.path()).filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            // The precedence part differs between distinct networks; durations may too.
            contents.insert(file.readAll());
        }
        QCOMPARE(contents.size(), 6);
    }

    void dialogRefusals_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::addRow("count") << "Edit4"
                               << "abc"
                               << "Tavrin"
                               << "'abc' is not a valid integer value.";
        QTest::addRow("start") << "Edit3"
                               << "abc"
                               << "Tavrin"
                               << "'abc' is not a valid integer value.";
        QTest::addRow("prefix with a separator")
            << "Edit2"
            << "../Pat"
            << "Alert!"
            << "The file prefix must not contain a path separator or a control character";
        QTest::addRow("more than selected") << "Edit4"
                                            << "12"
                                            << "Alert!"
                                            << "More files requested than existing networks";
    }
    void dialogRefusals() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(QString, message);
        QTemporaryDir out;
        Saving s(5, out.path());
        s.set(field.toLatin1().constData(), text);
        s.ok();
        QCOMPARE(s.messages.shown.size(), 1);
        QCOMPARE(s.messages.shown[0].title, title);
        QCOMPARE(s.lastMessage(), message);
        QVERIFY(written(out.path()).isEmpty());
        QVERIFY(s.windows->save_files.isVisible());
        if (field == QStringLiteral("Edit4") && title == QStringLiteral("Alert!")) {
            QCOMPARE(s.dialogField("Edit4")->text(), QStringLiteral("5"));
            s.ok();
            QCOMPARE(written(out.path()).size(), 5);
        }
    }

    void missingDirectory_data() {
        QTest::addColumn<bool>("create");
        QTest::addRow("No") << false;
        QTest::addRow("Yes") << true;
    }
    void missingDirectory() {
        QFETCH(bool, create);
        QTemporaryDir base;
        const QString target = base.filePath(QStringLiteral("a/b/c"));
        Saving s(12, target);
        s.messages.answers = {create};
        s.ok();
        QCOMPARE(s.messages.shown.size(), 1);
        QVERIFY(s.messages.shown[0].question);
        QCOMPARE(s.messages.shown[0].title, QStringLiteral("Warning!"));
        QCOMPARE(
            s.lastMessage(),
            QStringLiteral("The directory specified does not exist! Do you want to create it?"));
        QCOMPARE(QDir(target).exists(), create);
        QCOMPARE(written(target).size(), create ? 10 : 0);
        QCOMPARE(s.windows->save_files.isVisible(), !create);
    }

    void directoryThatCannotBeCreated() {
        QTemporaryDir base;
        QFile blocker(base.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        Saving s(12, base.filePath(QStringLiteral("file/sub")));
        s.messages.answers = {true};
        s.ok();
        QCOMPARE(s.lastMessage(), QStringLiteral("The directory could not be created!"));
        QVERIFY(s.windows->save_files.isVisible());
        QCOMPARE(s.dialogField("Edit3")->text(), QStringLiteral("1"));
    }

    void failedWriteIsReported() {
        QTemporaryDir out;
        QVERIFY(QDir(out.path()).mkdir(QStringLiteral("Pat2.rcp")));
        Saving s(12, out.path());
        s.ok();
        QCOMPARE(s.messages.shown.size(), 1);
        QCOMPARE(s.messages.shown[0].title, QStringLiteral("Warning!"));
        QVERIFY2(s.lastMessage().contains(QStringLiteral("Pat2.rcp")), qPrintable(s.lastMessage()));
        QVERIFY(s.windows->save_files.isVisible());
        QCOMPARE(written(out.path()), QStringList{QStringLiteral("Pat1.rcp")});
    }

    void countZeroAndBelow_data() {
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("nextStart");
        QTest::addRow("zero") << "0"
                              << "5";
        QTest::addRow("negative") << "-2"
                                  << "3";
    }
    void countZeroAndBelow() {
        QFETCH(QString, count);
        QFETCH(QString, nextStart);
        QTemporaryDir out;
        Saving s(12, out.path());
        s.set("Edit4", count);
        s.set("Edit3", QStringLiteral("5"));
        s.ok();
        QVERIFY(s.messages.shown.isEmpty());
        QVERIFY(written(out.path()).isEmpty());
        QCOMPARE(s.dialogField("Edit3")->text(), nextStart);
    }

    void cancelWritesNothing() {
        QTemporaryDir out;
        Saving s(12, out.path());
        s.click(s.find<QWidget>(&s.windows->save_files, "btn_cancel"));
        QVERIFY(!s.windows->save_files.isVisible());
        QVERIFY(s.main().isVisible());
        QVERIFY(written(out.path()).isEmpty());
    }

    void formatChoiceReachesTheBatch_data() {
        using formats::InstanceFormat;
        QTest::addColumn<QString>("choice");
        QTest::addColumn<std::vector<InstanceFormat>>("expected");
        QTest::addRow("default") << "" << std::vector<InstanceFormat>{InstanceFormat::Rcp};
        QTest::addRow("json") << ".json" << std::vector<InstanceFormat>{InstanceFormat::Json};
        QTest::addRow("all") << "all"
                             << std::vector<InstanceFormat>{InstanceFormat::Rcp, InstanceFormat::Sm,
                                                            InstanceFormat::Dzn,
                                                            InstanceFormat::Json};
    }
    void formatChoiceReachesTheBatch() {
        QFETCH(QString, choice);
        QFETCH(std::vector<formats::InstanceFormat>, expected);
        QTemporaryDir out;
        Program p;
        RecordingHost host;
        p.windows->save_files.setHost(&host);
        p.find<QLineEdit>(&p.windows->save_files, "ed_dir")->setText(out.path());
        p.find<QLineEdit>(&p.windows->save_files, "Edit4")->setText(QStringLiteral("3"));
        auto* format = p.find<QComboBox>(&p.windows->save_files, "cb_format");
        QCOMPARE(format->currentText(), QStringLiteral(".rcp"));
        if (!choice.isEmpty()) {
            format->setCurrentIndex(format->findText(choice));
        }
        p.windows->save_files.show();
        p.click(p.find<QWidget>(&p.windows->save_files, "Button2"));
        QCOMPARE(host.received.size(), 1U);
        QCOMPARE(host.received[0].formats, expected);
    }

    void directoryChoice_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addRow("chosen") << "/tmp/somewhere/else";
        QTest::addRow("cancelled") << "";
    }
    void directoryChoice() {
        QFETCH(QString, chosen);
        QTemporaryDir out;
        Saving s(5, out.path());
        s.shell.chosenDirectory = chosen;
        s.click(s.find<QWidget>(&s.windows->save_files, "btn_dir"));
        QCOMPARE(s.shell.directoryStarts, QStringList{QDir::rootPath()});
        QCOMPARE(s.dialogField("ed_dir")->text(),
                 chosen.isEmpty() ? out.path() : QDir::toNativeSeparators(chosen));
    }

    void directoryDialogCreatesATypedFolder_data() {
        QTest::addColumn<bool>("create");
        QTest::addRow("Yes") << true;
        QTest::addRow("No") << false;
    }
    void directoryDialogCreatesATypedFolder() {
        QFETCH(bool, create);
        QTemporaryDir base;
        const QString wanted = base.filePath(QStringLiteral("new/inner"));
        RecordingMessages messages;
        messages.answers = {create};
        // A start that does not exist opens its existing parent with the rest typed in.
        DirectoryDialog dialog(messages, nullptr, wanted);
        QCOMPARE(dialog.directory().absolutePath(), QDir(base.path()).absolutePath());
        QVERIFY(dialog.findChild<QToolButton*>(QStringLiteral("newFolderButton"))->isEnabled());
        dialog.show();
        dialog.accept();
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text, QString::fromLatin1(kCreateDirectoryQuestion));
        QCOMPARE(QFileInfo(wanted).isDir(), create);
        QCOMPARE(dialog.result() == QDialog::Accepted, create);
        if (create) {
            QCOMPARE(QDir(dialog.selectedFiles().value(0)), QDir(wanted));
        }
    }

    void resourcePageIsReadAtEverySave() {
        QTemporaryDir out;
        Saving s(12, out.path());
        s.set("Edit4", QStringLiteral("1"));
        s.ok();
        s.type("Edit21", QStringLiteral("2"));
        s.click("Button1");
        QCOMPARE(summary(s)[6], QStringLiteral("Number of resources: 2"));
        s.set("Edit4", QStringLiteral("1"));
        s.ok();
        const QDir dir(out.path());
        QCOMPARE(sizesLine(dir.filePath(QStringLiteral("Pat1.rcp"))), QByteArray("12 4"));
        QCOMPARE(sizesLine(dir.filePath(QStringLiteral("Pat2.rcp"))), QByteArray("12 2"));
    }
};

TAVRIN_APP_TEST(SaveFilesTest)
#include "savefiles_test.moc"
