#pragma once
// The error-report window, a component outside the extension that shows the extension's
// error reports: created by its class identifier, handed the report's text, then shown.
#include <string>

#include "com/IUnknown.h"

namespace forms {

inline constexpr com::CLSID CLSID_ErrorReportWindow = com::guid("{40ACCBDA-720A-4B17-980B-B173F791958E}");

struct IErrorReport : com::IDispatch {
    static constexpr com::IID iid = com::guid("{546F3CE0-FC9F-4CF4-9093-86B71AB661DE}");
    using Base = com::IDispatch;

    // The whole text of the report, tabs and line breaks included.
    virtual void SetReportText(const std::string& text) = 0;
    // Shows the report; a modal display returns when the user has closed it.
    virtual void Display(bool modal) = 0;

protected:
    ~IErrorReport() = default;
};

}  // namespace forms
