#include "gis_toolkit/frmReport_modal.h"

#include <algorithm>

#include "forms/Clipboard.h"
#include "forms/DeviceContext.h"
#include "forms/Len.h"
#include "forms/Printer.h"
#include "forms/RichEdit.h"
#include "forms/Screen.h"
#include "gis_toolkit/ErrorHandler.h"
#include "gis_toolkit/ToolkitPictures.h"
#include "winapi/Windows.h"

namespace gis_toolkit {
namespace {

constexpr const char* module = "frmReport_modal";

// A number as the run-time stores it in a 32-bit integer: rounded, and an overflow
// error beyond the type's range.
std::int32_t CLng(double value) { return com::toLong(com::Variant(value)); }

// The printer's unprintable margins, in twips.
std::int32_t leftOffsetOf(forms::PrinterObject& printer) {
    return CLng(printer.ScaleX(forms::GetDeviceCaps(printer.hDC(), forms::PHYSICALOFFSETX), forms::ScalePixels,
                               forms::ScaleTwips));
}
std::int32_t topOffsetOf(forms::PrinterObject& printer) {
    return CLng(printer.ScaleY(forms::GetDeviceCaps(printer.hDC(), forms::PHYSICALOFFSETY), forms::ScalePixels,
                               forms::ScaleTwips));
}

}  // namespace

frmReport_modal::frmReport_modal()
    : forms::Form({.caption = " Report", .clientWidth = 7485, .clientHeight = 3180, .icon = pictures::reportIcon()}),
      txtBackground(*this, "txtBackground", {.left = 30, .top = 15, .width = 7455, .height = 2670, .locked = true}),
      txtReport(*this, "txtReport", {.left = 180, .top = 120, .width = 7230, .height = 2445, .tabIndex = 3}),
      cmdPrint(*this, "cmdPrint", {.left = 1432, .top = 2745, .width = 1500, .height = 405, .caption = "&Print",
                                   .tabIndex = 1}),
      cmdCopy(*this, "cmdCopy", {.left = 2992, .top = 2745, .width = 1500, .height = 405,
                                 .caption = "&Copy to Clipboard", .tabIndex = 2}),
      cmdOK(*this, "cmdOK", {.left = 4552, .top = 2745, .width = 1500, .height = 405, .caption = "&Exit",
                             .tabIndex = 0, .cancel = true}),
      imgCornerBars(*this, "imgCornerBars",
                    {.left = 7260, .top = 2955, .width = 225, .height = 225, .picture = pictures::cornerBars()}) {
    cmdCopy.Click = [this] { cmdCopy_Click(); };
    cmdPrint.Click = [this] { cmdPrint_Click(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
}

frmReport_modal::~frmReport_modal() = default;

void frmReport_modal::Form_Load() {
    ErrorHandler handler("Form_Load", module);
    handler.run([&] {
        handler.line(10);
        winapi::SetWindowPos(hWnd(), winapi::HWND_TOPMOST, 0, 0, 0, 0, winapi::SWP_NOMOVE | winapi::SWP_NOSIZE);
        // In the middle of the screen, where the user looks for the report.
        put_Left(std::max(0.0, (forms::Screen().Width() - Width()) / 2));
        put_Top(std::max(0.0, (forms::Screen().Height() - Height()) / 2));
        handler.line(20);
        m_anchors = std::make_unique<AnchorObjectList>();
        m_anchors->Item(txtBackground).SetAnchors(3, 3);
        m_anchors->Item(txtReport).SetAnchors(3, 3);
        m_anchors->Item(cmdOK).SetAnchors(0, 5);
        m_anchors->Item(cmdCopy).SetAnchors(0, 5);
        m_anchors->Item(cmdPrint).SetAnchors(0, 5);
        m_anchors->Item(imgCornerBars).SetAnchors(5, 5);
        m_anchors->putref_Form(this);
        handler.line(30);
        // Touching the printer here makes a missing printer known before the layout.
        (void)forms::Printer().TwipsPerPixelX();
        forms::Printer().put_Copies(1);
        handler.line(40);
        std::int32_t lineWidth = 0;
        std::int32_t pageHeight = 0;
        WYSIWYG_RTF(txtReport, 360, 360, 360, 360, lineWidth, pageHeight);
    });
}

void frmReport_modal::Form_Resize() {
    ErrorHandler handler("Form_Resize", module);
    handler.run([] {});  // the anchor list moves the controls
}

void frmReport_modal::WYSIWYG_RTF(forms::RichTextBox& RTF, std::int32_t LeftMarginWidth,
                                  std::int32_t RightMarginWidth, std::int32_t TopMarginHeight,
                                  std::int32_t BottomMarginHeight, std::int32_t& LineWidth,
                                  std::int32_t& PageHeight) {
    forms::PrinterObject& printer = forms::Printer();
    printer.put_ScaleMode(forms::ScaleTwips);
    const std::int32_t leftOffset = leftOffsetOf(printer);
    const std::int32_t leftMargin = CLng(static_cast<double>(LeftMarginWidth) - leftOffset);
    const std::int32_t rightMargin = CLng((printer.Width() - RightMarginWidth) - leftOffset);
    LineWidth = CLng(static_cast<double>(rightMargin) - leftMargin);
    const std::int32_t topOffset = topOffsetOf(printer);
    const std::int32_t topMargin = CLng(static_cast<double>(TopMarginHeight) - topOffset);
    const std::int32_t bottomMargin = CLng((printer.Height() - BottomMarginHeight) - topOffset);
    PageHeight = CLng(static_cast<double>(bottomMargin) - topMargin);
    forms::HDC information =
        forms::CreateDCA(printer.DriverName().c_str(), printer.DeviceName().c_str(), nullptr, nullptr);
    forms::SendMessageA(RTF.hWnd(), forms::EM_SETTARGETDEVICE, reinterpret_cast<forms::WPARAM>(information), LineWidth);
    // The box takes what it needs of the device when it lays out: the context can go.
    forms::DeleteDC(information);
}

void frmReport_modal::PrintRTF(forms::RichTextBox& RTF, std::int32_t LeftMarginWidth,
                               const com::Variant& TopMarginHeight, const com::Variant& RightMarginWidth,
                               const com::Variant& BottomMarginHeight) {
    forms::PrinterObject& printer = forms::Printer();
    printer.Print(" ");  // starts the job
    try {
        printer.put_ScaleMode(forms::ScaleTwips);
        const std::int32_t leftOffset = leftOffsetOf(printer);
        const std::int32_t topOffset = topOffsetOf(printer);
        forms::FORMATRANGE range;
        range.rc.left = CLng(static_cast<double>(LeftMarginWidth) - leftOffset);
        range.rc.top = CLng(static_cast<double>(com::toLong(TopMarginHeight)) - topOffset);
        range.rc.right = CLng((printer.Width() - com::toLong(RightMarginWidth)) - leftOffset);
        range.rc.bottom = CLng((printer.Height() - com::toLong(BottomMarginHeight)) - topOffset);
        range.rcPage = {0, 0, CLng(printer.ScaleWidth()), CLng(printer.ScaleHeight())};
        range.hdc = printer.hDC();
        range.hdcTarget = printer.hDC();
        range.chrg = {0, -1};
        const std::int32_t textLength = forms::Len(RTF.Text());
        for (;;) {
            const forms::LRESULT next = forms::SendMessageA(RTF.hWnd(), forms::EM_FORMATRANGE, 1,
                                                            reinterpret_cast<forms::LPARAM>(&range));
            if (next >= textLength) break;
            // A page that took no character would be followed by the same page forever.
            if (next <= range.chrg.cpMin) break;
            range.chrg.cpMin = static_cast<winapi::LONG>(next);
            printer.NewPage();
            printer.Print(" ");
            range.hdc = printer.hDC();
            range.hdcTarget = printer.hDC();
        }
    } catch (...) {
        // The pages sent so far make a whole document; the error goes on to the caller.
        printer.EndDoc();
        forms::SendMessageA(RTF.hWnd(), forms::EM_FORMATRANGE, 0, 0);
        throw;
    }
    printer.EndDoc();
    forms::SendMessageA(RTF.hWnd(), forms::EM_FORMATRANGE, 0, 0);
}

void frmReport_modal::cmdPrint_Click() {
    ErrorHandler handler("cmdPrint_Click", module);
    handler.run([&] {
        handler.line(10);
        PrintRTF(txtReport, 1440, std::int32_t{1440}, std::int32_t{1440}, std::int32_t{1440});
        handler.line(20);
        cmdOK.SetFocus();
    });
}

void frmReport_modal::cmdCopy_Click() {
    ErrorHandler handler("cmdCopy_Click", module);
    handler.run([&] {
        handler.line(10);
        forms::Clipboard().Clear();
        forms::Clipboard().SetText(txtReport.TextRTF(), forms::ClipboardRichText);
        handler.line(20);
        cmdOK.SetFocus();
    });
}

void frmReport_modal::cmdOK_Click() {
    ErrorHandler handler("cmdOK_Click", module);
    handler.run([&] { Unload(); });
}

}  // namespace gis_toolkit
