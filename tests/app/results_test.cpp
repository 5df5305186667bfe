#include "app/histogram_geometry.h"
#include "app_test_main.h"
#include "app_test_support.h"
#include "engine/network_store.h"

#include <QLabel>

#include <algorithm>
#include <numeric>

using namespace tavrin;
using namespace tavrin::testing;

Q_DECLARE_METATYPE(tavrin::PixelRun)

namespace {

std::vector<PixelRun> runsAt(const std::vector<PixelRun>& runs, PenColour pen, int column) {
    std::vector<PixelRun> found;
    std::copy_if(runs.begin(), runs.end(), std::back_inserter(found), [&](const PixelRun& r) {
        return r.pen == pen && r.left <= column && column < r.left + r.width;
    });
    return found;
}

CiHistogram histogram(std::int32_t low, std::vector<std::int32_t> bins) {
    CiHistogram h;
    h.low = low;
    h.high = low + static_cast<std::int32_t>(bins.size()) - 1;
    h.tallest = *std::max_element(bins.begin(), bins.end());
    h.bins = std::move(bins);
    return h;
}

int selectedByI3(const NetworkStore& store, int low, int high) {
    int count = 0;
    for (int slot = 0; slot < store.count(); ++slot) {
        const int i3 = store.indicators(slot).i3;
        count += low <= i3 && i3 <= high ? 1 : 0;
    }
    return count;
}

} // namespace

class ResultDisplayTest : public QObject {
    Q_OBJECT
private slots:
    void canvasLineLeavesTheEndPointOut_data() {
        QTest::addColumn<QList<int>>("line");
        QTest::addColumn<QList<int>>("pixels"); // left, top, width, height; empty: nothing
        QTest::addRow("down") << QList<int>{4, 5, 4, 10} << QList<int>{4, 5, 1, 5};
        QTest::addRow("up") << QList<int>{4, 10, 4, 5} << QList<int>{4, 6, 1, 5};
        QTest::addRow("leftwards axis")
            << QList<int>{210, 127, 10, 127} << QList<int>{11, 127, 200, 1};
        QTest::addRow("length zero") << QList<int>{7, 127, 7, 127} << QList<int>{};
    }
    void canvasLineLeavesTheEndPointOut() {
        QFETCH(QList<int>, line);
        QFETCH(QList<int>, pixels);
        const auto run = canvasLine(PenColour::Black, line[0], line[1], line[2], line[3]);
        QCOMPARE(run.has_value(), !pixels.isEmpty());
        if (run) {
            QCOMPARE(*run,
                     (PixelRun{PenColour::Black, pixels[0], pixels[1], pixels[2], pixels[3]}));
        }
    }

    void indicatorBars() {
        PercentCounts all{};
        PercentCounts selected{};
        all[0] = 200;     // the tallest bar: 120 pixels
        all[40] = 1;      // 0.6 pixel: not visible
        selected[40] = 1; // but selected: one red pixel
        all[100] = 100;   // 60 pixels, not selected
        const auto runs = indicatorPicture(all, selected, 200);
        for (const int column : {10, 11}) {
            QCOMPARE(runsAt(runs, PenColour::Silver, column),
                     (std::vector<PixelRun>{{PenColour::Silver, column, 7, 1, 120}}));
        }
        for (const int column : {90, 91}) {
            QVERIFY(runsAt(runs, PenColour::Silver, column).empty());
            QCOMPARE(runsAt(runs, PenColour::Red, column),
                     (std::vector<PixelRun>{{PenColour::Red, column, 126, 1, 1}}));
        }
        QCOMPARE(runsAt(runs, PenColour::Silver, 210),
                 (std::vector<PixelRun>{{PenColour::Silver, 210, 67, 1, 60}}));
        QVERIFY(runsAt(runs, PenColour::Red, 210).empty());
        // Axes come last, so they cover the bars' feet.
        QCOMPARE(runs.back().pen, PenColour::Black);
    }

    void indicatorAxesAloneWithoutNetworks() {
        const auto runs = indicatorPicture({}, {}, 0);
        QCOMPARE(runs.size(), std::size_t{1 + 2 * 11});
        QVERIFY(std::all_of(runs.begin(), runs.end(),
                            [](const PixelRun& r) { return r.pen == PenColour::Black; }));
        // Two-pixel ticks every ten percentage points, five pixels long.
        QCOMPARE(runsAt(runs, PenColour::Black, 31).size(), std::size_t{2});
        QCOMPARE(runsAt(runs, PenColour::Black, 32).size(), std::size_t{1});
    }

    void countsAllAndSelectedNetworks() {
        const std::vector<IndicatorRecord> records{
            {10, 20, 30, 40}, {10, 0, 0, 0}, {50, 20, 0, 100}};
        const std::vector<int> selected{0, 2};
        const IndicatorHistograms h = countIndicators(records, selected);
        QCOMPARE(h.all[0][10], 2);
        QCOMPARE(h.selected[0][10], 1);
        QCOMPARE(h.all[3][100], 1);
        QCOMPARE(h.maximum, (std::array<std::int32_t, 4>{2, 2, 2, 1}));
        QCOMPARE(std::accumulate(h.selected[1].begin(), h.selected[1].end(), 0), 2);
    }

    void ciBarWidthFollowsTheSpan_data() {
        QTest::addColumn<int>("span");
        QTest::addColumn<int>("reach");
        for (const auto& [span, reach] : std::initializer_list<std::pair<int, int>>{{0, 20},
                                                                                    {10, 20},
                                                                                    {11, 13},
                                                                                    {20, 13},
                                                                                    {21, 8},
                                                                                    {30, 8},
                                                                                    {31, 6},
                                                                                    {40, 6},
                                                                                    {41, 4},
                                                                                    {50, 4},
                                                                                    {51, 3},
                                                                                    {60, 3},
                                                                                    {61, 0},
                                                                                    {500, 0}}) {
            QTest::addRow("span %d", span) << span << reach;
        }
    }
    void ciBarWidthFollowsTheSpan() {
        QFETCH(int, span);
        QFETCH(int, reach);
        QCOMPARE(ciBarReach(span), reach);
    }

    void ciSingleValue() {
        // All networks share one CI: one 41-pixel bar centred on 33, up to the top.
        const auto runs = ciPicture(histogram(3, {12}), 3, 3);
        for (const int column : {13, 33, 53}) {
            QCOMPARE(runsAt(runs, PenColour::Red, column),
                     (std::vector<PixelRun>{{PenColour::Red, column, 10, 1, 290}}));
        }
        QVERIFY(runsAt(runs, PenColour::Red, 12).empty());
        QVERIFY(runsAt(runs, PenColour::Red, 54).empty());
        QCOMPARE(runs.front(), (PixelRun{PenColour::Black, 13, 300, 608, 1}));
        QCOMPARE(runs[1], (PixelRun{PenColour::Black, 33, 300, 1, 5}));
    }

    void ciPositionsAndSelection() {
        // CI 2 to 9: span 7, so x(v) = 33 + 81 (v - 2); the highest value sits at 600.
        const CiHistogram h = histogram(2, {2, 0, 0, 1, 0, 0, 0, 2});
        for (std::int32_t v = 2; v <= 9; ++v) {
            QCOMPARE(static_cast<int>(ciPosition(h, v)), 33 + 81 * (v - 2));
        }
        const auto runs = ciPicture(h, 5, 9);
        QCOMPARE(runsAt(runs, PenColour::Silver, 33).front().height, 290);
        // Half the tallest bin: y = 299 - 145 = 154, drawn from 155 down to 299.
        QCOMPARE(runsAt(runs, PenColour::Red, 276),
                 (std::vector<PixelRun>{{PenColour::Red, 276, 155, 1, 145}}));
        QVERIFY(runsAt(runs, PenColour::Red, 600 + 20).size() == 1);
        QVERIFY(runsAt(runs, PenColour::Red, 600 + 21).empty());
    }

    void ciHistogramOfTheStoredValues_data() {
        QTest::addColumn<QList<int>>("stored");
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::addColumn<QList<int>>("bins");
        QTest::addRow("none") << QList<int>{} << 9999 << 0 << QList<int>{};
        QTest::addRow("all the same") << QList<int>{3, 3, 3} << 3 << 3 << QList<int>{3};
        QTest::addRow("spread") << QList<int>{5, 2, 9, 2} << 2 << 9
                                << QList<int>{2, 0, 0, 1, 0, 0, 0, 1};
    }
    void ciHistogramOfTheStoredValues() {
        QFETCH(QList<int>, stored);
        QFETCH(int, low);
        QFETCH(int, high);
        QFETCH(QList<int>, bins);
        const std::vector<std::int32_t> values(stored.begin(), stored.end());
        const CiHistogram h = formCiHistogram(values);
        QCOMPARE(h.low, low);
        QCOMPARE(h.high, high);
        QCOMPARE(QList<int>(h.bins.begin(), h.bins.end()), bins);
        QCOMPARE(h.tallest, bins.isEmpty() ? 0 : *std::max_element(bins.begin(), bins.end()));
    }

    void tavrin1PageAfterARun() {
        Program p;
        p.run(1, QStringLiteral("10"), QStringLiteral("0.5"), 200);
        const CiHistogram& ci = p.main().session().ciHistogram();
        const int kept = p.main().store()->count();
        QVERIFY2(ci.span() >= 2, "the run should spread over a few CI values");
        QCOMPARE(std::accumulate(ci.bins.begin(), ci.bins.end(), 0), kept);
        QCOMPARE(p.text("Edit1"), QString::number(ci.low));
        QCOMPARE(p.text("Edit2"), QString::number(ci.high));
        QCOMPARE(p.text("Label4"), QString::number(kept));
        QCOMPARE(p.main().session().pool().length(), kept);
        const auto labels = p.find<QWidget>("Panel11")->findChildren<QLabel*>();
        QCOMPARE(labels.size(), ci.span() + 1);
        QCOMPARE(labels.front()->text(), QString::number(ci.low));
        QCOMPARE(labels.back()->text(), QString::number(ci.high));

        p.step("CSpinButton1", Up);
        QCOMPARE(p.text("Edit1"), QString::number(ci.low + 1));
        QCOMPARE(p.text("Label4"), QString::number(kept - ci.bins[0]));
        p.step("CSpinButton2", Down);
        QCOMPARE(p.text("Label4"), QString::number(kept - ci.bins.front() - ci.bins.back()));
        QCOMPARE(p.main().session().pool().poolCount(), kept - ci.bins.front() - ci.bins.back());
        // The labels are made once, not at every drawing.
        QCOMPARE(p.find<QWidget>("Panel11")->findChildren<QLabel*>().size(), ci.span() + 1);
    }

    void ciSteppers_data() {
        // Offsets from the run's lowest CI (Low, High typed; then the stepper acts).
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::addColumn<QString>("spin");
        QTest::addColumn<bool>("upper");
        QTest::addColumn<int>("lowAfter");
        QTest::addColumn<int>("highAfter");
        QTest::addRow("Low down stops at the lowest CI")
            << 0 << 2 << "CSpinButton1" << false << 0 << 2;
        QTest::addRow("Low down below the lowest returns to it")
            << -5 << 2 << "CSpinButton1" << false << 0 << 2;
        QTest::addRow("Low down") << 1 << 2 << "CSpinButton1" << false << 0 << 2;
        QTest::addRow("Low up") << 0 << 2 << "CSpinButton1" << true << 1 << 2;
        QTest::addRow("Low up stops at High") << 2 << 2 << "CSpinButton1" << true << 2 << 2;
        QTest::addRow("High down") << 0 << 2 << "CSpinButton2" << false << 0 << 1;
        QTest::addRow("High down stops at Low") << 1 << 1 << "CSpinButton2" << false << 1 << 1;
        QTest::addRow("High up") << 0 << 1 << "CSpinButton2" << true << 0 << 2;
    }
    void ciSteppers() {
        QFETCH(int, low);
        QFETCH(int, high);
        QFETCH(QString, spin);
        QFETCH(bool, upper);
        QFETCH(int, lowAfter);
        QFETCH(int, highAfter);
        Program p;
        p.run(1, QStringLiteral("10"), QStringLiteral("0.5"), 200);
        const int base = p.main().session().ciHistogram().low;
        p.type("Edit1", QString::number(base + low));
        p.type("Edit2", QString::number(base + high));
        p.step(spin.toLatin1().constData(), upper ? Up : Down);
        QCOMPARE(p.text("Edit1"), QString::number(base + lowAfter));
        QCOMPARE(p.text("Edit2"), QString::number(base + highAfter));
    }

    void ciHighUpStopsAtTheHighestCi() {
        Program p;
        p.run(1, QStringLiteral("10"), QStringLiteral("0.5"), 200);
        const QString highest = QString::number(p.main().session().ciHistogram().high);
        p.step("CSpinButton2", Up);
        QCOMPARE(p.text("Edit2"), highest);
        p.type("Edit2", QStringLiteral("99"));
        p.step("CSpinButton2", Up);
        QCOMPARE(p.text("Edit2"), highest);
    }

    void tavrin2RangeSteppers_data() {
        QTest::addColumn<QString>("low");
        QTest::addColumn<QString>("high");
        QTest::addColumn<QString>("spin");
        QTest::addColumn<bool>("upper");
        QTest::addColumn<QString>("lowAfter");
        QTest::addColumn<QString>("highAfter");
        QTest::addRow("Low 0.005 down") << "0.005"
                                        << "1"
                                        << "Spin13" << false << "0"
                                        << "1";
        QTest::addRow("Low 0.02 down") << "0.02"
                                       << "1"
                                       << "Spin13" << false << "0.01"
                                       << "1";
        QTest::addRow("Low up") << "0.3"
                                << "1"
                                << "Spin13" << true << "0.31"
                                << "1";
        QTest::addRow("Low up at High") << "0.5"
                                        << "0.5"
                                        << "Spin13" << true << "0.5"
                                        << "0.5";
        QTest::addRow("Low up may pass High") << "0.495"
                                              << "0.5"
                                              << "Spin13" << true << "0.505"
                                              << "0.5";
        QTest::addRow("High 1 up") << "0"
                                   << "1"
                                   << "Spin14" << true << "0"
                                   << "1";
        QTest::addRow("High down") << "0"
                                   << "0.8"
                                   << "Spin14" << false << "0"
                                   << "0.79";
        QTest::addRow("High down to Low") << "0.495"
                                          << "0.5"
                                          << "Spin14" << false << "0.495"
                                          << "0.495";
    }
    void tavrin2RangeSteppers() {
        QFETCH(QString, low);
        QFETCH(QString, high);
        QFETCH(QString, spin);
        QFETCH(bool, upper);
        QFETCH(QString, lowAfter);
        QFETCH(QString, highAfter);
        Program p;
        p.run(2, QStringLiteral("10"), QStringLiteral("0.5"), 60);
        p.type("Edit13", low);
        p.type("Edit14", high);
        p.step(spin.toLatin1().constData(), upper ? Up : Down);
        QCOMPARE(p.text("Edit13"), lowAfter);
        QCOMPARE(p.text("Edit14"), highAfter);
        QVERIFY(p.messages.shown.isEmpty());
    }

    void tavrin2SelectionFollowsTheRanges() {
        Program p;
        p.run(2, QStringLiteral("12"), QStringLiteral("0.45"), 150);
        const NetworkStore& store = *p.main().store();
        QCOMPARE(p.text("Label26"), QString::number(store.count()));
        const auto& h = p.main().session().indicatorHistograms();
        QCOMPARE(std::accumulate(h.all[2].begin(), h.all[2].end(), 0), store.count());

        p.type("Edit13", QStringLiteral("0.25"));
        p.type("Edit14", QStringLiteral("0.41"));
        p.step("Spin14", Down); // 0.4: I3 from 25 to 40 percent
        const int expected = selectedByI3(store, 25, 40);
        QVERIFY(expected > 0 && expected < store.count());
        QCOMPARE(p.text("Label26"), QString::number(expected));
        QCOMPARE(p.main().session().pool().length(), expected);
        QCOMPARE(std::accumulate(h.selected[0].begin(), h.selected[0].end(), 0), expected);
    }

    void rangeTextThatDoesNotConvert() {
        Program p;
        p.run(2, QStringLiteral("10"), QStringLiteral("0.5"), 30);
        p.type("Edit15", QStringLiteral("x"));
        p.step("Spin13", Up);
        QCOMPARE(p.messages.shown.size(), 1);
        QCOMPARE(p.lastMessage(), QStringLiteral("'x' is not a valid floating point value."));
        QCOMPARE(p.text("Label26"), QStringLiteral("0"));
        QCOMPARE(p.main().session().pool().length(), 0);
        // Repaints draw again but do not repeat the message.
        for (int i = 0; i < 3; ++i) {
            p.main().repaint();
            QCoreApplication::processEvents();
        }
        QCOMPARE(p.messages.shown.size(), 1);
        p.type("Edit15", QStringLiteral("0"));
        p.step("Spin13", Down);
        QCOMPARE(p.text("Label26"), QString::number(p.main().store()->count()));
    }

    void typedRangesCountAtTheNextRepaint() {
        Program p;
        p.run(1, QStringLiteral("10"), QStringLiteral("0.5"), 200);
        const CiHistogram& ci = p.main().session().ciHistogram();
        p.type("Edit1", QString::number(ci.high));
        QCOMPARE(p.text("Label4"), QString::number(p.main().store()->count()));
        p.find<QWidget>("PaintBox5")->repaint();
        QCOMPARE(p.text("Label4"), QString::number(ci.bins.back()));
    }
};

TAVRIN_APP_TEST(ResultDisplayTest)
#include "results_test.moc"
