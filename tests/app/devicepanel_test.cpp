// A device in the main window: the device's plot beside the band's in the response panel, shown
// only while a device is loaded.
#include "platform/plot/cbandplotview.h"
#include "platform/plot/deviceplot.h"
#include "tests/app/shellfixture.h"
#include "view/ckesto1view.h"

#include <QApplication>
#include <QFile>
#include <QLineSeries>
#include <QTest>

namespace {

class DevicePanelTest : public ShellTest {
protected:
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(Frame().View(), static_cast<Qt::Key>(key), modifiers);
        Settle();
    }
    static void Settle() {
        for (int i = 0; i < 3; ++i) {
            QApplication::processEvents();
        }
    }
    QString DeviceFile() {
        const QString path = Path(QStringLiteral("fet.s2p"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("# GHz S MA R 50\n"
                "3.0 0.75 -105 2.85 82 0.028 60 0.76 -48\n"
                "4.0 0.72 -116 2.60 76 0.030 57 0.73 -54\n"
                "5.0 0.68 -128 2.36 68 0.032 55 0.69 -60\n");
        return path;
    }
};

TEST_F(DevicePanelTest, LoadingADeviceShowsItsPlotBesideTheBands) {
    Start();
    Frame().show();
    dialogs.deviceNames.append(DeviceFile());
    Key(Qt::Key_D, Qt::ControlModifier);
    ASSERT_TRUE(Frame().BandPlotShown()) << "the panel is offered with the first device";
    Frame().View()->repaint();
    Settle();
    ASSERT_NE(Frame().DevicePlot(), nullptr);
    EXPECT_TRUE(Frame().DevicePlot()->isVisible());
    EXPECT_EQ(Frame().DevicePlot()->Content().KSeries()->count(), 3);
    EXPECT_EQ(Frame().DevicePlot()->focusPolicy(), Qt::NoFocus);

    Key(Qt::Key_U, Qt::ControlModifier);
    Frame().View()->repaint();
    Settle();
    EXPECT_EQ(Doc().chart.device, nullptr);
    EXPECT_FALSE(Frame().DevicePlot()->isVisible());
    EXPECT_TRUE(Frame().BandPlot()->isVisible());
}

} // namespace
