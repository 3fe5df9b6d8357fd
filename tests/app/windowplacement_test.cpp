#include "app/windowplacement.h"
#include "platform/shell/csettingsstore.h"
#include "tests/app/shellfixture.h"

#include <QApplication>
#include <QScreen>

#include <algorithm>
#include <string>

namespace {

struct PlacementCase {
    const char* name;
    QRect wanted;
    QRect placed;
};

// Two screens side by side, the primary on the left.
const QList<QRect> kScreens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};

class PlaceOnScreensTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PlaceOnScreensTest, LandsWhollyOnOneScreen) {
    EXPECT_EQ(PlaceOnScreens(GetParam().wanted, kScreens), GetParam().placed) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlaceOnScreensTest,
    ::testing::Values(
        PlacementCase{"on the primary", QRect(100, 80, 800, 500), QRect(100, 80, 800, 500)},
        PlacementCase{"on the second", QRect(2000, 100, 800, 500), QRect(2000, 100, 800, 500)},
        PlacementCase{"across both, mostly right", QRect(1800, 100, 800, 500),
                      QRect(1920, 100, 800, 500)},
        PlacementCase{"a third screen gone", QRect(3500, 200, 800, 500),
                      QRect(1120, 200, 800, 500)},
        PlacementCase{"far above and left", QRect(-5000, -5000, 800, 500), QRect(0, 0, 800, 500)},
        PlacementCase{"larger than its screen", QRect(1900, 10, 1600, 1200),
                      QRect(1920, 0, 1280, 1024)}),
    [](const ::testing::TestParamInfo<PlacementCase>& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        std::replace(name.begin(), name.end(), ',', '_');
        return name;
    });

TEST_F(ShellTest, WindowLeftOffEveryScreenIsBroughtBack) {
    CSettingsStore().WriteWindowPlacement({QRect(-8000, 9000, 500, 300), false});
    Start();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(Frame().geometry())) << Frame().x() << "," << Frame().y();
    EXPECT_EQ(Frame().size(), QSize(500, 300));
}

} // namespace
