#include "app/Tavrin.h"

#include "app/Aboutbox.h"
#include "app/Seedval.h"
#include "app/desktop_shell.h"
#include "app/field_steps.h"
#include "app/message_box.h"
#include "app/screen_layout.h"
#include "app/window_frame.h"
#include "engine/generate_checks.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QUrl>

using namespace tavrin;

namespace {

constexpr const char* kChooseVariantMessage = "Please choose between Tavrin1 and Tavrin2 first.";

QAction* addItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QMenu* addMenu(QWidget* owner, const char* name, const QString& caption) {
    auto* menu = new QMenu(caption, owner);
    menu->setFont(layout::sansFont(13));
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

} // namespace

TRG::TRG(MessageSink& messages, DesktopShell& shell, QWidget* parent)
    : QMainWindow(parent), m_messages(messages), m_shell(shell) {
    setObjectName(QStringLiteral("RG"));
    setWindowTitle(QStringLiteral("Tavrin"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setFont(layout::sansFont(13, true));
    buildMenu();
    buildFrame();
    buildWelcomePage();
    buildNetworksPage();
    buildParametersPage();
    buildResourcePage();
    buildTavrin1Page();
    buildTavrin2Page();
    connectSteppers();
    arrangeTabOrder();
    FormCreate();
    centreOnScreen(this);
}

TRG::~TRG() = default;

void TRG::attachDialogs(Tparam* param, Tseedv* seedv, Tsave_files* saveFiles, Tabout* about) {
    m_param = param;
    m_seedv = seedv;
    m_saveFiles = saveFiles;
    m_about = about;
}

void TRG::buildMenu() {
    ui.MainMenu1 = new QMenuBar(this);
    ui.MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    ui.MainMenu1->setFont(layout::sansFont(13));
    setMenuBar(ui.MainMenu1);

    ui.Program1 = addMenu(this, "Program1", QStringLiteral("Program"));
    ui.Newgeneration1 = addItem(ui.Program1, "Newgeneration1", QStringLiteral("New"));
    ui.Design1 = addItem(ui.Program1, "Design1", QStringLiteral("Design"));
    ui.Design1->setEnabled(false);
    ui.N1 = ui.Program1->addSeparator();
    ui.N1->setObjectName(QStringLiteral("N1"));
    ui.Exit1 = addItem(ui.Program1, "Exit1", QStringLiteral("Exit"));

    ui.Options1 = addMenu(this, "Options1", QStringLiteral("Options"));
    ui.Seed1 = addItem(ui.Options1, "Seed1", QStringLiteral("Seed"));

    ui.Help1 = addMenu(this, "Help1", QStringLiteral("Help"));
    ui.Info1 = addMenu(this, "Info1", QStringLiteral("Info"));
    ui.Tutorial1 = addItem(ui.Info1, "Tutorial1", QStringLiteral("Tutorial (Pdf)"));
    ui.Papers1 = addMenu(this, "Papers1", QStringLiteral("Papers (Pdf)"));
    ui.Tavrin11 = addItem(ui.Papers1, "Tavrin11", QStringLiteral("Tavrin1"));
    ui.Tavrin21 = addItem(ui.Papers1, "Tavrin21", QStringLiteral("Tavrin2"));
    ui.Info1->addMenu(ui.Papers1);
    ui.Help1->addMenu(ui.Info1);
    ui.About1 = addItem(ui.Help1, "About1", QStringLiteral("About"));

    ui.MainMenu1->addMenu(ui.Program1);
    ui.MainMenu1->addMenu(ui.Options1);
    ui.MainMenu1->addMenu(ui.Help1);

    connect(ui.Newgeneration1, &QAction::triggered, this, &TRG::Newgeneration1Click);
    connect(ui.Design1, &QAction::triggered, this, &TRG::Design1Click);
    connect(ui.Exit1, &QAction::triggered, this, [this] { m_shell.terminate(); });
    connect(ui.Seed1, &QAction::triggered, this, &TRG::Seed1Click);
    // The documents beside the program.
    for (const auto& [item, document] :
         {std::pair{ui.Tutorial1, "Tutorial.pdf"}, std::pair{ui.Tavrin11, "Tavrin1.pdf"},
          std::pair{ui.Tavrin21, "Tavrin2.pdf"}}) {
        const QString name = QString::fromLatin1(document);
        connect(item, &QAction::triggered, this,
                [this, name] { m_shell.openUrl(documentUrl(name)); });
    }
    connect(ui.About1, &QAction::triggered, this, &TRG::About1Click);
}

void TRG::buildFrame() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(layout::px(848), layout::px(607));
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    ui.TabControl1 = new QTabWidget(client);
    ui.TabControl1->setObjectName(QStringLiteral("TabControl1"));
    ui.TabControl1->setFont(layout::sansFont(13));
    for (const char* caption : {"Welcome", "Max # Networks", "Input Parameters",
                                "Resource Related Measures", "Morphological Measures"}) {
        // The pages are panels laid over the tab control; its own pages stay empty.
        auto* page = new QWidget;
        page->setFocusPolicy(Qt::NoFocus);
        ui.TabControl1->addTab(page, QString::fromLatin1(caption));
    }
    ui.TabControl1->tabBar()->setAttribute(Qt::WA_Hover);
    layout::place(ui.TabControl1, 10, 8, 823, 525);
    connect(ui.TabControl1, &QTabWidget::currentChanged, this, &TRG::TabControl1Change);

    ui.Button1 = new QPushButton(QStringLiteral("Generate"), client);
    ui.Button1->setObjectName(QStringLiteral("Button1"));
    ui.Button1->setFont(layout::sansFont(13));
    layout::place(ui.Button1, 689, 542, 120, 40);
    connect(ui.Button1, &QPushButton::clicked, this, &TRG::Button1Click);

    ui.ProgressBar1 = new QProgressBar(client);
    ui.ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ui.ProgressBar1->setRange(0, 100);
    ui.ProgressBar1->setValue(0);
    ui.ProgressBar1->setTextVisible(false);
    ui.ProgressBar1->setToolTip(QStringLiteral("Proces status"));
    layout::place(ui.ProgressBar1, 30, 551, 631, 21);
}

void TRG::FormCreate() {
    ui.ComboBox2->setCurrentIndex(0);
    ui.ComboBox3->setCurrentIndex(0);
    ui.Edit21->setText(QString::fromStdString(kDefaultRunInputs.resources));
}

bool TRG::tavrin1Chosen() const {
    return ui.RadioButton1->isChecked();
}

bool TRG::variantChosen() const {
    return ui.RadioButton1->isChecked() || ui.RadioButton2->isChecked();
}

FieldReader TRG::reader() {
    return {m_messages, this};
}

void TRG::TabControl1Change() {
    if (!variantChosen()) {
        {
            const QSignalBlocker blocker(ui.TabControl1);
            ui.TabControl1->setCurrentIndex(0);
        }
        m_messages.show(this, QString::fromLatin1(kMessageTitle),
                        QString::fromLatin1(kChooseVariantMessage));
        return;
    }
    ui.RadioButton1->setEnabled(false);
    ui.RadioButton2->setEnabled(false);
    ui.Label5->setEnabled(false);
    if (tavrin1Chosen()) {
        ui.Label9->setText(QStringLiteral("  OS value:"));
        layout::placeCaption(ui.Label9, 236, 158, ui.Edit8);
    }
    showPage(ui.TabControl1->currentIndex());
}

void TRG::showPage(int index) {
    ui.Panel1->setVisible(index == 0);
    ui.Panel3->setVisible(index == 1);
    ui.Panel4->setVisible(index == 2);
    ui.Panel5->setVisible(index == 3);
    QFrame* results = tavrin1Chosen() ? ui.Panel2 : ui.Panel6;
    QFrame* other = tavrin1Chosen() ? ui.Panel6 : ui.Panel2;
    results->setVisible(index == 4);
    other->setVisible(false);
}

void TRG::Newgeneration1Click() {
    m_shell.startProgram(QCoreApplication::applicationFilePath());
    m_shell.terminate();
}

void TRG::Seed1Click() {
    if (m_seedv == nullptr) {
        return;
    }
    m_seedv->show();
    m_seedv->setEnabled(true);
    setEnabled(false);
}

void TRG::About1Click() {
    if (m_about != nullptr) {
        m_about->show();
        m_about->raise();
    }
}

void TRG::closeEvent(QCloseEvent* event) {
    event->accept();
    m_shell.terminate();
}
