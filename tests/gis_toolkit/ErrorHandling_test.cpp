// The error reporter: the report texts byte for byte for an error shown where it arose,
// an error passed up one level, an unknown line, the warning-box modes, and the
// handler idiom's return of the result as it stood.
#include "gis_toolkit/ErrorHandling.h"

#include <gtest/gtest.h>

#include <string>

#include "com/Error.h"
#include "gis_toolkit/ErrorHandler.h"
#include "gis_toolkit/support/RecordingErrorReport.h"
#include "sysutils/MessageBoxes.h"

namespace {

using gis_toolkit::ErrorHandler;
using gis_toolkit::Report;
namespace ErrorHandling = gis_toolkit::ErrorHandling;

const std::string heading = "Record Call Stack Sequence - Bottom line is error line.\r\n\r\n";
const std::string block5 = "\r\nError Number \r\n\t5\r\nDescription\r\n\tInvalid procedure call or argument\r\n\r\n";

void failsAtLine40() {
    ErrorHandler handler("PrivateHelper", "aml_func_mod", Report::PassUp);
    handler.run([&] {
        handler.line(40);
        throw com::runtimeError(com::errors::InvalidProcedureCall);
    });
}

std::string callerAtLine120() {
    std::string result = "as it stood";
    ErrorHandler handler("cmdOK_Click", "frmwithindistance");
    handler.run([&] {
        handler.line(120);
        failsAtLine40();
        result = "never reached";
    });
    return result;
}

TEST(ErrorReport, ShowsTheErrorWhereItAroseWithItsLine) {
    testing_support::RecordingErrorReport reports;
    std::string result;
    ErrorHandler handler("ICommand_OnClick", "cmdWithinDistance");
    handler.run([&] {
        handler.line(120);
        throw com::runtimeError(com::errors::InvalidProcedureCall);
    });
    ASSERT_EQ(reports.shown().size(), 1u);
    EXPECT_EQ(reports.shown()[0], heading + "\tICommand_OnClick cmdWithinDistance Line : 120\r\n" + block5);
    EXPECT_FALSE(ErrorHandling::StackStarted);
    EXPECT_EQ(result, "");  // never assigned: the empty value
}

TEST(ErrorReport, APassedUpErrorListsTheCallerFirstAndOneErrorBlock) {
    testing_support::RecordingErrorReport reports;
    EXPECT_EQ(callerAtLine120(), "as it stood");
    ASSERT_EQ(reports.shown().size(), 1u);
    EXPECT_EQ(reports.shown()[0], heading + "\tcmdOK_Click frmwithindistance Line : 120\r\n" +
                                      "\tPrivateHelper aml_func_mod Line : 40\r\n" + block5);
    EXPECT_FALSE(ErrorHandling::StackStarted);
}

TEST(ErrorReport, LineZeroLeavesTheCallStackLineEndingInABlank) {
    testing_support::RecordingErrorReport reports;
    ErrorHandler handler("Form_Load", "frmReport_modal");
    handler.run([] { throw com::Error(-2147221503, "aml_func.ParseString", "StringPassed"); });
    ASSERT_EQ(reports.shown().size(), 1u);
    EXPECT_EQ(reports.shown()[0], heading + "\tForm_Load frmReport_modal \r\n" +
                                      "\r\nError Number \r\n\t-2147221503\r\nDescription\r\n\tStringPassed\r\n\r\n");
    EXPECT_EQ(ErrorHandling::ErrorLineText(0), "");
    EXPECT_EQ(ErrorHandling::ErrorLineText(7), "Line : 7");
}

TEST(ErrorReport, OtherDisplayModesShowTheWarningBox) {
    for (const std::int32_t mode : {2, 3, 7}) {
        sysutils::ScriptedMessageBoxes boxes;
        ErrorHandling::StackStarted = false;
        ErrorHandling::HandleError(true, "Proc mod Line : 3", 5, "Veltrano", "Bad", mode);  // mode 3 raises nothing
        ASSERT_EQ(boxes.boxes().size(), 1u) << mode;
        const sysutils::MessageBox box = boxes.boxes()[0];
        EXPECT_EQ(box.caption, "Unexpected Program Error");
        EXPECT_EQ(box.icon, sysutils::MessageIcon::Exclamation);
        EXPECT_EQ(box.text, "An error has occured in the application.   Record the call stack sequence\r\n"
                            "and the description of the error.\r\n\r\nError Call Stack Sequence \r\n"
                            "\tProc mod Line : 3\r\n\r\nError Number \r\n\t5\r\nDescription\r\n\tBad\r\n\r\n");
        EXPECT_EQ(boxes.beeps(), 1);
    }
}

TEST(ErrorReport, AWindowThatCannotBeCreatedPassesTheFailureToTheCaller) {
    testing_support::RecordingErrorReport reports;  // releases the kept window
    ErrorHandling::ReleaseErrorReportWindow();
    com::unregisterClass(forms::CLSID_ErrorReportWindow);
    try {
        ErrorHandler handler("IExtension_Name", "clsExtension");
        handler.run([] { throw com::runtimeError(com::errors::Overflow); });
        FAIL() << "the failure of the report stayed inside the handler";
    } catch (const com::Error& error) {
        EXPECT_EQ(error.Number, com::errors::CannotCreateObject);
    }
}

TEST(ErrorHandler, NumbersErrorsThatAreNotTheRunTimesAsTheRunTimeWould) {
    testing_support::RecordingErrorReport reports;
    ErrorHandler handler("Proc", "mod");
    handler.run([] { throw std::out_of_range("index"); });
    handler.run([] { throw std::bad_alloc(); });
    ASSERT_EQ(reports.shown().size(), 2u);
    EXPECT_NE(reports.shown()[0].find("\t9\r\nDescription\r\n\tSubscript out of range"), std::string::npos);
    EXPECT_NE(reports.shown()[1].find("\t7\r\nDescription\r\n\tOut of memory"), std::string::npos);
}

}  // namespace
