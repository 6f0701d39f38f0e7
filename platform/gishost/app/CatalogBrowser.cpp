#include "gishost/app/CatalogBrowser.h"

#include "gishost/app/HostDialogs.h"
#include "gishost/app/HostLocations.h"
#include "gishost/model/CatalogBrowser.h"
#include "sysutils/MessageBoxes.h"

namespace gishost::app {

bool CatalogBrowser::DoModalOpen(winapi::HWND, com::ComPtr<IEnumCatalogObject>& selection) {
    ChooseRequest request;
    request.kind = ChooseRequest::Kind::Folders;
    request.title = title_;
    request.startingLocation = startingLocation_;
    request.multiple = multiple_;
    while (true) {
        std::optional<std::vector<std::string>> chosen = hostDialogs().choose(request);
        if (!chosen || chosen->empty()) return false;
        if (!multiple_) chosen->resize(1);
        std::string refused;
        for (const std::string& path : *chosen)
            if (filter_ && refused.empty() && !filter_->CanChooseObject(path)) refused = path;
        if (refused.empty()) {
            rememberBrowsedFolder(chosen->front());
            selection = model::makeCatalogSelection(*chosen);
            return true;
        }
        sysutils::ShowMessage(refused + " cannot be chosen here. Choose among: " + filter_->Description() + ".",
                              title_.empty() ? "Browse" : title_);
        request.startingLocation = refused;
    }
}

}  // namespace gishost::app
