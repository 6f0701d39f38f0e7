// The message-box seam, the time and date texts and the decimal separator taken
// from the environment.
#include <gtest/gtest.h>

#include <cstdlib>
#include <locale.h>
#include <string>

#include "sysutils/DateTime.h"
#include "sysutils/FormatSettings.h"
#include "sysutils/MessageBoxes.h"
#include "sysutils/Strings.h"

namespace {

TEST(ScriptedMessageBoxes, RecordsEveryBoxAndAnswersQuestionsFromItsQueue) {
    sysutils::ScriptedMessageBoxes boxes;
    boxes.answerNext(sysutils::MessageAnswer::Yes);
    sysutils::ShowMessage("first", "Error!");
    EXPECT_TRUE(sysutils::Confirm("Cancel execution?", "Confirm"));
    EXPECT_FALSE(sysutils::Confirm("Close application?", "Confirm"));  // queue empty: No
    const auto recorded = boxes.boxes();
    ASSERT_EQ(recorded.size(), 3u);
    EXPECT_EQ(recorded[0], (sysutils::MessageBox{"first", "Error!", sysutils::MessageButtons::Ok}));
    EXPECT_EQ(recorded[1].buttons, sysutils::MessageButtons::YesNo);
    EXPECT_EQ(boxes.texts()[2], "Close application?");
}

TEST(ScriptedMessageBoxes, PutsBackThePreviousSeamWhenItEnds) {
    sysutils::ScriptedMessageBoxes outer;
    {
        sysutils::ScriptedMessageBoxes inner;
        sysutils::ShowMessage("inner", "Error!");
        EXPECT_EQ(inner.boxes().size(), 1u);
    }
    sysutils::ShowMessage("outer", "Error!");
    EXPECT_EQ(outer.texts(), (std::vector<std::string>{"outer"}));
}

TEST(DateTime, TimeAndDateTextsFollowTheRegionalFormats) {
    // The tests run under LC_ALL=C.UTF-8: time hh:mm:ss, date mm/dd/yy.
    const sysutils::TDateTime value = sysutils::EncodeDateTime(2026, 12, 10, 9, 5, 7, 0);
    EXPECT_EQ(sysutils::TimeToStr(value), "09:05:07");
    EXPECT_EQ(sysutils::DateToStr(value), "12/10/26");
}

TEST(DateTime, DaysCountFromTheEndOf1899AndTheClockCanBeReplaced) {
    EXPECT_DOUBLE_EQ(sysutils::EncodeDateTime(1899, 12, 31, 12, 0, 0, 0), 1.5);
    const sysutils::TDateTime fixed = sysutils::EncodeDateTime(2026, 1, 2, 23, 59, 59, 0);
    sysutils::ScopedClock clock([fixed] { return fixed; });
    EXPECT_EQ(sysutils::Now(), fixed);
    // A difference across midnight is a plain subtraction.
    const sysutils::TDateTime later = sysutils::EncodeDateTime(2026, 1, 3, 0, 0, 29, 0);
    EXPECT_EQ(sysutils::TimeToStr(later - fixed), "00:00:30");
}

TEST(DateTime, TickCounterCanBeReplaced) {
    std::int64_t ticks = 0;
    sysutils::ScopedTickCounter counter([&ticks] { return ticks += 5; });
    EXPECT_EQ(sysutils::GetTickCount(), 5);
    EXPECT_EQ(sysutils::GetTickCount(), 10);
}

TEST(FormatSettings, DecimalSeparatorComesFromTheNumericLocale) {
    // The test script installs de_DE.UTF-8, whose decimal separator is a comma.
    locale_t german = newlocale(LC_NUMERIC_MASK, "de_DE.UTF-8", static_cast<locale_t>(nullptr));
    if (german == static_cast<locale_t>(nullptr)) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    freelocale(german);
    const char* previous = std::getenv("LC_ALL");
    const std::string saved = previous ? previous : "";
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    EXPECT_EQ(sysutils::decimalSeparatorFromEnvironment(), ',');
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(sysutils::decimalSeparatorFromEnvironment(), '.');
    setenv("LC_ALL", saved.c_str(), 1);
}

TEST(TwoPanelStatus, KeepsTheLatestTextOfEachPanelAndTheirHistory) {
    sysutils::TwoPanelStatus status;
    status.setPanelText(0, "a");
    status.setPanelText(1, "b");
    status.setPanelText(0, "c");
    status.setPanelText(2, "ignored");
    EXPECT_EQ(status.panelText(0), "c");
    EXPECT_EQ(status.panelText(1), "b");
    EXPECT_EQ(status.history(), (std::vector<std::string>{"0:a", "1:b", "0:c"}));
}

}  // namespace
