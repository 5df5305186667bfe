// The input pages of the main window and their steppers.
#include "app/TCSpinButton.h"
#include "app/Tavrin.h"
#include "app/field_steps.h"
#include "app/pictures.h"
#include "app/screen_layout.h"
#include "app/widget_factory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <algorithm>
#include <functional>
#include <limits>

using namespace tavrin;

namespace {

// Page panels sit over the tab control, in the main window's client area.
QFrame* makePage(TRG* window, const char* name, int x, int y, int w, int h) {
    QFrame* page = makePanel(window->centralWidget(), name, x, y, w, h);
    page->setFont(layout::sansFont(17));
    page->hide();
    return page;
}

QComboBox* makeCombo(QWidget* parent, const char* name, const QStringList& items, int x, int y) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setFont(layout::sansFont(13, true));
    combo->addItems(items);
    layout::place(combo, x, y, 227, 28);
    // Wide enough for its longest item in the platform's font.
    combo->resize(std::max(combo->width(), combo->sizeHint().width()), combo->height());
    return combo;
}

void enableAll(std::initializer_list<QWidget*> widgets, bool enabled) {
    for (QWidget* widget : widgets) {
        widget->setEnabled(enabled);
    }
}

} // namespace

void TRG::buildWelcomePage() {
    ui.Panel1 = makePage(this, "Panel1", 20, 59, 798, 454);
    ui.Panel1->show();
    ui.Image2 = new PictureBox(kNetworkPictureSize, paintNetworkPicture, ui.Panel1);
    ui.Image2->setObjectName(QStringLiteral("Image2"));
    layout::place(ui.Image2, 10, 89, 375, 355);
    ui.Image1 = new PictureBox(kTitlePictureSize, paintTitlePicture, ui.Panel1);
    ui.Image1->setObjectName(QStringLiteral("Image1"));
    layout::place(ui.Image1, 305, 49, 484, 159);

    const QFont windowFont = layout::sansFont(13, true);
    ui.RadioButton1 = new QRadioButton(QStringLiteral("Tavrin1"), ui.Panel1);
    ui.RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    ui.RadioButton1->setFont(windowFont);
    layout::place(ui.RadioButton1, 601, 295, 139, 21);
    ui.RadioButton2 = new QRadioButton(QStringLiteral("Tavrin2"), ui.Panel1);
    ui.RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    ui.RadioButton2->setFont(windowFont);
    layout::place(ui.RadioButton2, 601, 335, 139, 21);

    ui.Label5 = new QLabel(QStringLiteral("Make your choice:"), ui.Panel1);
    ui.Label5->setObjectName(QStringLiteral("Label5"));
    ui.Label5->setFont(layout::sansFont(17, true));
    layout::placeCaption(ui.Label5, 433, 295, ui.RadioButton1);
}

void TRG::buildNetworksPage() {
    ui.Panel3 = makePage(this, "Panel3", 20, 59, 798, 405);
    QWidget* p = ui.Panel3;
    ui.CheckBox1 = new QCheckBox(QStringLiteral("Timelimit"), p);
    ui.CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    layout::place(ui.CheckBox1, 187, 49, 119, 21);
    ui.Edit5 = makeEdit(p, "Edit5", QStringLiteral("600"), 374, 89, 80, 28);
    ui.Spin5 = makeSpin(p, "Spin5", 463, 89);
    ui.Label6 =
        makeCaption(p, "Label6", QStringLiteral(" Timelimit in seconds:"), 207, 89, ui.Edit5);
    ui.Edit6 = makeEdit(p, "Edit6", QString::fromStdString(kDefaultRunInputs.maxNetworks), 374, 158,
                        80, 28);
    ui.Spin6 = makeSpin(p, "Spin6", 463, 158);
    ui.Label7 = makeCaption(p, "Label7", QStringLiteral("  Maximum number of generated networks:"),
                            59, 158, ui.Edit6);
    enableAll({ui.Edit5, ui.Label6, ui.Spin5}, false);
    connect(ui.CheckBox1, &QCheckBox::toggled, this, &TRG::CheckBox1Click);
}

void TRG::buildParametersPage() {
    ui.Panel4 = makePage(this, "Panel4", 20, 79, 798, 395);
    QWidget* p = ui.Panel4;
    ui.Edit7 =
        makeEdit(p, "Edit7", QString::fromStdString(kDefaultRunInputs.activities), 325, 98, 50, 28);
    ui.Spin7 = makeSpin(p, "Spin7", 384, 98);
    ui.Label8 =
        makeCaption(p, "Label8", QStringLiteral("Number of activities:"), 167, 98, ui.Edit7);
    ui.Edit8 =
        makeEdit(p, "Edit8", QString::fromStdString(kDefaultRunInputs.target), 325, 158, 50, 28);
    ui.Spin8 = makeSpin(p, "Spin8", 384, 158);
    ui.Label9 = makeCaption(p, "Label9", QStringLiteral("     I2 value:"), 236, 158, ui.Edit8);
}

void TRG::buildResourcePage() {
    ui.Panel5 = makePage(this, "Panel5", 20, 59, 798, 395);
    QWidget* p = ui.Panel5;
    ui.Edit21 = makeEdit(p, "Edit21", QString(), 345, 20, 30, 28);
    ui.Spin21 = makeSpin(p, "Spin21", 384, 20);
    ui.Label10 =
        makeCaption(p, "Label10", QStringLiteral("Number of resources:"), 167, 20, ui.Edit21);
    ui.ComboBox2 =
        makeCombo(p, "ComboBox2", {"Resource factor (RF)", "Resource use (RU)"}, 345, 69);
    ui.Label11 = makeCaption(p, "Label11", QStringLiteral(" Resource request measures:"), 108, 69,
                             ui.ComboBox2);
    ui.Edit9 = makeEdit(p, "Edit9", QString::fromStdString(kDefaultRunInputs.resourceFactor), 443,
                        118, 51, 28);
    ui.Spin9 = makeSpin(p, "Spin9", 502, 118);
    ui.Label13 = makeCaption(p, "Label13", QStringLiteral("Value for the resource factor:"), 226,
                             118, ui.Edit9);
    ui.Edit10 = makeEdit(p, "Edit10", QString::fromStdString(kDefaultRunInputs.resourceUse), 443,
                         158, 51, 28);
    ui.Spin10 = makeSpin(p, "Spin10", 502, 158);
    ui.Label14 = makeCaption(p, "Label14", QStringLiteral(" Value for the resource use:"), 236, 158,
                             ui.Edit10);
    ui.ComboBox3 = makeCombo(p, "ComboBox3",
                             {"Resource constrainedness (RC)", "Resource strength (RS)"}, 345, 197);
    ui.Label12 = makeCaption(p, "Label12", QStringLiteral(" Resource demand measures:"), 108, 197,
                             ui.ComboBox3);
    ui.Edit11 =
        makeEdit(p, "Edit11", QString::fromStdString(kDefaultRunInputs.resourceConstrainedness),
                 443, 246, 51, 28);
    ui.Spin11 = makeSpin(p, "Spin11", 502, 246);
    ui.Label15 =
        makeCaption(p, "Label15", QStringLiteral("  Value for the resource constrainedness:"), 138,
                    246, ui.Edit11);
    ui.Edit12 = makeEdit(p, "Edit12", QString::fromStdString(kDefaultRunInputs.resourceStrength),
                         443, 286, 51, 28);
    ui.Spin12 = makeSpin(p, "Spin12", 502, 286);
    ui.Label16 = makeCaption(p, "Label16", QStringLiteral(" Value for the resource strength:"), 207,
                             286, ui.Edit12);
    enableAll({ui.Label14, ui.Edit10, ui.Spin10, ui.Label16, ui.Edit12, ui.Spin12}, false);
    connect(ui.ComboBox2, &QComboBox::activated, this, &TRG::ComboBox2Change);
    connect(ui.ComboBox3, &QComboBox::activated, this, &TRG::ComboBox3Change);
}

void TRG::connectSteppers() {
    connect(ui.Spin10, &TCSpinButton::upClick, this, &TRG::Spin10UpClick);
    connect(ui.Spin10, &TCSpinButton::downClick, this, &TRG::Spin10DownClick);
    connect(ui.Spin21, &TCSpinButton::upClick, this, &TRG::Spin21UpClick);
    connect(ui.Spin21, &TCSpinButton::downClick, this, &TRG::Spin21DownClick);
    // The other steppers go up (+1) and down (-1) through one function each.
    const auto steps = [this](TCSpinButton* spin, const std::function<void(int)>& step) {
        connect(spin, &TCSpinButton::upClick, this, [step] { step(+1); });
        connect(spin, &TCSpinButton::downClick, this, [step] { step(-1); });
    };
    // Up by step while below high, down by step while above low.
    struct IntegerStep {
        TCSpinButton* spin;
        QLineEdit* field;
        std::int32_t step, low, high;
    };
    for (const IntegerStep& s :
         {IntegerStep{ui.Spin5, ui.Edit5, 600, 600, std::numeric_limits<std::int32_t>::max()},
          IntegerStep{ui.Spin6, ui.Edit6, 1000, 1000, 1000000},
          IntegerStep{ui.Spin7, ui.Edit7, 1, 2, 1000}}) {
        steps(s.spin, [this, s](int direction) {
            const auto inside = [&](std::int32_t v) {
                return direction > 0 ? v < s.high : v > s.low;
            };
            stepInteger(reader(), s.field, inside, direction * s.step);
        });
    }
    for (const auto& [spin, field] :
         {std::pair{ui.Spin8, ui.Edit8}, std::pair{ui.Spin9, ui.Edit9},
          std::pair{ui.Spin11, ui.Edit11}, std::pair{ui.Spin12, ui.Edit12}}) {
        QLineEdit* edit = field;
        connect(spin, &TCSpinButton::upClick, this,
                [this, edit] { stepFractionUp(reader(), edit); });
        connect(spin, &TCSpinButton::downClick, this,
                [this, edit] { stepFractionDown(reader(), edit); });
    }
    for (int measure = 0; measure < 4; ++measure) {
        const RangeBox& range = ui.ranges[static_cast<std::size_t>(measure)];
        steps(range.lowSpin, [this, measure](int direction) { stepLow(measure, direction); });
        steps(range.highSpin, [this, measure](int direction) { stepHigh(measure, direction); });
    }
    steps(ui.CSpinButton1, [this](int direction) { stepCiLow(direction); });
    steps(ui.CSpinButton2, [this](int direction) { stepCiHigh(direction); });
}

void TRG::arrangeTabOrder() {
    setTabChain({ui.Button1, ui.TabControl1,  ui.RadioButton1, ui.RadioButton2, ui.CheckBox1,
                 ui.Edit5,   ui.Edit6,        ui.Spin5,        ui.Spin6,        ui.Edit7,
                 ui.Edit8,   ui.Spin7,        ui.Spin8,        ui.ComboBox2,    ui.ComboBox3,
                 ui.Edit9,   ui.Edit10,       ui.Edit11,       ui.Edit12,       ui.Edit21,
                 ui.Spin21,  ui.Spin9,        ui.Spin10,       ui.Spin11,       ui.Spin12,
                 ui.Edit1,   ui.CSpinButton1, ui.Edit2,        ui.CSpinButton2});
    QWidget* previous = ui.CSpinButton2;
    for (const RangeBox& range : ui.ranges) {
        setTabChain({previous, range.high, range.highSpin, range.low, range.lowSpin});
        previous = range.lowSpin;
    }
}

void TRG::CheckBox1Click() {
    const bool timeLimited = ui.CheckBox1->isChecked();
    enableAll({ui.Edit5, ui.Label6, ui.Spin5}, timeLimited);
    enableAll({ui.Edit6, ui.Label7, ui.Spin6}, !timeLimited);
}

void TRG::ComboBox2Change() {
    const bool use = ui.ComboBox2->currentIndex() == 1;
    if (use) {
        ui.Edit10->setText(ui.Edit21->text());
    }
    enableAll({ui.Label13, ui.Edit9, ui.Spin9}, !use);
    enableAll({ui.Label14, ui.Edit10, ui.Spin10}, use);
}

void TRG::ComboBox3Change() {
    const bool strength = ui.ComboBox3->currentIndex() == 1;
    enableAll({ui.Label15, ui.Edit11, ui.Spin11}, !strength);
    enableAll({ui.Label16, ui.Edit12, ui.Spin12}, strength);
}

void TRG::Spin10UpClick() {
    const FieldReader read = reader();
    const auto use = read.integer(ui.Edit10);
    if (!use) {
        return;
    }
    const auto resources = read.integer(ui.Edit21);
    if (resources && *use < *resources) {
        ui.Edit10->setText(QString::number(*use + 1));
    }
}

void TRG::Spin10DownClick() {
    stepInteger(
        reader(), ui.Edit10, [](std::int32_t v) { return v > 1; }, -1);
}

void TRG::Spin21UpClick() {
    stepInteger(
        reader(), ui.Edit21, [](std::int32_t v) { return v < 30; }, 1);
}

void TRG::Spin21DownClick() {
    const FieldReader read = reader();
    const auto before = read.integer(ui.Edit21);
    if (!before) {
        return;
    }
    if (*before > 1) {
        ui.Edit21->setText(QString::number(*before - 1));
    }
    // RU follows the number of resources down, whether or not it stepped.
    const auto resources = read.integer(ui.Edit21);
    if (!resources) {
        return;
    }
    const auto use = read.integer(ui.Edit10);
    if (use && *resources < *use) {
        ui.Edit10->setText(ui.Edit21->text());
    }
}
