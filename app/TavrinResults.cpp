// The result pages: the Tavrin2 distributions, the Tavrin1 CI histogram, their Low/High
// steppers, and the set-up that ends a run.
#include "app/Inputparam.h"
#include "app/TCSpinButton.h"
#include "app/Tavrin.h"
#include "app/field_steps.h"
#include "app/message_box.h"
#include "app/paint_box.h"
#include "app/screen_layout.h"
#include "app/widget_factory.h"
#include "engine/generate_checks.h"
#include "engine/text_conversion.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>

using namespace tavrin;

namespace {

constexpr int kResultTab = 4;

QFrame* makeWhitePanel(QWidget* parent, const char* name, int x, int y, int w, int h) {
    QFrame* panel = makePanel(parent, name, x, y, w, h, true);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::white);
    panel->setPalette(palette);
    return panel;
}

PaintBox* makePaintBox(QFrame* panel, const char* name, QSize designSize) {
    auto* box = new PaintBox(designSize, panel);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(panel->contentsRect());
    return box;
}

// A count shown after its caption; it starts later when the caption runs long.
void placeValueLabel(QLabel* value, int x, const QLabel* caption) {
    const int left = std::max(layout::px(x), caption->geometry().right() + layout::px(6));
    value->setGeometry(left, caption->y(), layout::px(200), caption->height());
}

void setFieldsEnabled(std::initializer_list<QWidget*> widgets, bool enabled) {
    for (QWidget* widget : widgets) {
        widget->setEnabled(enabled);
    }
}

} // namespace

void TRG::buildTavrin1Page() {
    ui.Panel2 = makePanel(centralWidget(), "Panel2", 20, 39, 798, 484);
    ui.Panel2->setFont(layout::sansFont(17));
    ui.Panel2->hide();
    QWidget* p = ui.Panel2;
    ui.Panel11 = makeWhitePanel(p, "Panel11", 10, 20, 779, 414);
    ui.PaintBox5 = makePaintBox(ui.Panel11, "PaintBox5", {kCiBoxWidth, kCiBoxHeight});
    ui.PaintBox5->setPicture([this] {
        PaintBox5Paint();
        return ciRuns();
    });

    ui.Edit1 = makeEdit(p, "Edit1", QString(), 59, 443, 60, 28);
    ui.CSpinButton1 = makeSpin(p, "CSpinButton1", 128, 443);
    ui.Label1 = makeCaption(p, "Label1", QStringLiteral("Low:"), 20, 443, ui.Edit1);
    ui.Edit2 = makeEdit(p, "Edit2", QString(), 246, 443, 60, 28);
    ui.CSpinButton2 = makeSpin(p, "CSpinButton2", 315, 443);
    ui.Label2 = makeCaption(p, "Label2", QStringLiteral("High:"), 197, 443, ui.Edit2);
    ui.Label3 = makeCaption(p, "Label3", QStringLiteral("# networks:"), 394, 443);
    ui.Label4 = new QLabel(p);
    ui.Label4->setObjectName(QStringLiteral("Label4"));
    ui.Label4->setFont(layout::sansFont(17, true));
    placeValueLabel(ui.Label4, 482, ui.Label3);
    setFieldsEnabled({ui.Edit1, ui.Edit2, ui.CSpinButton1, ui.CSpinButton2}, false);
}

void TRG::buildTavrin2Page() {
    ui.Panel6 = makePanel(centralWidget(), "Panel6", 20, 49, 798, 474);
    ui.Panel6->setFont(layout::sansFont(17));
    ui.Panel6->hide();
    ui.Label25 = makeCaption(ui.Panel6, "Label25", QStringLiteral("# Networks:"), 10, 20);
    ui.Label26 = new QLabel(ui.Panel6);
    ui.Label26->setObjectName(QStringLiteral("Label26"));
    ui.Label26->setFont(layout::sansFont(17, true));
    placeValueLabel(ui.Label26, 98, ui.Label25);
    buildRangeBox(0, 10, 49);
    buildRangeBox(1, 404, 49);
    buildRangeBox(2, 10, 266);
    buildRangeBox(3, 404, 266);
}

void TRG::buildRangeBox(int measure, int x, int y) {
    static constexpr std::array<const char*, 4> kBoxes{"GroupBox1", "GroupBox3", "GroupBox2",
                                                       "GroupBox4"};
    static constexpr std::array<const char*, 4> kTitles{" I3 ", " I4 ", " I5 ", " I6 "};
    const auto k = static_cast<std::size_t>(measure);
    // Low fields and steppers take the odd numbers from 13, High ones the even numbers.
    const auto name = [measure](const char* kind, int first) {
        return QStringLiteral("%1%2").arg(QLatin1String(kind)).arg(first + 2 * measure);
    };
    RangeBox& range = ui.ranges[k];
    range.box = new QGroupBox(QString::fromLatin1(kTitles[k]), ui.Panel6);
    range.box->setObjectName(QString::fromLatin1(kBoxes[k]));
    range.box->setFont(layout::sansFont(13, true));
    layout::place(range.box, x, y, 385, 208);
    QWidget* b = range.box;

    range.panel = makeWhitePanel(b, "", 10, 20, 271, 168);
    range.panel->setObjectName(QStringLiteral("Panel%1").arg(7 + measure));
    range.paint = makePaintBox(range.panel, "", {kIndicatorBoxWidth, kIndicatorBoxHeight});
    range.paint->setObjectName(QStringLiteral("PaintBox%1").arg(1 + measure));
    if (measure == 0) {
        range.paint->setPicture([this] {
            PaintBox1Paint();
            return indicatorRuns(0);
        });
    } else {
        range.paint->setPicture([this, measure] { return indicatorRuns(measure); });
    }

    const QFont fieldFont = layout::sansFont(17);
    range.high = makeEdit(b, "", QStringLiteral("1"), 305, 59, 45, 28);
    range.high->setObjectName(name("Edit", 14));
    range.highSpin = makeSpin(b, "", 354, 59);
    range.highSpin->setObjectName(name("Spin", 14));
    range.low = makeEdit(b, "", QStringLiteral("0"), 305, 138, 45, 28);
    range.low->setObjectName(name("Edit", 13));
    range.lowSpin = makeSpin(b, "", 354, 138);
    range.lowSpin->setObjectName(name("Spin", 13));
    range.highCaption = makeCaption(b, "", QStringLiteral("High:"), 286, 30);
    range.highCaption->setObjectName(name("Label", 17));
    range.lowCaption = makeCaption(b, "", QStringLiteral("Low:"), 286, 108);
    range.lowCaption->setObjectName(name("Label", 18));
    for (QWidget* widget :
         {static_cast<QWidget*>(range.high), static_cast<QWidget*>(range.low),
          static_cast<QWidget*>(range.highCaption), static_cast<QWidget*>(range.lowCaption)}) {
        widget->setFont(fieldFont);
    }
    layout::placeCaption(range.highCaption, 286, 30);
    layout::placeCaption(range.lowCaption, 286, 108);
    setFieldsEnabled({range.high, range.low, range.highSpin, range.lowSpin}, false);
}

void TRG::resultsSetUp(float elapsedSeconds) {
    const NetworkStore& store = m_session.store();
    const bool tavrin1 = tavrin1Chosen();
    if (tavrin1) {
        ui.Edit1->setText(QString::number(m_session.ciHistogram().low));
        ui.Edit2->setText(QString::number(m_session.ciHistogram().high));
    }
    if (m_param != nullptr) {
        m_param->report(store.count(), static_cast<int>(elapsedSeconds));
        hide();
        m_param->show();
    }
    if (tavrin1) {
        setFieldsEnabled({ui.Edit1, ui.Edit2, ui.CSpinButton1, ui.CSpinButton2}, true);
    } else {
        for (const RangeBox& range : ui.ranges) {
            setFieldsEnabled({range.high, range.low, range.highSpin, range.lowSpin}, true);
        }
    }
    lockRunInputs();
    {
        const QSignalBlocker blocker(ui.TabControl1);
        ui.TabControl1->setCurrentIndex(kResultTab);
    }
    m_resultsReady = true;
    showPage(kResultTab);
    drawResultPage(DrawTrigger::Command);
    ui.Button1->setText(QStringLiteral("Save Files"));
}

void TRG::lockRunInputs() {
    setFieldsEnabled({ui.Edit7, ui.Edit8, ui.Edit5, ui.Edit6, ui.Spin5, ui.Spin6, ui.Spin7,
                      ui.Spin8, ui.CheckBox1, ui.Label6, ui.Label7, ui.Label8, ui.Label9, ui.Label5,
                      ui.RadioButton1, ui.RadioButton2},
                     false);
    ui.Seed1->setEnabled(false);
    ui.ProgressBar1->hide();
}

bool TRG::drawResultPage(DrawTrigger trigger) {
    return tavrin1Chosen() ? drawTavrin1Page(trigger) : drawTavrin2Page(trigger);
}

void TRG::reportDrawProblem(const std::string& problem, DrawTrigger trigger) {
    if (trigger == DrawTrigger::Command) {
        m_reportedDrawProblem = problem;
        FieldReader(m_messages, this).report(problem);
        return;
    }
    // A message box shown from inside a paint would bring on the next paint, and with it the
    // same message again: report it after the paint, once per problem.
    if (problem == m_reportedDrawProblem) {
        return;
    }
    m_reportedDrawProblem = problem;
    QTimer::singleShot(0, this, [this, problem] { FieldReader(m_messages, this).report(problem); });
}

bool TRG::drawTavrin1Page(DrawTrigger trigger) {
    if (!m_resultsReady) {
        return false;
    }
    const std::string lowText = fieldText(ui.Edit1);
    const std::string highText = fieldText(ui.Edit2);
    const auto low = parseInteger(lowText);
    const auto high = low ? parseInteger(highText) : std::nullopt;
    if (!low || !high) {
        m_session.clearSelection();
        ui.Label4->setText(QStringLiteral("0"));
        reportDrawProblem(invalidIntegerMessage(low ? highText : lowText), trigger);
        if (trigger == DrawTrigger::Command) {
            ui.PaintBox5->update();
        }
        return false;
    }
    m_session.selectCi(*low, *high);
    if (!m_firstCiDrawingDone) {
        createCiLabels();
        m_firstCiDrawingDone = true;
    }
    ui.Label4->setText(QString::number(m_session.selectedCount()));
    m_reportedDrawProblem.clear();
    if (trigger == DrawTrigger::Command) {
        ui.PaintBox5->update();
    }
    return true;
}

void TRG::createCiLabels() {
    const double scale = static_cast<double>(ui.PaintBox5->width()) / kCiBoxWidth;
    const CiHistogram& ci = m_session.ciHistogram();
    for (std::int32_t v = ci.low; !ci.bins.empty() && v <= ci.high; ++v) {
        auto* label = new QLabel(QString::number(v), ui.Panel11);
        label->setObjectName(QStringLiteral("CiLabel%1").arg(v));
        label->setFont(layout::sansFont(13, true));
        label->adjustSize();
        const int centre = static_cast<int>(ciPosition(ci, v) * scale);
        label->move(ui.PaintBox5->x() + centre - label->width() / 2,
                    ui.PaintBox5->y() + static_cast<int>(kCiLabelTop * scale));
        label->show();
        label->raise();
        ui.ciLabels.push_back(label);
    }
}

bool TRG::drawTavrin2Page(DrawTrigger trigger) {
    if (!m_resultsReady) {
        return false;
    }
    std::array<std::int32_t, kRangeBoundCount> bounds{};
    for (std::size_t k = 0; k < ui.ranges.size(); ++k) {
        for (const auto& [field, index] :
             {std::pair{ui.ranges[k].low, 2 * k}, std::pair{ui.ranges[k].high, 2 * k + 1}}) {
            const std::string text = fieldText(field);
            const auto percent = parsePercent(text, decimalSeparator());
            if (!percent) {
                m_session.clearSelection();
                ui.Label26->setText(QStringLiteral("0"));
                reportDrawProblem(invalidRealMessage(text, decimalSeparator()), trigger);
                for (const RangeBox& range : ui.ranges) {
                    range.paint->update();
                }
                return false;
            }
            bounds[index] = *percent;
        }
    }
    const bool changed = m_session.selectIndicators(bounds);
    ui.Label26->setText(formatFieldReal(static_cast<double>(m_session.selectedCount())));
    m_reportedDrawProblem.clear();
    // PaintBox1 asks for a repaint's drawing from its own paint and paints the result itself;
    // the other boxes need painting again only when the selection moved.
    for (const RangeBox& range : ui.ranges) {
        if (trigger == DrawTrigger::Command || (changed && range.paint != ui.ranges[0].paint)) {
            range.paint->update();
        }
    }
    return true;
}

std::vector<PixelRun> TRG::indicatorRuns(int measure) const {
    if (!m_resultsReady) {
        return {};
    }
    const auto k = static_cast<std::size_t>(measure);
    const IndicatorHistograms& h = m_session.indicatorHistograms();
    return indicatorPicture(h.all[k], h.selected[k], h.maximum[k]);
}

std::vector<PixelRun> TRG::ciRuns() const {
    if (!m_resultsReady) {
        return {};
    }
    return ciPicture(m_session.ciHistogram(), m_session.ciSelectedLow(),
                     m_session.ciSelectedHigh());
}

void TRG::PaintBox1Paint() {
    if (m_resultsReady && !tavrin1Chosen()) {
        drawTavrin2Page(DrawTrigger::Repaint);
    }
}

void TRG::PaintBox5Paint() {
    if (m_resultsReady && tavrin1Chosen()) {
        drawTavrin1Page(DrawTrigger::Repaint);
    }
}

void TRG::stepLow(int measure, int direction) {
    const RangeBox& range = ui.ranges[static_cast<std::size_t>(measure)];
    const FieldReader read = reader();
    const auto low = read.real(range.low);
    if (!low) {
        return;
    }
    const long double step = kFractionStep;
    if (direction < 0) {
        if (*low > step) {
            writeReal(range.low, *low - step);
        } else {
            range.low->setText(QStringLiteral("0"));
        }
    } else {
        const auto high = read.real(range.high);
        if (!high) {
            return;
        }
        if (*low < *high) {
            writeReal(range.low, *low + step);
        }
    }
    drawTavrin2Page(DrawTrigger::Command);
}

void TRG::stepHigh(int measure, int direction) {
    const RangeBox& range = ui.ranges[static_cast<std::size_t>(measure)];
    const FieldReader read = reader();
    const auto high = read.real(range.high);
    if (!high) {
        return;
    }
    const long double step = kFractionStep;
    if (direction < 0) {
        const auto low = read.real(range.low);
        if (!low) {
            return;
        }
        writeReal(range.high, *high > *low + step ? *high - step : *low);
    } else if (*high < 1.0L) {
        writeReal(range.high, *high + step);
    }
    drawTavrin2Page(DrawTrigger::Command);
}

void TRG::stepCiLow(int direction) {
    const FieldReader read = reader();
    const auto low = read.integer(ui.Edit1);
    if (!low) {
        return;
    }
    if (direction < 0) {
        const std::int32_t lowest = m_session.ciHistogram().low;
        ui.Edit1->setText(QString::number(lowest < *low ? *low - 1 : lowest));
    } else {
        const auto high = read.integer(ui.Edit2);
        if (!high) {
            return;
        }
        ui.Edit1->setText(QString::number(*low < *high ? *low + 1 : *high));
    }
    drawTavrin1Page(DrawTrigger::Command);
}

void TRG::stepCiHigh(int direction) {
    const FieldReader read = reader();
    if (direction < 0) {
        const auto low = read.integer(ui.Edit1);
        const auto high = low ? read.integer(ui.Edit2) : std::nullopt;
        if (!high) {
            return;
        }
        ui.Edit2->setText(QString::number(*low < *high ? *high - 1 : *low));
    } else {
        const auto high = read.integer(ui.Edit2);
        if (!high) {
            return;
        }
        const std::int32_t highest = m_session.ciHistogram().high;
        ui.Edit2->setText(QString::number(*high < highest ? *high + 1 : highest));
    }
    drawTavrin1Page(DrawTrigger::Command);
}
