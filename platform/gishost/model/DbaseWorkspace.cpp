#include "gishost/model/DbaseWorkspace.h"

#include <sys/stat.h>

#include "gishost/model/DbaseTable.h"
#include "gishost/model/HostError.h"

namespace gishost::model {
namespace {

class FolderWorkspace final : public com::Object<IWorkspace, IFeatureWorkspace> {
public:
    explicit FolderWorkspace(std::string folder) : folder_(std::move(folder)) {}

    std::string PathName() override { return folder_; }

    com::ComPtr<ITable> CreateTable(const std::string& name, const com::ComPtr<IFields>& fields,
                                    const com::ComPtr<IUID>&, const com::ComPtr<IUID>&, const std::string&) override {
        return createDbaseTable(folder_, name, fields);
    }

private:
    std::string folder_;
};

}  // namespace

com::ComPtr<IWorkspace> ShapefileWorkspaceFactory::OpenFromFile(const std::string& path, winapi::HWND) {
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))
        throw hostError(HostFailure::DataSource, "The folder " + path + " cannot be opened as a workspace");
    return com::make<IWorkspace, FolderWorkspace>(path);
}

}  // namespace gishost::model
