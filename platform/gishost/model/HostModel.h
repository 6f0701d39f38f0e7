#pragma once
// Building the host's object model around data: the application with its map document,
// status bar, templates and loaded extensions; and the registration of the classes that
// callers create by class identifier. The host program and the tests use it; plug-ins
// see only the interfaces.
#include <memory>
#include <string>
#include <vector>

#include "com/ComPtr.h"
#include "gishost/Framework.h"
#include "gishost/model/Layers.h"
#include "gishost/model/Map.h"

namespace gishost::model {

// Puts the host's creatable classes into the process's class table: UID, array, field,
// field set, spatial filter, the workspace factory of file tables, standalone table,
// table window, catalog browser and folder filter.
void registerHostClasses();

com::ComPtr<IMxDocument> makeMxDocument(const com::ComPtr<IMap>& focusMap);
// An application showing `document`, started from `templates` (the open document's path
// last), with a status bar of its own.
com::ComPtr<IApplication> makeApplication(const com::ComPtr<IMxDocument>& document,
                                          std::vector<std::string> templates);
// The same with the status bar given (the host program's, on its window) in place of
// one that records.
com::ComPtr<IApplication> makeApplication(const com::ComPtr<IMxDocument>& document,
                                          std::vector<std::string> templates, com::ComPtr<IStatusBar> statusBar);

// The document shows another map. The document object stays the same, so that what
// plug-ins keep of it goes on to work.
void setFocusMap(const com::ComPtr<IMxDocument>& document, const com::ComPtr<IMap>& focusMap);
// The application's template list becomes `templates` (the open document's path last).
void setTemplates(const com::ComPtr<IApplication>& application, std::vector<std::string> templates);

// Creates the extension class named by a ProgID or "{clsid}", starts it with the
// application and keeps it; an extension of that class loaded already is returned as it is.
com::ComPtr<IExtension> loadExtension(const com::ComPtr<IApplication>& application, const std::string& progIdOrClsid);
// Shuts every loaded extension down and lets go of it; when one fails, the others are
// still shut down and the first failure is raised at the end.
void shutdownExtensions(const com::ComPtr<IApplication>& application);

// What a table window showed, and the calls it was asked, in order.
struct TableWindowRecord {
    com::ComPtr<IStandaloneTable> table;
    std::vector<std::string> calls;
};

// The table windows shown for the application, in the order shown, as they stand now.
std::vector<TableWindowRecord> shownTableWindows(const com::ComPtr<IApplication>& application);

// An empty item definition, as the host hands one to a toolbar definition.
com::ComPtr<IItemDef> makeItemDef();

// What the application model answers among the model's objects.
struct IApplicationModel : com::IUnknown {
    static constexpr com::IID iid = com::guid("{0A820B0E-D31D-4DAA-AC9A-8FFA77FD1F3D}");
    using Base = com::IUnknown;

    virtual com::ComPtr<IExtension> LoadExtension(const std::string& progIdOrClsid) = 0;
    virtual void ShutdownExtensions() = 0;
    // The window keeps its record up to date; the application keeps the record only, so
    // that a window, which refers to its application, is no part of a reference cycle.
    virtual void TableWindowShown(std::shared_ptr<const TableWindowRecord> window) = 0;
    virtual std::vector<TableWindowRecord> ShownTableWindows() = 0;
    virtual void SetTemplates(std::vector<std::string> templates) = 0;

protected:
    ~IApplicationModel() = default;
};

// What the document model answers among the model's objects.
struct IMxDocumentModel : com::IUnknown {
    static constexpr com::IID iid = com::guid("{6E0F3C52-8B1D-4A7E-9C45-2F7A1D3B9E68}");
    using Base = com::IUnknown;

    virtual void SetFocusMap(const com::ComPtr<IMap>& focusMap) = 0;

protected:
    ~IMxDocumentModel() = default;
};

}  // namespace gishost::model
