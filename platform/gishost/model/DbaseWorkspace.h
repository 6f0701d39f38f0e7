#pragma once
// The workspace factory of file tables: it opens a folder as a workspace in which
// dBASE tables are created. Created by class identifier.
#include "com/Object.h"
#include "gishost/Geodatabase.h"

namespace gishost::model {

class ShapefileWorkspaceFactory final : public com::Object<IWorkspaceFactory> {
public:
    com::ComPtr<IWorkspace> OpenFromFile(const std::string& path, winapi::HWND parentWindow) override;
};

}  // namespace gishost::model
