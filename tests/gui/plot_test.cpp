// The chromatogram plot: per-column decimation keeps every column's extremes, a one-sample spike in a
// million samples is drawn, and the view can be zoomed and reset.
#include "gui/plot/chromatogram_plot.h"
#include "gui/plot/column_decimation.h"

#include "core/app/session.h"
#include "core/chromatogram/chm_file.h"
#include "core/common/settings_store.h"

#include <QImage>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <random>

using namespace talvex::gui;

class PlotTest : public QObject {
    Q_OBJECT

    // The expected extent of every column, sample by sample.
    static std::vector<ColumnExtent> BruteForce(const std::vector<float>& s, double start, double step,
                                                double t0, double t1, int columns) {
        std::vector<ColumnExtent> out(static_cast<std::size_t>(columns));
        for (std::size_t k = 0; k < s.size(); ++k) {
            const double t = start + static_cast<double>(k) * step;
            if (t < t0 || t >= t1)
                continue;
            const auto c = static_cast<std::size_t>(
                std::min(columns - 1, static_cast<int>((t - t0) / (t1 - t0) * columns)));
            ColumnExtent& e = out[c];
            e.min = e.empty ? s[k] : std::min(e.min, s[k]);
            e.max = e.empty ? s[k] : std::max(e.max, s[k]);
            e.empty = false;
        }
        return out;
    }

private slots:
    void keepsTheMinAndMaxOfEachColumn_data() {
        QTest::addColumn<double>("t0");
        QTest::addColumn<double>("t1");
        QTest::addColumn<int>("columns");
        QTest::newRow("whole run") << 2.0 << 2.0 + 0.01 * 10007 << 37;
        QTest::newRow("inside") << 13.3 << 57.9 << 200;
        QTest::newRow("past the ends") << -5.0 << 300.0 << 64;
        QTest::newRow("one column") << 2.0 << 50.0 << 1;
    }
    void keepsTheMinAndMaxOfEachColumn() {
        QFETCH(double, t0);
        QFETCH(double, t1);
        QFETCH(int, columns);
        std::mt19937 random(7);
        std::uniform_real_distribution<float> noise(-1000.0f, 1000.0f);
        std::vector<float> samples(10007);
        for (float& v : samples)
            v = noise(random);
        const auto got = DecimateColumns(samples.data(), samples.size(), 2.0, 0.01, t0, t1, columns);
        const auto want = BruteForce(samples, 2.0, 0.01, t0, t1, columns);
        QCOMPARE(got.size(), want.size());
        for (std::size_t c = 0; c < got.size(); ++c) {
            QCOMPARE(got[c].empty, want[c].empty);
            if (!want[c].empty) {
                QCOMPARE(got[c].min, want[c].min);
                QCOMPARE(got[c].max, want[c].max);
            }
        }
    }

    void noColumnsFromABadRange() {
        const float samples[] = {1, 2, 3};
        QVERIFY(DecimateColumns(samples, 3, 0, 1, 0, 2, 0).empty());
        for (const ColumnExtent& e : DecimateColumns(samples, 3, 0, 1, 2, 2, 4))
            QVERIFY(e.empty);
        for (const ColumnExtent& e : DecimateColumns(samples, 3, 0, 0, 0, 2, 4))
            QVERIFY(e.empty);
    }

    // One sample of a million stands out: its column must reach the top of the picture.
    void drawsASingleSampleSpike() {
        talvex::CChmFile chm;
        chm.signal.samples.assign(1'000'000, 0.0f);
        chm.signal.samples[654'321] = 100.0f;
        chm.signal.step = 0.0001;
        ChromatogramPlot plot;
        plot.setChromatogram(&chm);
        QImage image(800, 300, QImage::Format_RGB32);
        plot.render(image);
        // The spike's column, inside the drawing area: count signal-coloured pixels in the upper half.
        int dark = 0;
        for (int x = 0; x < image.width(); ++x)
            for (int y = 15; y < 150; ++y)
                if (qBlue(image.pixel(x, y)) > 120 && qRed(image.pixel(x, y)) < 60)
                    ++dark;
        QVERIFY(dark > 50);
    }

    // The signal stays inside the frame: the axis labels' margin keeps its background.
    void drawsNothingLeftOfTheFrame() {
        talvex::CChmFile chm;
        chm.signal.samples.assign(100'000, 20.0f);
        chm.signal.samples[0] = 0.0f;
        chm.signal.samples[99'999] = 40.0f;
        chm.signal.step = 0.001;
        ChromatogramPlot plot;
        plot.setChromatogram(&chm);
        QImage image(600, 200, QImage::Format_RGB32);
        plot.render(image);
        int coloured = 0;
        for (int x = 0; x < 20; ++x)
            for (int y = 0; y < image.height(); ++y)
                if (qBlue(image.pixel(x, y)) > 120 && qRed(image.pixel(x, y)) < 60)
                    ++coloured;
        QCOMPARE(coloured, 0);
    }

    // The example condensate sample shows method A's fraction windows after a recalculation; a gas run
    // and no selection show none.
    void showsTheFractionWindowsOfTheSelectedCondensateRun() {
        talvex::MemorySettingsStore store;
        talvex::Session session(store, TALVEX_SOURCE_DIR "/data");
        QVERIFY(session.LoadComponents().empty());
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(TALVEX_SOURCE_DIR "/examples"))
            if (entry.path().extension() == ".stg")
                files.push_back(entry.path().string());
        std::sort(files.begin(), files.end());
        QVERIFY(session.AddFiles(files));
        auto idOf = [&session](const std::string& name) {
            for (const auto& c : session.Chromatograms())
                if (std::filesystem::path(c.passport.path).filename() == name)
                    return c.fileId;
            return -1;
        };
        ChromatogramPlot plot;
        session.SelectFile(idOf("dk-sample-1.stg"));
        plot.showSelected(session);
        QVERIFY(plot.bands().size() > 5);
        QVERIFY(plot.bands().front().name.startsWith(QLatin1Char('F')));
        for (const PlotBand& band : plot.bands()) {
            QVERIFY(band.start < band.end);
            QVERIFY(band.start >= plot.viewRange().left() && band.end <= plot.viewRange().right());
        }
        session.SelectFile(idOf("gd-1-fid.stg"));
        plot.showSelected(session);
        QVERIFY(plot.bands().empty());
        QVERIFY(plot.viewRange().width() > 1.0);
        session.SelectFile(-1);
        plot.showSelected(session);
        QVERIFY(plot.bands().empty());
    }

    void zoomsAndResets() {
        talvex::CChmFile chm;
        chm.signal.samples = {0, 5, 10, 5, 0};
        chm.signal.startTime = 1.0;
        chm.signal.step = 0.5;
        ChromatogramPlot plot;
        plot.resize(400, 200);
        plot.setChromatogram(&chm);
        const QRectF full = plot.viewRange();
        QCOMPARE(full.left(), 1.0);
        QCOMPARE(full.right(), 3.0);
        QVERIFY(full.top() < 0.0 && full.bottom() > 10.0);
        plot.setViewRange({1.5, 2.0, 0.5, 3.0});
        QCOMPARE(plot.viewRange().width(), 0.5);
        QTest::mouseDClick(&plot, Qt::LeftButton, {}, QPoint(200, 100));
        QCOMPARE(plot.viewRange(), full);
        // A rubber band (right button) zooms into what it covers; a left drag pans without zooming.
        QTest::mousePress(&plot, Qt::RightButton, {}, QPoint(150, 40));
        QTest::mouseMove(&plot, QPoint(250, 120));
        QTest::mouseRelease(&plot, Qt::RightButton, {}, QPoint(250, 120));
        const QRectF band = plot.viewRange();
        QVERIFY(band.left() > full.left() && band.right() < full.right());
        QVERIFY(band.top() > full.top() && band.bottom() < full.bottom());
        QTest::mousePress(&plot, Qt::LeftButton, {}, QPoint(200, 100));
        QTest::mouseMove(&plot, QPoint(100, 100));
        QTest::mouseRelease(&plot, Qt::LeftButton, {}, QPoint(100, 100));
        QVERIFY(plot.viewRange().left() > band.left());
        QCOMPARE(plot.viewRange().width(), band.width());
        plot.setChromatogram(nullptr);
        QImage image(200, 100, QImage::Format_RGB32);
        plot.render(image); // an empty plot draws its frame only
    }
};

QTEST_MAIN(PlotTest)
#include "plot_test.moc"
