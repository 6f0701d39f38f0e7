#pragma once
// The catalog's folder browser as the model keeps it (it answers from
// ScriptedCatalogBrowser; its window comes with the host program), and the filter that
// lets it choose folders only.
#include <string>
#include <vector>

#include "com/Object.h"
#include "gishost/Framework.h"

namespace gishost::model {

// The files or folders chosen in a browser, as its DoModalOpen hands them back.
com::ComPtr<IEnumCatalogObject> makeCatalogSelection(const std::vector<std::string>& paths);

class CatalogBrowser final : public com::Object<ICatalogBrowser> {
public:
    void put_AllowMultiSelect(bool allow) override;
    void put_StartingLocation(const std::string& path) override;
    void put_Title(const std::string& title) override;
    void putref_ObjectFilter(const com::ComPtr<ICatalogObjectFilter>& filter) override;
    bool DoModalOpen(winapi::HWND parent, com::ComPtr<IEnumCatalogObject>& selection) override;
};

class FolderFilter final : public com::Object<ICatalogObjectFilter> {
public:
    std::string Description() override { return "Folders"; }
    // True for an existing folder.
    bool CanChooseObject(const std::string& fullName) override;
};

}  // namespace gishost::model
