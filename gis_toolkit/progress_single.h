#pragma once
// The percent-progress window frmDaxProgressPercent (module "progress_single") for a long
// job over a known number of records: when the job began, the record being processed,
// a bar and the percentage done, the time now, the estimated completion time and time
// remaining, a Stop button that the job polls (ShouldContinue) and a details area. The
// window shows inside the platform's window-frame component, created on first use.
// Calling order: SetExpanded and SetAutoClose if wanted, load and show, ProgBeginTime and
// ProgRecCount, then Est_Time_Left for each record until ShouldContinue is False.
#include <cstdint>
#include <string>

#include "com/ComPtr.h"
#include "forms/CheckBox.h"
#include "forms/CommandButton.h"
#include "forms/Form.h"
#include "forms/IWindowFrame.h"
#include "forms/Label.h"
#include "forms/PictureBox.h"
#include "forms/RichTextBox.h"
#include "sysutils/DateTime.h"

namespace gis_toolkit {

class frmDaxProgressPercent : public forms::Form {
public:
    frmDaxProgressPercent();
    ~frmDaxProgressPercent() override;

    forms::RichTextBox txtDetails;
    forms::CheckBox chkClose;
    forms::CommandButton cmdDetails;
    forms::PictureBox Picture1;
    forms::Label lblCurrentTime;
    forms::PictureBox pct_barBorder;
    forms::PictureBox icnProgressLine;
    forms::CommandButton cmdStop;
    forms::Label lblTimeLeft;
    forms::Label lblIndex;
    forms::Label lblRecordNumber;
    forms::Label lblEstCompletionTime;
    forms::Label lblPercentDone;
    forms::Label lblBeginTime;

    bool ShouldContinue();
    void put_ShouldContinue(bool booContinue);
    sysutils::TDateTime ProgBeginTime();
    void put_ProgBeginTime(sysutils::TDateTime dateBeginTime);
    void put_ProgRecCount(std::int32_t lngRecCount);
    bool SetExpanded() const { return m_expanded; }
    void put_SetExpanded(bool MakeExpanded) { m_expanded = MakeExpanded; }
    bool SetAutoClose() const { return m_autoClose; }
    void put_SetAutoClose(bool MakeAutoClose) { m_autoClose = MakeAutoClose; }
    // The window frame that holds the form, created and handed the form on first use.
    com::ComPtr<forms::IWindowFrame> Frame();

    // Record `theRecordNumber` is being processed: refreshes the display.
    void Est_Time_Left(std::int32_t theRecordNumber, const std::string& theCurrentDescription,
                       const std::string& strRecNumHeader);
    // Shows or hides the details area as SetExpanded says.
    void ExpandProgress();

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void cmdStop_Click();
    void cmdDetails_Click();
    void refreshTimes(std::int64_t total, std::int64_t remaining);

    bool m_shouldContinue = true;
    sysutils::TDateTime m_beginTime = 0;
    std::int32_t m_recCount = 0;
    std::string m_recCountText;
    sysutils::TDateTime m_lastRefresh = 0;
    float m_threshold = 0;
    bool m_expanded = false;
    bool m_autoClose = false;
    std::int32_t m_borderHeight = 0;
    com::ComPtr<forms::IWindowFrame> m_frame;
};

}  // namespace gis_toolkit
