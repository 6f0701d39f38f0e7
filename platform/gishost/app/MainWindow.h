#pragma once
// The host program's main window. On construction it builds the application (an empty
// map in an untitled document, the status bar on this window), creates the enrolled
// extensions and then the enrolled toolbars with their commands. The File menu opens a
// map document or adds vector data; the layer tree lists the map's layers (group layers
// with theirs; a layer whose source cannot be read is marked and not drawn) and the map
// view draws them. On destruction the commands are let go and the extensions shut down.
#include <QMainWindow>
#include <memory>
#include <string>
#include <vector>

#include "com/ComPtr.h"
#include "gishost/Framework.h"
#include "gishost/app/LayerDrawing.h"
#include "gishost/app/MapDocument.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace gishost::app {

struct DrawnLayer;
class HostStatusBar;
class MapView;
class PluginToolbars;

class MainWindow : public QMainWindow {
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Opens the map document at `path` in place of the map shown; a document that cannot
    // be read is explained in a message box, and the map shown stays. True when opened.
    bool openMapDocument(const std::string& path);
    // Adds every layer of each vector data source to the map; a source that cannot be
    // opened is explained in a message box. True when all were added.
    bool addData(const std::vector<std::string>& paths);
    void zoomToAll();

    com::ComPtr<IApplication> application() const { return application_; }
    MapView& mapView() const { return *mapView_; }
    QTreeWidget& layerTree() const { return *layerTree_; }
    HostStatusBar& hostStatusBar() const { return *statusBar_; }
    PluginToolbars& pluginToolbars() const { return *toolbars_; }

protected:
    // Closes the table windows too, so that the program ends with its main window.
    void closeEvent(QCloseEvent* event) override;

private:
    // A layer of the map with what the window shows of it.
    struct ShownLayer {
        MapDocumentLayer description;
        com::ComPtr<ILayer> layer;
        std::shared_ptr<const LayerDrawing> drawing;  // feature layers that could be read
        std::string problem;                          // why a layer is not drawn
        std::vector<ShownLayer> members;              // a group's layers
    };

    void createMenus();
    void loadExtensions();
    void tell(const std::string& message);
    void chooseMapDocument();
    void chooseData();

    ShownLayer showLayer(const MapDocumentLayer& description);
    // The layers of every vector data source, or a message box for those that fail.
    bool describeSources(const std::vector<std::string>& paths, std::vector<MapDocumentLayer>& layers);
    void showMap(const std::string& mapName, std::vector<ShownLayer> layers,
                 std::vector<com::ComPtr<IStandaloneTable>> tables);
    void fillTree(QTreeWidgetItem* parent, const std::vector<ShownLayer>& layers, std::size_t& colour,
                  std::vector<DrawnLayer>& drawn);

    com::ComPtr<IMxDocument> document_;
    com::ComPtr<IApplication> application_;
    com::ComPtr<HostStatusBar> statusBar_;
    MapView* mapView_;
    QTreeWidget* layerTree_;
    std::unique_ptr<PluginToolbars> toolbars_;
    std::vector<ShownLayer> layers_;
    std::string mapName_ = "Layers";
    std::string documentPath_;
    bool starting_ = true;
    std::vector<std::string> startMessages_;
};

// The template list of an untitled document: the path it would have in the current folder.
std::string untitledDocumentPath();

}  // namespace gishost::app
