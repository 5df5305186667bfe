#include "app/Savefiles.h"

#include "app/desktop_shell.h"
#include "app/export_host.h"
#include "app/field_steps.h"
#include "app/message_box.h"
#include "app/screen_layout.h"
#include "app/up_down.h"
#include "app/widget_factory.h"
#include "app/window_frame.h"
#include "engine/text_conversion.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <exception>
#include <limits>
#include <vector>

using namespace tavrin;

namespace {

constexpr std::array<const char*, Tsave_files::kSummaryLines> kSummaryNames{
    "lbl_i1", "lbl_i2", "lbl_i3", "lbl_i4", "lbl_i5", "lbl_i6", "lbl_res", "lbl_rfru", "lbl_rcrs"};

// The choices of the format field; the default, .rcp, writes what the dialog always wrote.
struct FormatChoice {
    const char* caption;
    std::vector<formats::InstanceFormat> formats;
};

const std::array<FormatChoice, 5>& formatChoices() {
    using formats::InstanceFormat;
    static const std::array<FormatChoice, 5> choices{{
        {".rcp", {InstanceFormat::Rcp}},
        {".sm", {InstanceFormat::Sm}},
        {".dzn", {InstanceFormat::Dzn}},
        {".json", {InstanceFormat::Json}},
        {"all",
         {InstanceFormat::Rcp, InstanceFormat::Sm, InstanceFormat::Dzn, InstanceFormat::Json}},
    }};
    return choices;
}

} // namespace

Tsave_files::Tsave_files(MessageSink& messages, DesktopShell& shell, QWidget* parent)
    : QWidget(parent), m_messages(messages), m_shell(shell) {
    setObjectName(QStringLiteral("save_files"));
    setWindowTitle(QStringLiteral("Save Files"));
    fixWindowFrame(this, {337, 463}, false);
    buildSummary();
    buildFileSettings();
    buildFormatChoice();

    ui.Button2 = makeButton(this, "Button2", QStringLiteral("OK"), 160, 424, 75, 25);
    ui.btn_cancel = makeButton(this, "btn_cancel", QStringLiteral("Cancel"), 248, 424, 75, 25);
    connect(ui.Button2, &QPushButton::clicked, this, &Tsave_files::Button2Click);
    connect(ui.btn_cancel, &QPushButton::clicked, this, &Tsave_files::btn_cancelClick);
    connect(ui.btn_dir, &QPushButton::clicked, this, &Tsave_files::btn_dirClick);

    setTabChain({ui.Button2, ui.btn_cancel, ui.ed_dir, ui.Edit2, ui.Edit3, ui.Edit4, ui.UpDown1,
                 ui.UpDown2, ui.btn_dir, ui.cb_format});

    centreOnScreen(this);
}

void Tsave_files::buildSummary() {
    ui.Panel1 = makePanel(this, "Panel1", 8, 8, 321, 241, true);
    const QFont font = layout::serifFont(13, true);
    for (int i = 0; i < kSummaryLines; ++i) {
        auto* label = new QLabel(ui.Panel1);
        label->setObjectName(QString::fromLatin1(kSummaryNames[static_cast<std::size_t>(i)]));
        label->setFont(font);
        layout::place(label, 16, 16 + 24 * i, 321 - 16 - 8, 20);
        ui.summary[static_cast<std::size_t>(i)] = label;
    }
}

void Tsave_files::buildFileSettings() {
    ui.Panel2 = makePanel(this, "Panel2", 8, 256, 321, 153, true);
    ui.Panel2->setFont(layout::sansFont(13));
    QWidget* p = ui.Panel2;
    ui.ed_dir =
        makeEdit(p, "ed_dir", QString::fromStdString(defaultExportDirectory()), 120, 17, 161, 24);
    ui.ed_dir->setCursorPosition(0);
    ui.btn_dir = makeButton(p, "btn_dir", QStringLiteral("..."), 288, 16, 25, 25);
    ui.Edit2 = makeEdit(p, "Edit2", QStringLiteral("Pat"), 120, 49, 161, 24);
    ui.Edit4 = makeEdit(p, "Edit4", QStringLiteral("10"), 120, 81, 57, 24);
    ui.Edit3 = makeEdit(p, "Edit3", QStringLiteral("1"), 120, 113, 57, 24);
    ui.UpDown2 = new UpDown(ui.Edit4, 1, 23700, 10, p);
    ui.UpDown2->setObjectName(QStringLiteral("UpDown2"));
    layout::place(ui.UpDown2, 177, 81, 16, 24);
    ui.UpDown1 = new UpDown(ui.Edit3, 1, 32700, 1, p);
    ui.UpDown1->setObjectName(QStringLiteral("UpDown1"));
    layout::place(ui.UpDown1, 177, 113, 16, 24);

    ui.Label1 = makeCaption(p, "Label1", QStringLiteral("Temp directory:"), 16, 17, ui.ed_dir);
    ui.Label2 = makeCaption(p, "Label2", QStringLiteral("File name format:"), 8, 49, ui.Edit2);
    ui.Label4 = makeCaption(p, "Label4", QStringLiteral("Number of files:"), 16, 81, ui.Edit4);
    ui.Label3 = makeCaption(p, "Label3", QStringLiteral(" Start with file nr:"), 16, 113, ui.Edit3);
}

void Tsave_files::buildFormatChoice() {
    // Beside the two number fields, so that every other component keeps its place.
    ui.cb_format = new QComboBox(ui.Panel2);
    ui.cb_format->setObjectName(QStringLiteral("cb_format"));
    for (const FormatChoice& choice : formatChoices()) {
        ui.cb_format->addItem(QString::fromLatin1(choice.caption));
    }
    layout::place(ui.cb_format, 248, 81, 65, 24);
    ui.Label5 = makeCaption(ui.Panel2, "Label5", QStringLiteral("Format:"), 200, 81, ui.cb_format);
}

void Tsave_files::limitFileCount(int selected, const QString& countText) {
    ui.UpDown2->setMaximum(selected);
    const auto requested = parseInteger(fieldText(ui.Edit4));
    if (requested && *requested > selected) {
        ui.Edit4->setText(countText);
    }
}

void Tsave_files::setSummary(const QStringList& lines) {
    for (int i = 0; i < kSummaryLines && i < lines.size(); ++i) {
        ui.summary[static_cast<std::size_t>(i)]->setText(lines.at(i));
    }
}

void Tsave_files::open() {
    show();
    raise();
    activateWindow();
    QPalette palette = ui.ed_dir->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    ui.ed_dir->setPalette(palette);
}

void Tsave_files::btn_dirClick() {
    const QString chosen = m_shell.chooseDirectory(this, QDir::rootPath());
    if (!chosen.isEmpty()) {
        ui.ed_dir->setText(QDir::toNativeSeparators(chosen));
    }
}

void Tsave_files::btn_cancelClick() {
    finish();
}

void Tsave_files::finish() {
    hide();
    if (m_host != nullptr) {
        m_host->showMainWindow();
    }
}

void Tsave_files::Button2Click() {
    try {
        Button2ClickChecked();
    } catch (const std::exception& error) {
        m_messages.show(this, QString::fromLatin1(kWarningTitle), QString::fromUtf8(error.what()));
    }
}

void Tsave_files::Button2ClickChecked() {
    const FieldReader read(m_messages, this);
    const auto requested = read.integer(ui.Edit4);
    if (!requested) {
        return;
    }
    const auto start = read.integer(ui.Edit3);
    if (!start || m_host == nullptr) {
        return;
    }
    // The pool is rebuilt from the ranges as they stand, so the count checked here is the one
    // the batch draws from.
    if (!m_host->refreshSelection()) {
        return;
    }
    if (const auto problem = checkFilePrefix(fieldText(ui.Edit2))) {
        m_messages.show(this, QString::fromLatin1(kAlertTitle), QString::fromStdString(*problem));
        return;
    }
    const QString countText = m_host->selectedCountText();
    const std::int32_t available = parseInteger(countText.toStdString()).value_or(0);
    if (available < *requested) {
        m_messages.show(this, QString::fromLatin1(kAlertTitle),
                        QString::fromLatin1(kMoreFilesMessage));
        ui.Edit4->setText(countText);
        return;
    }
    const QString directory = ui.ed_dir->text();
    if (!directoryReady(directory)) {
        return;
    }
    ExportFileSettings files{fieldText(ui.ed_dir), fieldText(ui.Edit2), *requested, *start};
    files.formats = formatChoices()[static_cast<std::size_t>(ui.cb_format->currentIndex())].formats;
    const ExportBatchResult result = m_host->exportFiles(files);
    // Past the last 32-bit number the field stays at that number instead of wrapping.
    ui.UpDown1->setPosition(static_cast<int>(
        std::min<std::int64_t>(result.nextStartNumber, std::numeric_limits<std::int32_t>::max())));
    if (result.error) {
        m_messages.show(this, QString::fromLatin1(kWarningTitle),
                        QString::fromStdString(*result.error));
        return;
    }
    finish();
}

bool Tsave_files::directoryReady(const QString& directory) {
    if (QFileInfo(directory).isDir()) {
        return true;
    }
    if (!m_messages.ask(this, QString::fromLatin1(kWarningTitle),
                        QString::fromLatin1(kCreateDirectoryQuestion))) {
        return false;
    }
    if (directory.isEmpty() || !QDir().mkpath(directory)) {
        m_messages.show(this, QString::fromLatin1(kWarningTitle),
                        QString::fromLatin1(kDirectoryNotCreatedMessage));
        return false;
    }
    return true;
}

void Tsave_files::closeEvent(QCloseEvent* event) {
    event->ignore();
}
