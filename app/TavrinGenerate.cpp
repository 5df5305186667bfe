// The command button: a run in its Generate role, the opening of the Save Files dialog in its
// Save Files role.
#include "app/Savefiles.h"
#include "app/Seedval.h"
#include "app/Tavrin.h"
#include "app/desktop_shell.h"
#include "app/field_steps.h"
#include "app/message_box.h"
#include "app/run_input_block.h"
#include "engine/generate_checks.h"
#include "engine/text_conversion.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <exception>

using namespace tavrin;

namespace {

// The run repaints the window at most this often, so painting costs it little time.
constexpr qint64 kRepaintIntervalMs = 33;
constexpr const char* kGenerateCaption = "Generate";
constexpr const char* kStopCaption = "Stop";

} // namespace

void TRG::showProblem(const std::string& title, const std::string& text) {
    m_messages.show(this, QString::fromStdString(title), QString::fromStdString(text));
}

GenerateInputs TRG::gatherInputs() const {
    GenerateInputs in;
    RunInputTexts& t = in.texts;
    t.variant = tavrin1Chosen() ? GeneratorVariant::Tavrin1 : GeneratorVariant::Tavrin2;
    t.activities = fieldText(ui.Edit7);
    t.target = fieldText(ui.Edit8);
    for (std::size_t k = 0; k < ui.ranges.size(); ++k) {
        t.rangeBounds[2 * k] = fieldText(ui.ranges[k].low);
        t.rangeBounds[2 * k + 1] = fieldText(ui.ranges[k].high);
    }
    t.timeLimited = ui.CheckBox1->isChecked();
    t.maxNetworks = fieldText(ui.Edit6);
    t.resources = fieldText(ui.Edit21);
    t.requestIndex = ui.ComboBox2->currentIndex();
    t.demandIndex = ui.ComboBox3->currentIndex();
    t.resourceFactor = fieldText(ui.Edit9);
    t.resourceUse = fieldText(ui.Edit10);
    t.resourceConstrainedness = fieldText(ui.Edit11);
    t.resourceStrength = fieldText(ui.Edit12);
    in.timeLimit = fieldText(ui.Edit5);
    in.seed = m_seedv != nullptr ? m_seedv->seedText().toStdString() : std::string("0");
    return in;
}

void TRG::Button1Click() {
    // A failure inside the command is shown and leaves the window usable.
    try {
        if (!variantChosen()) {
            pressWithoutVariant();
        } else if (m_runCounter < 1) {
            generate();
        } else {
            save();
        }
    } catch (const std::exception& error) {
        showProblem(kIntegerErrorTitle, error.what());
    }
}

void TRG::pressWithoutVariant() {
    // Without a variant nothing runs; only the number of activities is checked.
    const std::string text = fieldText(ui.Edit7);
    const auto activities = parseReal(text, decimalSeparator());
    if (!activities) {
        showProblem(kIntegerErrorTitle, invalidRealMessage(text, decimalSeparator()));
    } else if (*activities < 1.0) {
        showProblem(kMessageTitle, kTooFewActivitiesMessage);
    }
}

void TRG::generate() {
    const GenerateCheckResult checked = checkGenerateInputs(gatherInputs(), decimalSeparator());
    if (!checked.run) {
        showProblem(checked.problem.title, checked.problem.message);
        return;
    }
    m_shell.setPriority(ProcessPriority::Idle);
    ++m_runCounter;

    RunHooks hooks;
    hooks.progress = [this](int maximum, int position) { runProgress(maximum, position); };
    hooks.stop = &m_stopRequested;
    m_repaintClock.start();
    m_lastRepaint = -kRepaintIntervalMs;
    ui.Button1->setText(QString::fromLatin1(kStopCaption));
    try {
        const RunInputBlock block(ui.Button1, [this] { m_stopRequested = true; });
        m_session.run(checked.run->settings, checked.run->timeLimitSeconds, checked.run->seed,
                      hooks);
    } catch (const std::exception& error) {
        // No second run in this process, and nothing to save: the button has done its work.
        ui.Button1->setText(QString::fromLatin1(kGenerateCaption));
        ui.Button1->setEnabled(false);
        showProblem(kIntegerErrorTitle, error.what());
        return;
    }
    // A stopped run ends as one that reached its limit: its networks are shown and can be saved.
    resultsSetUp(m_session.result().elapsedSeconds);
}

void TRG::runProgress(int maximum, int position) {
    if (ui.ProgressBar1->maximum() != maximum) {
        ui.ProgressBar1->setMaximum(maximum);
    }
    const qint64 now = m_repaintClock.elapsed();
    if (now - m_lastRepaint < kRepaintIntervalMs) {
        return;
    }
    m_lastRepaint = now;
    ui.ProgressBar1->setValue(position);
    // Input is let in so that the block can drop it now and take Esc or Stop.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TRG::save() {
    m_shell.setPriority(ProcessPriority::Normal);
    if (m_saveFiles == nullptr || !m_session.hasRun()) {
        return;
    }
    // Every text is checked before anything changes, so a refused press leaves all as it was.
    const GenerateCheckResult checked = checkGenerateInputs(gatherInputs(), decimalSeparator());
    if (!checked.run) {
        showProblem(checked.problem.title, checked.problem.message);
        return;
    }
    const FieldReader read = reader();
    if (tavrin1Chosen() && (!read.integer(ui.Edit1) || !read.integer(ui.Edit2))) {
        return;
    }
    if (!read.integer(m_saveFiles->ui.Edit4)) {
        return;
    }
    const RunSettings& settings = checked.run->settings;
    if (const auto problem = checkResourceSettings(settings)) {
        showProblem(kMessageTitle, *problem);
        return;
    }
    // The count offered below is the one of the ranges as they read now.
    if (!drawResultPage(DrawTrigger::Command)) {
        return;
    }
    m_session.setExportSettings(settings);
    m_saveFiles->limitFileCount(m_session.selectedCount(), selectedCountText());
    hide();
    m_saveFiles->setSummary(summaryLines(settings));
    m_saveFiles->open();
}

QStringList TRG::summaryLines(const RunSettings& settings) const {
    const auto text = [](const QLineEdit* field) { return field->text(); };
    const QString request = ui.ComboBox2->currentIndex() == 0
                                ? QStringLiteral("Value for the resource factor: ") + text(ui.Edit9)
                                : QStringLiteral("Value for the resource use: ") + text(ui.Edit10);
    const QString demand =
        ui.ComboBox3->currentIndex() == 0
            ? QStringLiteral("Value for the resource constrainedness: ") + text(ui.Edit11)
            : QStringLiteral("Value for the resource strength: ") + text(ui.Edit12);
    const QString resources = QStringLiteral("Number of resources: ") + text(ui.Edit21);
    const QString activities = QStringLiteral("I1: ") + QString::number(settings.activityCount);
    if (tavrin1Chosen()) {
        return {activities,
                QStringLiteral("OS: ") + text(ui.Edit8),
                QStringLiteral("CI: between ") + text(ui.Edit1) + QStringLiteral(" and ")
                    + text(ui.Edit2),
                resources,
                request,
                demand};
    }
    QStringList lines{activities, QStringLiteral("I2: ") + text(ui.Edit8)};
    for (int k = 0; k < 4; ++k) {
        const RangeBox& range = ui.ranges[static_cast<std::size_t>(k)];
        lines << QStringLiteral("I%1: between ").arg(k + 3) + text(range.low)
                     + QStringLiteral(" and ") + text(range.high);
    }
    lines << resources << request << demand;
    return lines;
}

bool TRG::refreshSelection() {
    return drawResultPage(DrawTrigger::Command);
}

QString TRG::selectedCountText() const {
    const int count = m_session.selectedCount();
    return tavrin1Chosen() ? QString::number(count) : formatFieldReal(static_cast<double>(count));
}

ExportBatchResult TRG::exportFiles(const ExportFileSettings& files) {
    return m_session.exportBatch(files);
}

void TRG::showMainWindow() {
    show();
}
