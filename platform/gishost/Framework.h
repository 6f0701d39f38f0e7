#pragma once
// The host application as a plug-in sees it: the application with its document, status
// bar, templates and extensions; the map document; the status bar's progress bar; table
// windows; the catalog's folder browser; and the interfaces that plug-ins implement
// (commands, toolbar definitions, extensions). Headers only: the plug-in includes them
// and reaches the objects through the host, or creates the classes below by their class
// identifiers.
#include <cstdint>
#include <string>

#include "com/ComPtr.h"
#include "com/Guid.h"
#include "com/IUnknown.h"
#include "com/Variant.h"
#include "gishost/Carto.h"
#include "gishost/System.h"

namespace gishost {

// ---- Implemented by plug-ins ---------------------------------------------------------

// A plug-in object that the host creates once when it starts and shuts down at its end.
struct IExtension : com::IUnknown {
    static constexpr com::IID iid = com::guid("{7F657EC9-DBF1-11D2-9F2F-00C04F6BC69E}");
    using Base = com::IUnknown;

    virtual std::string Name() = 0;
    // `initializationData` holds the application.
    virtual void Startup(const com::Variant& initializationData) = 0;
    virtual void Shutdown() = 0;

protected:
    ~IExtension() = default;
};

// A button of a toolbar. `Bitmap` is the handle of a picture the command keeps.
struct ICommand : com::IUnknown {
    static constexpr com::IID iid = com::guid("{36B06538-4437-11D1-B970-080009EE4E51}");
    using Base = com::IUnknown;

    virtual bool Enabled() = 0;
    virtual bool Checked() = 0;
    virtual std::string Name() = 0;
    virtual std::string Caption() = 0;
    virtual std::string Tooltip() = 0;
    virtual std::string Message() = 0;
    virtual std::string HelpFile() = 0;
    virtual std::int32_t HelpContextID() = 0;
    virtual std::int32_t Bitmap() = 0;
    virtual std::string Category() = 0;
    // `hook` is the application.
    virtual void OnCreate(const com::ComPtr<com::IUnknown>& hook) = 0;
    virtual void OnClick() = 0;

protected:
    ~ICommand() = default;
};

// One item of a toolbar, as a toolbar definition describes it to the host.
struct IItemDef : com::IUnknown {
    static constexpr com::IID iid = com::guid("{310947AF-BC8C-43CD-80A6-F9171DCD0416}");
    using Base = com::IUnknown;

    // The ProgID of the item's command class.
    virtual std::string ID() = 0;
    virtual void put_ID(const std::string& id) = 0;
    // True when the item starts a new group (a separator stands before it).
    virtual bool Group() = 0;
    virtual void put_Group(bool group) = 0;

protected:
    ~IItemDef() = default;
};

struct IToolBarDef : com::IUnknown {
    static constexpr com::IID iid = com::guid("{61B318F0-CDA0-11D1-B9A8-080009EE4E51}");
    using Base = com::IUnknown;

    virtual std::int32_t ItemCount() = 0;
    virtual void GetItemInfo(std::int32_t position, const com::ComPtr<IItemDef>& itemDef) = 0;
    virtual std::string Name() = 0;
    virtual std::string Caption() = 0;

protected:
    ~IToolBarDef() = default;
};

// ---- The application -----------------------------------------------------------------

// The progress bar of the status bar.
struct IStepProgressor : com::IUnknown {
    static constexpr com::IID iid = com::guid("{BFB63E99-B524-4DE1-9D39-444209DEFF58}");
    using Base = com::IUnknown;

    virtual std::int32_t MinRange() = 0;
    virtual void put_MinRange(std::int32_t value) = 0;
    virtual std::int32_t MaxRange() = 0;
    virtual void put_MaxRange(std::int32_t value) = 0;
    virtual std::int32_t StepValue() = 0;
    virtual void put_StepValue(std::int32_t value) = 0;
    virtual std::int32_t Position() = 0;
    virtual void put_Position(std::int32_t value) = 0;
    virtual std::string Message() = 0;
    virtual void put_Message(const std::string& message) = 0;
    // Moves the position on by the step, never beyond the maximum.
    virtual void Step() = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;

protected:
    ~IStepProgressor() = default;
};

struct IStatusBar : com::IUnknown {
    static constexpr com::IID iid = com::guid("{FF1400FC-8048-4403-8442-D6E3CF3223D4}");
    using Base = com::IUnknown;

    // The text of a pane (0 is the message pane).
    virtual std::string Message(std::int32_t pane) = 0;
    virtual void put_Message(std::int32_t pane, const std::string& message) = 0;
    // Shows the progress bar at position `minimum` with the message; `onePanel` shows
    // bar and message in one pane.
    virtual void ShowProgressBar(const std::string& message, std::int32_t minimum, std::int32_t maximum,
                                 std::int32_t step, bool onePanel) = 0;
    virtual void StepProgressBar() = 0;
    virtual void HideProgressBar() = 0;
    virtual com::ComPtr<IStepProgressor> ProgressBar() = 0;

protected:
    ~IStatusBar() = default;
};

// Announces to the map document that its contents changed (tables were added), so that
// its views show them.
struct IDocumentNotification : com::IUnknown {
    static constexpr com::IID iid = com::guid("{B26DE0CF-5C0A-433D-9082-097004E13A0A}");
    using Base = com::IUnknown;

    virtual void ContentsChanged() = 0;

protected:
    ~IDocumentNotification() = default;
};

struct IMxDocument : com::IUnknown {
    static constexpr com::IID iid = com::guid("{35DAD3F6-5381-4E44-AEB4-078EECCB6566}");
    using Base = com::IUnknown;

    // The map that the document shows and works on.
    virtual com::ComPtr<IMap> FocusMap() = 0;

protected:
    ~IMxDocument() = default;
};

struct IApplication : com::IUnknown {
    static constexpr com::IID iid = com::guid("{96116382-77D9-471F-BA57-92998F1D7CF5}");
    using Base = com::IUnknown;

    virtual com::ComPtr<IMxDocument> Document() = 0;
    virtual com::ComPtr<IStatusBar> StatusBar() = 0;
    virtual com::ComPtr<ITemplates> Templates() = 0;
    // The loaded extension of the class that `uid` names (a ProgID or "{clsid}"), or an
    // empty reference when none of that class is loaded.
    virtual com::ComPtr<IExtension> FindExtensionByCLSID(const com::ComPtr<IUID>& uid) = 0;

protected:
    ~IApplication() = default;
};

// A window that shows a standalone table's rows.
struct ITableWindow2 : com::IUnknown {
    static constexpr com::IID iid = com::guid("{64F5C5F3-1DFE-4E87-B7E9-677D7FA8A740}");
    using Base = com::IUnknown;

    virtual com::ComPtr<IStandaloneTable> StandaloneTable() = 0;
    virtual void putref_StandaloneTable(const com::ComPtr<IStandaloneTable>& table) = 0;
    virtual com::ComPtr<IApplication> Application() = 0;
    virtual void putref_Application(const com::ComPtr<IApplication>& application) = 0;
    // Display settings: how rows are selected (0 none, 1 one row, 2 several rows), whether
    // columns are headed by the fields' alias names, and whether only the selected rows
    // are listed.
    virtual std::int32_t RowSelection() = 0;
    virtual void put_RowSelection(std::int32_t mode) = 0;
    virtual bool ShowAliasNames() = 0;
    virtual void put_ShowAliasNames(bool show) = 0;
    virtual bool ShowSelectedOnly() = 0;
    virtual void put_ShowSelectedOnly(bool show) = 0;
    virtual bool IsVisible() = 0;
    virtual void Show(bool visible) = 0;

protected:
    ~ITableWindow2() = default;
};

// ---- The catalog's folder browser ----------------------------------------------------

// Decides which catalog objects a browser lets the user choose.
struct ICatalogObjectFilter : com::IUnknown {
    static constexpr com::IID iid = com::guid("{B2EFF3D1-281A-4429-A634-E45A3816CA7C}");
    using Base = com::IUnknown;

    virtual std::string Description() = 0;
    virtual bool CanChooseObject(const std::string& fullName) = 0;

protected:
    ~ICatalogObjectFilter() = default;
};

// A file or folder chosen in the browser.
struct ICatalogObject : com::IUnknown {
    static constexpr com::IID iid = com::guid("{3423D0D7-405A-4210-A6BB-CAB833EE6361}");
    using Base = com::IUnknown;

    // The full path.
    virtual std::string FullName() = 0;
    // The last part of the path.
    virtual std::string Name() = 0;

protected:
    ~ICatalogObject() = default;
};

struct IEnumCatalogObject : com::IUnknown {
    static constexpr com::IID iid = com::guid("{31CB3C70-DFB0-4BC3-AD59-D6FB84E818D4}");
    using Base = com::IUnknown;

    virtual void Reset() = 0;
    // The next object, or an empty reference at the end.
    virtual com::ComPtr<ICatalogObject> Next() = 0;

protected:
    ~IEnumCatalogObject() = default;
};

struct ICatalogBrowser : com::IUnknown {
    static constexpr com::IID iid = com::guid("{AA2FBFB6-CD2E-4A30-85D9-985FF95BFF5C}");
    using Base = com::IUnknown;

    virtual void put_AllowMultiSelect(bool allow) = 0;
    virtual void put_StartingLocation(const std::string& path) = 0;
    virtual void put_Title(const std::string& title) = 0;
    virtual void putref_ObjectFilter(const com::ComPtr<ICatalogObjectFilter>& filter) = 0;
    // Shows the browser modally over `parent`. True when the user confirmed; then
    // `selection` walks the chosen objects.
    virtual bool DoModalOpen(winapi::HWND parent, com::ComPtr<IEnumCatalogObject>& selection) = 0;

protected:
    ~ICatalogBrowser() = default;
};

// The component categories in which a plug-in's classes are enrolled, so that the host
// creates them at start-up: toolbar definitions (IToolBarDef), commands (ICommand) and
// extensions (IExtension).
inline constexpr com::GUID CATID_ToolBars = com::guid("{87CF396A-DAE3-46AF-ABEA-C82EA39288F0}");
inline constexpr com::GUID CATID_Commands = com::guid("{DF84FDB5-0C28-4FD4-92A8-4DDC12517A9E}");
inline constexpr com::GUID CATID_Extensions = com::guid("{CED28E6E-0DE6-40E2-BD0A-D5CB910F0311}");
inline constexpr const char* CATID_ToolBarsDescription = "GIS host toolbars";
inline constexpr const char* CATID_CommandsDescription = "GIS host commands";
inline constexpr const char* CATID_ExtensionsDescription = "GIS host extensions";

// Classes that callers create by class identifier.
inline constexpr com::CLSID CLSID_TableWindow = com::guid("{56B425D0-02B3-403E-A96D-052805234BB9}");
inline constexpr com::CLSID CLSID_CatalogBrowser = com::guid("{EAB9CE2A-E777-11D1-AEE7-080009EC734B}");
// The filter that lets a catalog browser choose folders only.
inline constexpr com::CLSID CLSID_FolderFilter = com::guid("{52F78821-299B-11D3-9F5B-00C04F6BC69E}");

}  // namespace gishost
