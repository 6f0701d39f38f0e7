#pragma once
// The test plug-in of the host program's tests: its classes and the log through which
// it tells the tests what the host asked of it. The log lives in its extension, which
// the tests reach as the plug-in does, through the application.
#include <string>
#include <vector>

#include "com/Guid.h"
#include "com/IUnknown.h"

namespace test_plugin {

inline constexpr com::GUID LIBID_TestPlugin = com::guid("{9D1F4A20-6C3B-4E8A-B7D2-5A0E3C9F1B70}");
inline constexpr com::CLSID CLSID_ToolBar = com::guid("{9D1F4A20-6C3B-4E8A-B7D2-5A0E3C9F1B71}");
inline constexpr com::CLSID CLSID_RecordingCommand = com::guid("{9D1F4A20-6C3B-4E8A-B7D2-5A0E3C9F1B72}");
inline constexpr com::CLSID CLSID_FailingCommand = com::guid("{9D1F4A20-6C3B-4E8A-B7D2-5A0E3C9F1B73}");
inline constexpr com::CLSID CLSID_Extension = com::guid("{9D1F4A20-6C3B-4E8A-B7D2-5A0E3C9F1B74}");

inline constexpr const char* ProgID_Extension = "TestPlugin.Extension";
// The item of the toolbar whose command is not registered.
inline constexpr const char* ProgID_Missing = "TestPlugin.Missing";

struct ITestLog : com::IUnknown {
    static constexpr com::IID iid = com::guid("{9D1F4A20-6C3B-4E8A-B7D2-5A0E3C9F1B7F}");
    using Base = com::IUnknown;

    virtual void Record(const std::string& call) = 0;
    // Every call recorded so far, in order.
    virtual std::vector<std::string> Calls() = 0;

protected:
    ~ITestLog() = default;
};

}  // namespace test_plugin
