// The main window opens where it was last closed, fitted to the screen.
#include "core/app/session.h"
#include "core/common/settings_store.h"
#include "gui/mainwindow/talvex_dlg.h"
#include "gui/mainwindow/window_geometry.h"
#include "gui/pages/dlg_out_table.h"
#include "gui_test_support.h"

#include <QScreen>
#include <QSplitter>
#include <QTest>

using namespace talvex;
using namespace talvex::gui;

class WindowGeometryTest : public QObject {
    Q_OBJECT
private slots:
    void openingSizeFitsTheScreen_data() {
        QTest::addColumn<QSize>("remembered");
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QSize>("opening");
        QTest::addColumn<QSize>("minimum");
        const QSize layout(1140, 700);
        const QRect big(0, 0, 1920, 1040);
        QTest::newRow("nothing kept: the layout") << QSize() << big << layout << layout;
        QTest::newRow("kept larger") << QSize(1500, 900) << big << QSize(1500, 900) << layout;
        QTest::newRow("kept smaller than the layout") << QSize(600, 400) << big << layout << layout;
        QTest::newRow("kept larger than the screen")
            << QSize(3000, 2000) << big << QSize(1920, 1040) << layout;
        // A low screen: the window is as high as the screen, never narrower than the layout (every tab
        // stays in sight).
        QTest::newRow("low screen") << QSize() << QRect(0, 0, 1366, 620) << QSize(1140, 620)
                                    << QSize(1140, 620);
        QTest::newRow("narrow screen") << QSize() << QRect(0, 0, 1024, 740) << layout << layout;
        QTest::newRow("no screen known") << QSize(1200, 800) << QRect() << QSize(1200, 800) << layout;
    }
    void openingSizeFitsTheScreen() {
        QFETCH(QSize, remembered);
        QFETCH(QRect, screen);
        QFETCH(QSize, opening);
        QFETCH(QSize, minimum);
        QCOMPARE(OpeningWindowSize(QSize(1140, 700), remembered, screen), opening);
        QCOMPARE(MinimumWindowSize(QSize(1140, 700), screen), minimum);
    }

    void openingPositionKeepsTheWindowOnTheScreen_data() {
        QTest::addColumn<QPoint>("remembered");
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QPoint>("opening");
        QTest::newRow("on the screen") << QPoint(100, 50) << QSize(1000, 700) << QPoint(100, 50);
        QTest::newRow("off to the right (a screen since unplugged)")
            << QPoint(2500, 50) << QSize(1000, 700) << QPoint(920, 50);
        QTest::newRow("above and left") << QPoint(-400, -30) << QSize(1000, 700) << QPoint(0, 24);
        QTest::newRow("hanging over the bottom") << QPoint(100, 800) << QSize(1000, 700) << QPoint(100, 364);
        QTest::newRow("larger than the screen") << QPoint(300, 300) << QSize(2500, 1200) << QPoint(0, 24);
    }
    void openingPositionKeepsTheWindowOnTheScreen() {
        QFETCH(QPoint, remembered);
        QFETCH(QSize, frame);
        QFETCH(QPoint, opening);
        QCOMPARE(OpeningWindowPosition(remembered, frame, QRect(0, 24, 1920, 1040)), opening);
    }

    void theProfileKeepsItsOwnSectionAndSurvivesDamage() {
        MemorySettingsStore profile;
        QVERIFY(!LoadWindowGeometry(profile).position);
        QVERIFY(!LoadWindowGeometry(profile).size.isValid());
        WindowGeometry g;
        g.position = QPoint(-5, 40);
        g.size = QSize(1300, 800);
        g.maximized = true;
        g.splitters = {{200, 300}, {}, {600, 400}};
        SaveWindowGeometry(profile, g);
        const WindowGeometry back = LoadWindowGeometry(profile);
        QCOMPARE(back.position, g.position);
        QCOMPARE(back.size, g.size);
        QVERIFY(back.maximized);
        QCOMPARE(back.splitters, g.splitters);
        QCOMPARE(profile.ReadInt(kWindowSection, "width", 0), 1300);

        // A damaged list of sizes leaves that splitter as laid out, and the others as kept.
        profile.WriteString(kWindowSection, "splitters", "200,x|-4,5|7,8");
        QCOMPARE(LoadWindowGeometry(profile).splitters, (std::vector<std::vector<int>>{{}, {}, {7, 8}}));
        profile.WriteInt(kWindowSection, "height", -3);
        QVERIFY(!LoadWindowGeometry(profile).size.isValid());
    }

    void aNewWindowOpensAsTheLastOneWasClosed() {
        guitest::IsolatedProfile isolated;
        QTemporaryDir folder;
        MemorySettingsStore profile;
        Session session(profile, guitest::CopyShippedData(folder.path().toStdString()));
        QVERIFY(session.LoadComponents().empty());
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QList<int> peakSizes;
        QSize closedSize;
        {
            CTalvexDlg window(session, MainWindowHooks{});
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            closedSize = window.size() + QSize(40, 30);
            window.resize(closedSize);
            window.move(screen.topLeft() + QPoint(7, 9));
            QSplitter* splitter = window.PeakPage()->Splitter();
            const QList<int> sizes = splitter->sizes();
            splitter->setSizes({sizes[0] + sizes[1] - 60, 60});
            peakSizes = splitter->sizes();
            window.close();
        }
        QCOMPARE(profile.ReadInt(kWindowSection, "width", 0), closedSize.width());
        CTalvexDlg again(session, MainWindowHooks{});
        // The test screen is narrower than the layout: the kept height returns, the width stays the layout's.
        QCOMPARE(again.size().height(), closedSize.height());
        QCOMPARE(again.size().width(), again.minimumSize().width());
        QCOMPARE(again.pos(), OpeningWindowPosition(screen.topLeft() + QPoint(7, 9),
                                                    again.frameGeometry().size(), screen));
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QCOMPARE(again.PeakPage()->Splitter()->sizes(), peakSizes);
        QVERIFY(again.minimumSize().width() <= again.size().width());
    }
};

QTEST_MAIN(WindowGeometryTest)
#include "window_geometry_test.moc"
