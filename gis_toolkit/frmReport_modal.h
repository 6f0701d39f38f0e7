#pragma once
// The report window (module "frmReport_modal"): a resizable window that shows a rich-text
// document laid out for the default printer's line, and prints it page by page with
// one-inch margins, copies it to the clipboard as rich text, or closes. Its user sets
// txtReport's TextRTF (which loads the window), optionally the caption, and shows it
// modally; the window stays above other windows while open.
#include <cstdint>
#include <memory>

#include "com/Variant.h"
#include "forms/CommandButton.h"
#include "forms/Form.h"
#include "forms/Image.h"
#include "forms/RichTextBox.h"
#include "forms/TextBox.h"
#include "gis_toolkit/AnchorObjectList.h"

namespace gis_toolkit {

class frmReport_modal : public forms::Form {
public:
    frmReport_modal();
    ~frmReport_modal() override;

    // The framed backdrop behind the report box (declared first: it lies beneath).
    forms::TextBox txtBackground;
    forms::RichTextBox txtReport;
    forms::CommandButton cmdPrint;
    forms::CommandButton cmdCopy;
    forms::CommandButton cmdOK;
    forms::Image imgCornerBars;

    // Lays the box's lines out for the default printer, as long as the printable line
    // between the margins (twips); writes back the line width and the page height.
    void WYSIWYG_RTF(forms::RichTextBox& RTF, std::int32_t LeftMarginWidth, std::int32_t RightMarginWidth,
                     std::int32_t TopMarginHeight, std::int32_t BottomMarginHeight, std::int32_t& LineWidth,
                     std::int32_t& PageHeight);
    // Prints the box's whole content on the default printer with these margins (twips).
    void PrintRTF(forms::RichTextBox& RTF, std::int32_t LeftMarginWidth, const com::Variant& TopMarginHeight,
                  const com::Variant& RightMarginWidth, const com::Variant& BottomMarginHeight);

protected:
    void Form_Load() override;
    void Form_Resize() override;

private:
    void cmdCopy_Click();
    void cmdPrint_Click();
    void cmdOK_Click();

    std::unique_ptr<AnchorObjectList> m_anchors;
};

}  // namespace gis_toolkit
