#include "gishost/model/CatalogBrowser.h"

#include <sys/stat.h>

#include <vector>

#include "gishost/model/Recording.h"

namespace gishost::model {
namespace {

ScriptedCatalogBrowser* script = nullptr;

void record(const std::string& call) {
    if (script != nullptr) script->record(call);
}

class CatalogObject final : public com::Object<ICatalogObject> {
public:
    explicit CatalogObject(std::string path) : path_(std::move(path)) {}
    std::string FullName() override { return path_; }
    std::string Name() override {
        std::string trimmed = path_;
        while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
        const std::size_t slash = trimmed.find_last_of('/');
        return slash == std::string::npos || trimmed.size() == 1 ? trimmed : trimmed.substr(slash + 1);
    }

private:
    std::string path_;
};

class CatalogSelection final : public com::Object<IEnumCatalogObject> {
public:
    explicit CatalogSelection(const std::vector<std::string>& paths) {
        for (const std::string& path : paths) objects_.push_back(com::make<ICatalogObject, CatalogObject>(path));
    }
    void Reset() override { next_ = 0; }
    com::ComPtr<ICatalogObject> Next() override {
        return next_ < objects_.size() ? objects_[next_++] : com::ComPtr<ICatalogObject>();
    }

private:
    std::vector<com::ComPtr<ICatalogObject>> objects_;
    std::size_t next_ = 0;
};

}  // namespace

ScriptedCatalogBrowser::ScriptedCatalogBrowser() : previous_(script) { script = this; }
ScriptedCatalogBrowser::~ScriptedCatalogBrowser() { script = previous_; }

void ScriptedCatalogBrowser::chooseNext(std::vector<std::string> paths) { answers_.push_back({true, std::move(paths)}); }
void ScriptedCatalogBrowser::cancelNext() { answers_.push_back({false, {}}); }

bool ScriptedCatalogBrowser::nextAnswer(std::vector<std::string>& chosen) {
    if (answers_.empty()) return false;
    const Answer answer = std::move(answers_.front());
    answers_.pop_front();
    chosen = answer.chosen;
    return answer.confirmed;
}

void CatalogBrowser::put_AllowMultiSelect(bool allow) { record("AllowMultiSelect = " + booleanText(allow)); }
void CatalogBrowser::put_StartingLocation(const std::string& path) { record("StartingLocation = " + path); }
void CatalogBrowser::put_Title(const std::string& title) { record("Title = " + title); }
void CatalogBrowser::putref_ObjectFilter(const com::ComPtr<ICatalogObjectFilter>& filter) {
    record("ObjectFilter = " + (filter ? filter->Description() : std::string("Nothing")));
}

bool CatalogBrowser::DoModalOpen(winapi::HWND parent, com::ComPtr<IEnumCatalogObject>& selection) {
    record(std::string("DoModalOpen(") + (parent != nullptr ? "a window" : "no window") + ")");
    std::vector<std::string> chosen;
    if (script == nullptr || !script->nextAnswer(chosen)) return false;
    selection = makeCatalogSelection(chosen);
    return true;
}

com::ComPtr<IEnumCatalogObject> makeCatalogSelection(const std::vector<std::string>& paths) {
    return com::make<IEnumCatalogObject, CatalogSelection>(paths);
}

bool FolderFilter::CanChooseObject(const std::string& fullName) {
    struct stat status {};
    return ::stat(fullName.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace gishost::model
