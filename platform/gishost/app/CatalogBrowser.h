#pragma once
// The host's catalog browser: a modal folder chooser (through the host's dialog seam)
// with the title, starting location and object filter it is given. A choice that the
// filter refuses is explained in a message box and the chooser opens again; a confirmed
// choice becomes the last browse location.
#include <string>

#include "com/Object.h"
#include "gishost/Framework.h"

namespace gishost::app {

class CatalogBrowser final : public com::Object<ICatalogBrowser> {
public:
    void put_AllowMultiSelect(bool allow) override { multiple_ = allow; }
    void put_StartingLocation(const std::string& path) override { startingLocation_ = path; }
    void put_Title(const std::string& title) override { title_ = title; }
    void putref_ObjectFilter(const com::ComPtr<ICatalogObjectFilter>& filter) override { filter_ = filter; }
    bool DoModalOpen(winapi::HWND parent, com::ComPtr<IEnumCatalogObject>& selection) override;

private:
    bool multiple_ = false;
    std::string startingLocation_;
    std::string title_;
    com::ComPtr<ICatalogObjectFilter> filter_;
};

}  // namespace gishost::app
