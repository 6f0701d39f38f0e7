// The progress window with an injected clock: no records, the threshold that advances
// the display by a tenth of a percent, the record label, the completion time with and
// without its date, the time remaining (negative figures too), refreshes at most once a second, Stop, Show
// Details, and an overflow reported when the begin time was never set.
#include "gis_toolkit/progress_single.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QPushButton>

#include "forms/WindowFrame.h"
#include "gis_toolkit/support/RecordingErrorReport.h"
#include "sysutils/DateTime.h"

namespace {

using gis_toolkit::frmDaxProgressPercent;

const sysutils::TDateTime began = sysutils::EncodeDateTime(2026, 12, 10, 12, 0, 0, 0);

sysutils::TDateTime secondsAfterBegin(double seconds) { return began + seconds / 86400.0; }

// A progress window loaded at `began` under a clock the test moves.
class ProgressTest : public ::testing::Test {
protected:
    ProgressTest() : clock_([this] { return now; }) {
        forms::registerWindowFrameClass();
        progress.Show();
        progress.put_ProgBeginTime(began);
    }
    ~ProgressTest() override { progress.Unload(); }

    void clickButton(forms::CommandButton& button) { static_cast<QPushButton*>(button.widget())->click(); }
    std::int32_t frameHeight() { return progress.Frame().as<forms::IWindowFrameSize>()->Height(); }

    sysutils::TDateTime now = began;
    sysutils::ScopedClock clock_;
    testing_support::RecordingErrorReport reports;
    frmDaxProgressPercent progress;
};

TEST_F(ProgressTest, LoadsWithItsPlaceholders) {
    EXPECT_EQ(progress.lblBeginTime.Caption(), "Began Job: " + sysutils::DateToStr(began) + " " + sysutils::TimeToStr(began));
    EXPECT_EQ(progress.lblTimeLeft.Caption(), "Estimated time remaining: ---:---:---");
    EXPECT_EQ(progress.lblEstCompletionTime.Caption(), "Estimated completion time: -----------");
    EXPECT_EQ(progress.lblPercentDone.Caption(), "(00.0%)");
    EXPECT_EQ(progress.lblRecordNumber.Caption(), "-----");
    EXPECT_EQ(progress.icnProgressLine.Width(), 0);
    EXPECT_EQ(progress.txtDetails.Text(), "RichTextBox1") << "the details area keeps its design text";
    EXPECT_TRUE(progress.ShouldContinue());
    EXPECT_EQ(progress.Frame()->Caption(), " Current Status:");
    EXPECT_EQ(frameHeight(), 153);
    EXPECT_TRUE(reports.shown().empty());
}

TEST_F(ProgressTest, WithoutRecordsOnlyTheDescriptionAndHeaderChange) {
    progress.put_ProgRecCount(0);
    now = secondsAfterBegin(5);
    progress.Est_Time_Left(3, "patch 3", "Feature ");
    EXPECT_EQ(progress.lblIndex.Caption(), "patch 3");
    EXPECT_EQ(progress.lblRecordNumber.Caption(), "Feature ");
    EXPECT_EQ(progress.lblPercentDone.Caption(), "(00.0%)");
    EXPECT_EQ(progress.icnProgressLine.Width(), 0);
    EXPECT_TRUE(reports.shown().empty());
}

TEST_F(ProgressTest, AdvancesTheDisplayByATenthOfAPercent) {
    progress.put_ProgRecCount(2000);
    struct Step {
        std::int32_t record;
        std::string recordLabel;
        std::string percent;
    };
    const std::vector<Step> steps = {
        {1, "Feature ", "(00.0%)"},
        {2, "Feature 2 of 2,000...", "(0.1%)"},
        {3, "Feature ", "(0.1%)"},
        {4, "Feature 4 of 2,000...", "(0.2%)"},
    };
    for (const Step& step : steps) {
        now = secondsAfterBegin(step.record);
        progress.Est_Time_Left(step.record, "patch", "Feature ");
        EXPECT_EQ(progress.lblRecordNumber.Caption(), step.recordLabel) << step.record;
        EXPECT_EQ(progress.lblPercentDone.Caption(), step.percent) << step.record;
    }
    EXPECT_TRUE(reports.shown().empty());
}

TEST_F(ProgressTest, WritesTheRecordWithThousandsSeparators) {
    progress.put_ProgRecCount(5678);
    now = secondsAfterBegin(60);
    progress.Est_Time_Left(1234, "patch", "Feature ");
    EXPECT_EQ(progress.lblRecordNumber.Caption(), "Feature 1,234 of 5,678...");
    EXPECT_NEAR(progress.icnProgressLine.Width(), (progress.pct_barBorder.Width() - 90) * 1234.0 / 5678, 15);
}

TEST_F(ProgressTest, EstimatesTheCompletionTimeAndTheTimeRemaining) {
    struct Case {
        const char* name;
        std::int32_t count;
        std::int32_t record;
        double elapsed;
        std::string completion;
        std::string remaining;
    };
    const std::vector<Case> cases = {
        {"a day or less: the time alone", 100, 50, 1000, sysutils::TimeToStr(secondsAfterBegin(2000)), "0:16:40"},
        {"more than a day: time and date", 1000, 10, 1000,
         sysutils::TimeToStr(secondsAfterBegin(100000)) + ", " + sysutils::DateToStr(secondsAfterBegin(100000)),
         "27:30:00"},
        {"hours, minutes and seconds", 2, 1, 3725, sysutils::TimeToStr(secondsAfterBegin(7450)), "1:02:05"},
        // A record beyond the count makes the estimate shorter than the time elapsed: the
        // remaining figures turn negative, each with its minus sign before the zeros.
        {"negative seconds", 1, 2, 10, sysutils::TimeToStr(secondsAfterBegin(5)), "0:00:-05"},
        {"negative minutes and seconds", 1, 2, 3726, sysutils::TimeToStr(secondsAfterBegin(1863)), "0:-31:-03"},
        {"negative hours, minutes and seconds", 2, 4, 7450, sysutils::TimeToStr(secondsAfterBegin(3725)),
         "-1:-02:-05"},
    };
    for (const Case& c : cases) {
        frmDaxProgressPercent window;
        now = began;
        window.Show();
        window.put_ProgBeginTime(began);
        window.put_ProgRecCount(c.count);
        now = secondsAfterBegin(c.elapsed);
        window.Est_Time_Left(c.record, "patch", "Feature ");
        EXPECT_EQ(window.lblEstCompletionTime.Caption(), "Estimated completion time: " + c.completion) << c.name;
        EXPECT_EQ(window.lblTimeLeft.Caption(), "Estimated time remaining:  " + c.remaining) << c.name;
        EXPECT_EQ(window.lblCurrentTime.Caption(), sysutils::TimeToStr(now)) << c.name;
        window.Unload();
    }
    EXPECT_TRUE(reports.shown().empty());
}

TEST_F(ProgressTest, RefreshesTheTimesAtMostOnceASecond) {
    progress.put_ProgRecCount(100);
    const std::vector<std::pair<double, double>> callsAndRefreshes = {
        {0.4, 0},  // less than a second since loading: no refresh
        {1.0, 1.0}, {1.5, 1.0}, {4.0, 4.0}, {4.9, 4.0}, {6.0, 6.0},
    };
    std::int32_t record = 0;
    for (const auto& [call, refreshed] : callsAndRefreshes) {
        now = secondsAfterBegin(call);
        progress.Est_Time_Left(++record, "patch", "Feature ");
        const std::string expected = refreshed == 0 ? std::string() : sysutils::TimeToStr(secondsAfterBegin(refreshed));
        EXPECT_EQ(progress.lblCurrentTime.Caption(), expected) << call;
    }
}

TEST_F(ProgressTest, StopOnlyClearsShouldContinue) {
    progress.put_ProgRecCount(10);
    now = secondsAfterBegin(2);
    progress.Est_Time_Left(5, "patch", "Feature ");
    const std::vector<std::string> before = {progress.lblRecordNumber.Caption(), progress.lblPercentDone.Caption(),
                                             progress.lblTimeLeft.Caption(), progress.cmdStop.Caption()};
    clickButton(progress.cmdStop);
    EXPECT_FALSE(progress.ShouldContinue());
    EXPECT_TRUE(progress.Loaded());
    EXPECT_EQ(before, (std::vector<std::string>{progress.lblRecordNumber.Caption(), progress.lblPercentDone.Caption(),
                                                progress.lblTimeLeft.Caption(), progress.cmdStop.Caption()}));
}

TEST_F(ProgressTest, ShowDetailsTwiceReturnsToTheCollapsedWindow) {
    clickButton(progress.cmdDetails);
    EXPECT_EQ(frameHeight(), 319);
    EXPECT_EQ(progress.cmdDetails.Caption(), "Minimize");
    EXPECT_TRUE(progress.txtDetails.Visible());
    EXPECT_TRUE(progress.SetExpanded());
    clickButton(progress.cmdDetails);
    EXPECT_EQ(frameHeight(), 153);
    EXPECT_EQ(progress.cmdDetails.Caption(), "Show Details");
    EXPECT_FALSE(progress.txtDetails.Visible());
}

TEST_F(ProgressTest, ReportsTheOverflowOfANeverSetBeginTime) {
    progress.put_ProgBeginTime(0);  // 30 December 1899: billions of seconds ago
    progress.put_ProgRecCount(2000);
    progress.Est_Time_Left(1000, "patch", "Feature ");
    ASSERT_EQ(reports.shown().size(), 1u);
    EXPECT_NE(reports.shown()[0].find("\tEst_Time_Left progress_single Line : 40\r\n"), std::string::npos)
        << reports.shown()[0];
    EXPECT_NE(reports.shown()[0].find("\t6\r\nDescription\r\n\tOverflow"), std::string::npos);
}

TEST(frmDaxProgressPercent, OpensExpandedAndWithCloseWhenFinishedAsSetBeforeLoading) {
    forms::registerWindowFrameClass();
    testing_support::RecordingErrorReport reports;
    frmDaxProgressPercent progress;
    progress.put_SetExpanded(true);
    progress.put_SetAutoClose(true);
    progress.Show();
    EXPECT_EQ(progress.chkClose.Value(), forms::CheckBoxChecked);
    EXPECT_EQ(progress.Frame().as<forms::IWindowFrameSize>()->Height(), 319);
    EXPECT_EQ(progress.cmdDetails.Caption(), "Minimize");
    progress.Unload();
    EXPECT_TRUE(reports.shown().empty());
}

}  // namespace
