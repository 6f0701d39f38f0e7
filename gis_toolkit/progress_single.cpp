#include "gis_toolkit/progress_single.h"

#include <cmath>
#include <cstdio>

#include "com/Creation.h"
#include "com/Variant.h"
#include "forms/DoEvents.h"
#include "gis_toolkit/ErrorHandler.h"
#include "gis_toolkit/ToolkitPictures.h"
#include "gis_toolkit/aml_func_mod.h"

namespace gis_toolkit {
namespace {

constexpr const char* module = "progress_single";
constexpr double secondsPerDay = 86400.0;
// Inner heights of the window, in twips, without and with the details area.
constexpr double collapsedHeight = 2295;
constexpr double expandedHeight = 4785;

std::int64_t wholeSeconds(sysutils::TDateTime from, sysutils::TDateTime to) {
    return std::llround(to * secondsPerDay) - std::llround(from * secondsPerDay);
}

// The run-time's rounding to a whole number (half to even) into a 32-bit integer.
std::int32_t CLng(double value) { return com::toLong(com::Variant(value)); }

// The run-time's Format(value, "00"): at least two digits, the minus sign in front of
// the zeros (-5 gives "-05", as a negative time remaining shows its seconds).
std::string twoDigits(std::int64_t value) {
    const unsigned long long magnitude =
        value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    char text[24];
    std::snprintf(text, sizeof text, "%s%02llu", value < 0 ? "-" : "", magnitude);
    return text;
}

}  // namespace

frmDaxProgressPercent::frmDaxProgressPercent()
    : forms::Form({.caption = " Current Status...", .clientWidth = 5400, .clientHeight = collapsedHeight}),
      txtDetails(*this, "txtDetails",
                 {.left = 120, .top = 2400, .width = 5160, .height = 2250, .text = "RichTextBox1", .tabIndex = 3}),
      chkClose(*this, "chkClose",
               {.left = 120, .top = 1950, .width = 2760, .height = 300, .caption = "Close When Finished...",
                .tabIndex = 2}),
      cmdDetails(*this, "cmdDetails",
                 {.left = 4080, .top = 1920, .width = 1200, .height = 330, .caption = "Show Details", .tabIndex = 1}),
      Picture1(*this, "Picture1", {.left = 120, .top = 120, .width = 480, .height = 480,
                                   .picture = pictures::progressClock()}),
      lblCurrentTime(*this, "lblCurrentTime", {.left = 720, .top = 360, .width = 4560, .height = 240}),
      pct_barBorder(*this, "pct_barBorder", {.left = 120, .top = 1140, .width = 4200, .height = 300,
                                             .picture = pictures::progressBarBorder(), .stretch = true}),
      icnProgressLine(*this, "icnProgressLine",
                      {.left = 45, .top = 45, .width = 0, .height = 210, .picture = pictures::progressBar(),
                       .container = &pct_barBorder, .stretch = true}),
      cmdStop(*this, "cmdStop",
              {.left = 2880, .top = 1920, .width = 1140, .height = 330, .caption = "Stop", .tabIndex = 0}),
      lblTimeLeft(*this, "lblTimeLeft",
                  {.left = 120, .top = 1680, .width = 5160, .height = 240, .caption = "estimated time left"}),
      lblIndex(*this, "lblIndex", {.left = 720, .top = 600, .width = 4560, .height = 240, .caption = "index"}),
      lblRecordNumber(*this, "lblRecordNumber",
                      {.left = 720, .top = 840, .width = 4560, .height = 240, .caption = "record number"}),
      lblEstCompletionTime(*this, "lblEstCompletionTime", {.left = 120, .top = 1470, .width = 5160, .height = 240,
                                                           .caption = "Estimated Completion Time:"}),
      lblPercentDone(*this, "lblPercentDone", {.left = 4380, .top = 1170, .width = 900, .height = 240,
                                               .caption = "( 0%)", .alignment = forms::Alignment::Right}),
      lblBeginTime(*this, "lblBeginTime", {.left = 720, .top = 120, .width = 4560, .height = 240}) {
    cmdStop.Click = [this] { cmdStop_Click(); };
    cmdDetails.Click = [this] { cmdDetails_Click(); };
}

frmDaxProgressPercent::~frmDaxProgressPercent() = default;

bool frmDaxProgressPercent::ShouldContinue() {
    bool result = false;
    ErrorHandler handler("ShouldContinue", module);
    handler.run([&] { result = m_shouldContinue; });
    return result;
}

void frmDaxProgressPercent::put_ShouldContinue(bool booContinue) {
    ErrorHandler handler("ShouldContinue", module);
    handler.run([&] { m_shouldContinue = booContinue; });
}

sysutils::TDateTime frmDaxProgressPercent::ProgBeginTime() {
    sysutils::TDateTime result = 0;
    ErrorHandler handler("ProgBeginTime", module);
    handler.run([&] { result = m_beginTime; });
    return result;
}

void frmDaxProgressPercent::put_ProgBeginTime(sysutils::TDateTime dateBeginTime) {
    ErrorHandler handler("ProgBeginTime", module);
    handler.run([&] { m_beginTime = dateBeginTime; });
}

void frmDaxProgressPercent::put_ProgRecCount(std::int32_t lngRecCount) {
    ErrorHandler handler("ProgRecCount", module);
    handler.run([&] {
        m_recCount = lngRecCount;
        m_recCountText = aml_func_mod::InsertCommas(com::Variant(lngRecCount));
    });
}

com::ComPtr<forms::IWindowFrame> frmDaxProgressPercent::Frame() {
    com::ComPtr<forms::IWindowFrame> result;
    ErrorHandler handler("Frame", module);
    handler.run([&] {
        if (!m_frame) {
            handler.line(10);
            m_frame = com::createInstanceAs<forms::IWindowFrame>(forms::CLSID_WindowFrame);
            m_frame->Hold(*this);
            m_frame->put_Caption(" Current Status:");
        }
        result = m_frame;
    });
    return result;
}

void frmDaxProgressPercent::Form_Load() {
    ErrorHandler handler("Form_Load", module);
    handler.run([&] {
        handler.line(10);
        m_borderHeight = CLng(Height() - ScaleHeight());
        m_shouldContinue = true;
        m_lastRefresh = sysutils::Now();
        m_threshold = 0;
        chkClose.put_Value(m_autoClose ? forms::CheckBoxChecked : forms::CheckBoxUnchecked);
        handler.line(20);
        Frame();
        ExpandProgress();
        handler.line(30);
        const sysutils::TDateTime now = sysutils::Now();
        lblBeginTime.put_Caption("Began Job: " + sysutils::DateToStr(now) + " " + sysutils::TimeToStr(now));
        lblTimeLeft.put_Caption("Estimated time remaining: ---:---:---");
        lblEstCompletionTime.put_Caption("Estimated completion time: -----------");
        lblPercentDone.put_Caption("(00.0%)");
        lblRecordNumber.put_Caption("-----");
        lblIndex.put_Caption("-----");
        icnProgressLine.put_Width(0);
    });
}

void frmDaxProgressPercent::ExpandProgress() {
    ErrorHandler handler("ExpandProgress", module);
    handler.run([&] {
        const bool expanded = m_expanded;
        handler.line(10);
        txtDetails.put_Visible(expanded);
        const double inner = expanded ? expandedHeight : collapsedHeight;
        Frame().as<forms::IWindowFrameSize>()->put_Height(CLng((m_borderHeight + inner) / 15));
        cmdDetails.put_Caption(expanded ? "Minimize" : "Show Details");
    });
}

void frmDaxProgressPercent::cmdDetails_Click() {
    ErrorHandler handler("cmdDetails_Click", module);
    handler.run([&] {
        m_expanded = !m_expanded;
        ExpandProgress();
    });
}

void frmDaxProgressPercent::cmdStop_Click() {
    ErrorHandler handler("cmdStop_Click", module);
    handler.run([&] { m_shouldContinue = false; });
}

void frmDaxProgressPercent::Est_Time_Left(std::int32_t theRecordNumber, const std::string& theCurrentDescription,
                                          const std::string& strRecNumHeader) {
    ErrorHandler handler("Est_Time_Left", module);
    handler.run([&] {
        handler.line(10);
        const float fraction =
            m_recCount > 0 ? static_cast<float>(static_cast<double>(theRecordNumber) / m_recCount) : 0.0f;
        // Rounded to two decimals, half to even.
        const auto percent = static_cast<float>(std::nearbyint(static_cast<double>(fraction) * 100 * 100) / 100);
        if (static_cast<float>(m_threshold + 0.1) > percent) {
            lblIndex.put_Caption(theCurrentDescription);
            lblRecordNumber.put_Caption(strRecNumHeader);
        } else {
            handler.line(20);
            forms::DoEvents();
            m_threshold = static_cast<float>(m_threshold + 0.1);
            lblIndex.put_Caption(theCurrentDescription);
            lblRecordNumber.put_Caption(strRecNumHeader + aml_func_mod::InsertCommas(com::Variant(theRecordNumber)) +
                                        " of " + m_recCountText + "...");
            handler.line(30);
            icnProgressLine.put_Width((pct_barBorder.Width() - 90) * fraction);
            lblPercentDone.put_Caption("(" + com::toText(com::Variant(percent)) + "%)");
            handler.line(40);
            const std::int64_t elapsed = wholeSeconds(m_beginTime, sysutils::Now());
            const std::int64_t product = static_cast<std::int64_t>(m_recCount) * elapsed;
            if (product < INT32_MIN || product > INT32_MAX) throw com::runtimeError(com::errors::Overflow);
            if (theRecordNumber == 0) throw com::Error(11, "", "Division by zero");
            const std::int64_t total = CLng(static_cast<double>(product) / theRecordNumber);
            handler.line(50);
            refreshTimes(total, total - elapsed);
        }
        handler.line(60);
        lblRecordNumber.Refresh();
        pct_barBorder.Refresh();
    });
}

// At most once a second, whenever at least a second has passed since the last refresh.
void frmDaxProgressPercent::refreshTimes(std::int64_t total, std::int64_t remaining) {
    const sysutils::TDateTime now = sysutils::Now();
    if (wholeSeconds(m_lastRefresh, now) < 1) return;
    lblCurrentTime.put_Caption(sysutils::TimeToStr(now));
    m_lastRefresh = now;
    const sysutils::TDateTime completion = m_beginTime + static_cast<double>(total) / secondsPerDay;
    std::string completionText = sysutils::TimeToStr(completion);
    if (total > 86400) completionText += ", " + sysutils::DateToStr(completion);
    lblEstCompletionTime.put_Caption("Estimated completion time: " + completionText);
    const std::int64_t hours = remaining / 3600;
    const std::int64_t minutes = (remaining - hours * 3600) / 60;
    const std::int64_t seconds = remaining - hours * 3600 - minutes * 60;
    lblTimeLeft.put_Caption("Estimated time remaining:  " + std::to_string(hours) + ":" + twoDigits(minutes) + ":" +
                            twoDigits(seconds));
}

void frmDaxProgressPercent::Form_Unload() {
    ErrorHandler handler("Form_Unload", module);
    handler.run([&] { m_recCountText.clear(); });
}

}  // namespace gis_toolkit
