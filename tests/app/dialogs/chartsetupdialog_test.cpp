#include "app/dialogs/chartsetupdialog.h"
#include "tests/app/dialogs/dialogtesting.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <string>

namespace {

class ChartSetupTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        // A new document's settings.
        dialog.frequency = 1000.0;
        dialog.tunePercent = 2.5;
        dialog.chartZ0 = 50.0;
        dialog.startReal = 50.0;
        dialog.goalReal = 50.0;
        dialog.title = "Chart";
        dialog.textMarkers = 1;
        dialog.f1Freq = dialog.f2Freq = dialog.f3Freq = 1000.0;
    }

    QLineEdit* Edit(int id) const { return dialog.ControlAs<QLineEdit>(id); }

    CChartSetupDialog dialog;
};

TEST_F(ChartSetupTest, TuningOutOfRangeKeepsTheDialogOpenOnThatField) {
    dialog.show();
    Type(Edit(1018), "20");
    PressEnter(Edit(1018));

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Please enter a number between 0.1 and 10.");
    EXPECT_TRUE(RefusedAt(dialog, Edit(1018)));
    EXPECT_EQ(dialog.tunePercent, 2.5);

    Type(Edit(1018), "10");
    PressEnter(Edit(1018));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.tunePercent, 10.0);
}

TEST_F(ChartSetupTest, OnlyTheFirstBadFieldInExchangeOrderIsReported) {
    dialog.show();
    Type(Edit(1018), "0.05");
    Type(Edit(1017), "-1");
    PressEnter(Edit(1018));

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Please enter a number between 0 and 1e+15.");
    EXPECT_TRUE(RefusedAt(dialog, Edit(1017)));
}

TEST_F(ChartSetupTest, FieldsBeforeTheFailingOneTakeTheirValues) {
    dialog.show();
    Type(Edit(1017), "12abc");
    Type(Edit(1021), "7");
    Type(Edit(1020), "x");
    PressEnter(Edit(1017));

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Please enter a number.");
    EXPECT_TRUE(RefusedAt(dialog, Edit(1020)));
    EXPECT_EQ(dialog.frequency, 12.0);
    EXPECT_EQ(dialog.startImag, 7.0);
    EXPECT_EQ(dialog.startReal, 50.0);
}

TEST_F(ChartSetupTest, AnglesAcceptTheSmallMarginBeyond180) {
    dialog.show();
    Type(Edit(1024), "1");
    Type(Edit(1025), "180.01");
    Type(Edit(1027), "-180.01");
    PressEnter(Edit(1025));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.startMag, 1.0);
    EXPECT_EQ(dialog.startAngle, 180.01);
    EXPECT_EQ(dialog.goalAngle, -180.01);
}

TEST_F(ChartSetupTest, AngleBeyondTheMarginIsRefused) {
    dialog.show();
    Type(Edit(1027), "180.02");
    PressEnter(Edit(1027));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Please enter a number between -180.01 and 180.01.");
    EXPECT_TRUE(RefusedAt(dialog, Edit(1027)));
}

TEST_F(ChartSetupTest, TitleEditRefusesThe101stCharacter) {
    dialog.title.clear();
    dialog.show();
    QTest::keyClicks(Edit(1003), QString(101, u'x'));
    EXPECT_EQ(Edit(1003)->text(), QString(100, u'x'));

    Edit(1003)->setCursorPosition(50);
    QTest::keyClicks(Edit(1003), "yz");
    EXPECT_EQ(Edit(1003)->text(), QString(100, u'x'));

    PressEnter(Edit(1003));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(dialog.title, std::string(100, 'x'));
}

TEST_F(ChartSetupTest, PastedTextIsCutToTheLimitAtTheCursor) {
    dialog.title = std::string(90, 'x');
    dialog.show();
    Edit(1003)->setCursorPosition(45);
    Edit(1003)->insert(QString(150, u'p'));
    EXPECT_EQ(Edit(1003)->text(), QString(45, u'x') + QString(10, u'p') + QString(45, u'x'));
    EXPECT_EQ(Edit(1003)->cursorPosition(), 55);
}

TEST_F(ChartSetupTest, LongerStoredTitleIsShownWholeAndReported) {
    dialog.title = std::string(120, 'a');
    dialog.show();
    EXPECT_EQ(Edit(1003)->text().size(), 120);

    QTest::keyClick(Edit(1003), Qt::Key_End);
    QTest::keyClicks(Edit(1003), "b");
    EXPECT_EQ(Edit(1003)->text().size(), 120);

    PressEnter(Edit(1003));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Please enter no more than 100 characters.");
    EXPECT_TRUE(RefusedAt(dialog, Edit(1003)));

    Edit(1003)->setCursorPosition(120);
    for (int i = 0; i < 20; ++i) {
        QTest::keyClick(Edit(1003), Qt::Key_Backspace);
    }
    QTest::keyClicks(Edit(1003), "b");
    EXPECT_EQ(Edit(1003)->text().size(), 100);
    PressEnter(Edit(1003));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.title, std::string(100, 'a'));
}

TEST_F(ChartSetupTest, TitleKeepsNonAsciiText) {
    dialog.title = "Z\xc3\xa4hler \xe2\x84\xa6";
    dialog.show();
    PressEnter(Edit(1003));
    EXPECT_EQ(dialog.title, "Z\xc3\xa4hler \xe2\x84\xa6");
}

TEST_F(ChartSetupTest, NumbersAreShownWithFifteenSignificantDigits) {
    dialog.frequency = 1e-15;
    dialog.chartZ0 = 1000000.0;
    dialog.tunePercent = 0.65;
    dialog.startImag = -1.0 / 3.0;
    dialog.f1Freq = 0.1;
    dialog.show();
    EXPECT_EQ(Edit(1017)->text(), "1e-15");
    EXPECT_EQ(Edit(1019)->text(), "1000000");
    EXPECT_EQ(Edit(1018)->text(), "0.65");
    EXPECT_EQ(Edit(1021)->text(), "-0.333333333333333");
    EXPECT_EQ(Edit(1020)->text(), "50");
    EXPECT_EQ(Edit(1100)->text(), "0.1");
    EXPECT_EQ(Edit(1003)->text(), "Chart");
}

TEST_F(ChartSetupTest, ChecksFollowTheirFlags) {
    dialog.showQArcs = 1;
    dialog.showVswrCircles = 0;
    dialog.show();
    auto* qArcs = dialog.ControlAs<QCheckBox>(1083);
    auto* vswr = dialog.ControlAs<QCheckBox>(1091);
    EXPECT_TRUE(qArcs->isChecked());
    EXPECT_FALSE(vswr->isChecked());
    EXPECT_TRUE(dialog.ControlAs<QCheckBox>(1086)->isChecked());

    Click(qArcs);
    Click(vswr);
    QTest::mouseClick(dialog.ControlAs<QPushButton>(CDialogBase::ID_OK), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.showQArcs, 0);
    EXPECT_EQ(dialog.showVswrCircles, 1);
    EXPECT_EQ(dialog.textMarkers, 1);
    EXPECT_EQ(dialog.gammaMode, 0);
}

TEST_F(ChartSetupTest, CancelAndEscapeKeepTheFields) {
    dialog.show();
    Type(Edit(1017), "5");
    QTest::mouseClick(dialog.ControlAs<QPushButton>(CDialogBase::ID_CANCEL), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.frequency, 1000.0);

    dialog.show();
    EXPECT_EQ(Edit(1017)->text(), "1000");
    Type(Edit(1017), "5");
    QTest::keyClick(Edit(1017), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.frequency, 1000.0);
}

TEST_F(ChartSetupTest, TabOrder) {
    const QStringList expected = {"1003", "1017", "1019", "1018", "1083", "1084", "1085", "1086",
                                  "1091", "1020", "1021", "1024", "1025", "1022", "1023", "1026",
                                  "1027", "1",    "2",    "1100", "1101", "1102"};
    QStringList order;
    QWidget* w = dialog.Control(1003);
    do {
        if (w->focusPolicy() & Qt::TabFocus) {
            order << w->objectName();
        }
        w = w->nextInFocusChain();
    } while (w != dialog.Control(1003) && order.size() < 40);
    EXPECT_EQ(order, expected);
}

TEST_F(ChartSetupTest, OpensWithTheTitleSelected) {
    dialog.show();
    EXPECT_EQ(dialog.focusWidget(), Edit(1003));
    EXPECT_EQ(Edit(1003)->selectedText(), "Chart");
}

TEST_F(ChartSetupTest, Captions) {
    EXPECT_EQ(dialog.windowTitle(), "Chart Setup");
    EXPECT_EQ(dialog.DialogId(), 134);
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        texts << label->text();
    }
    for (const char* text :
         {"Title", "Analysis Freq (MHz)", "Chart Z0 (Ohms)", "+/- Tuning %\n (0.1%-10%)", "MHz",
          "F1 Freq", "F2 Freq", "F3 Freq", "Real", "+/- j", "Imag", "Ohms", "Mag", "Angle",
          "Mag/Angle on this Z0"}) {
        EXPECT_TRUE(texts.contains(text)) << text;
    }
    QStringList groups;
    for (const QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        groups << group->title();
    }
    EXPECT_EQ(groups, QStringList({"Starting Impedance [Generator] (enter in either format)",
                                   "Goal Ending Impedance [Load] (enter in either format)"}));
    EXPECT_EQ(dialog.ControlAs<QCheckBox>(1084)->text(), "Admittance circles");
    EXPECT_EQ(dialog.ControlAs<QCheckBox>(1085)->text(), "Gamma mode");
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
}

} // namespace
