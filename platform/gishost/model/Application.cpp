// The application and its map document, as objects built around a map.
#include <exception>
#include <vector>

#include "com/Creation.h"
#include "com/Object.h"
#include "gishost/model/HostError.h"
#include "gishost/model/HostModel.h"
#include "gishost/model/Recording.h"
#include "gishost/model/StatusBar.h"
#include "gishost/model/SystemObjects.h"

namespace gishost::model {
namespace {

class MxDocument final : public com::Object<IMxDocument, IDocumentNotification, IRecordedCalls, IMxDocumentModel> {
public:
    explicit MxDocument(com::ComPtr<IMap> focusMap) : focusMap_(std::move(focusMap)) {}

    com::ComPtr<IMap> FocusMap() override { return focusMap_; }
    void SetFocusMap(const com::ComPtr<IMap>& focusMap) override { focusMap_ = focusMap; }
    void ContentsChanged() override { calls_.push_back("ContentsChanged"); }
    std::vector<std::string> RecordedCalls() override { return calls_; }

private:
    com::ComPtr<IMap> focusMap_;
    std::vector<std::string> calls_;
};

class Application final : public com::Object<IApplication, IApplicationModel> {
public:
    Application(com::ComPtr<IMxDocument> document, std::vector<std::string> templates, com::ComPtr<IStatusBar> statusBar)
        : document_(std::move(document)),
          statusBar_(std::move(statusBar)),
          templates_(com::make<ITemplates, model::Templates>(std::move(templates))) {}

    com::ComPtr<IMxDocument> Document() override { return document_; }
    com::ComPtr<IStatusBar> StatusBar() override { return statusBar_; }
    com::ComPtr<ITemplates> Templates() override { return templates_; }

    com::ComPtr<IExtension> FindExtensionByCLSID(const com::ComPtr<IUID>& uid) override {
        const std::optional<com::CLSID> clsid = com::classNamed(uid->Value());
        if (!clsid) return {};
        for (const Loaded& loaded : extensions_)
            if (loaded.clsid == *clsid) return loaded.extension;
        return {};
    }

    com::ComPtr<IExtension> LoadExtension(const std::string& progIdOrClsid) override {
        const std::optional<com::CLSID> clsid = com::classNamed(progIdOrClsid);
        if (!clsid)
            throw hostError(HostFailure::Argument, "No extension class is registered as " + progIdOrClsid);
        for (const Loaded& loaded : extensions_)
            if (loaded.clsid == *clsid) return loaded.extension;
        com::ComPtr<IExtension> extension = com::createInstanceAs<IExtension>(*clsid);
        extension->Startup(com::Variant(com::ComPtr<IApplication>(this)));
        extensions_.push_back({*clsid, extension});
        return extension;
    }

    // Every extension is shut down even when one fails; the first failure is raised then.
    void ShutdownExtensions() override {
        const std::vector<Loaded> loaded = std::move(extensions_);
        extensions_.clear();
        std::exception_ptr failure;
        for (const Loaded& each : loaded) {
            try {
                each.extension->Shutdown();
            } catch (...) {
                if (!failure) failure = std::current_exception();
            }
        }
        if (failure) std::rethrow_exception(failure);
    }

    void TableWindowShown(std::shared_ptr<const TableWindowRecord> window) override {
        tableWindows_.push_back(std::move(window));
    }
    std::vector<TableWindowRecord> ShownTableWindows() override {
        std::vector<TableWindowRecord> windows;
        for (const auto& window : tableWindows_) windows.push_back(*window);
        return windows;
    }
    void SetTemplates(std::vector<std::string> templates) override {
        // A new list object: a plug-in that holds the old list keeps what it read.
        templates_ = com::make<ITemplates, model::Templates>(std::move(templates));
    }

private:
    struct Loaded {
        com::CLSID clsid;
        com::ComPtr<IExtension> extension;
    };

    com::ComPtr<IMxDocument> document_;
    com::ComPtr<IStatusBar> statusBar_;
    com::ComPtr<ITemplates> templates_;
    std::vector<Loaded> extensions_;
    std::vector<std::shared_ptr<const TableWindowRecord>> tableWindows_;
};

}  // namespace

com::ComPtr<IMxDocument> makeMxDocument(const com::ComPtr<IMap>& focusMap) {
    return com::make<IMxDocument, MxDocument>(focusMap);
}

com::ComPtr<IApplication> makeApplication(const com::ComPtr<IMxDocument>& document, std::vector<std::string> templates) {
    return makeApplication(document, std::move(templates), makeStatusBar());
}

com::ComPtr<IApplication> makeApplication(const com::ComPtr<IMxDocument>& document, std::vector<std::string> templates,
                                          com::ComPtr<IStatusBar> statusBar) {
    if (!statusBar) throw com::runtimeError(com::errors::ObjectNotSet);
    return com::make<IApplication, Application>(document, std::move(templates), std::move(statusBar));
}

void setFocusMap(const com::ComPtr<IMxDocument>& document, const com::ComPtr<IMap>& focusMap) {
    document.as<IMxDocumentModel>()->SetFocusMap(focusMap);
}

void setTemplates(const com::ComPtr<IApplication>& application, std::vector<std::string> templates) {
    application.as<IApplicationModel>()->SetTemplates(std::move(templates));
}

com::ComPtr<IExtension> loadExtension(const com::ComPtr<IApplication>& application, const std::string& progIdOrClsid) {
    return application.as<IApplicationModel>()->LoadExtension(progIdOrClsid);
}

void shutdownExtensions(const com::ComPtr<IApplication>& application) {
    application.as<IApplicationModel>()->ShutdownExtensions();
}

std::vector<TableWindowRecord> shownTableWindows(const com::ComPtr<IApplication>& application) {
    return application.as<IApplicationModel>()->ShownTableWindows();
}

com::ComPtr<IItemDef> makeItemDef() { return com::make<IItemDef, ItemDef>(); }

std::vector<std::string> recordedCalls(const com::ComPtr<com::IUnknown>& object) {
    return object.as<IRecordedCalls>()->RecordedCalls();
}

}  // namespace gishost::model
