#include "gishost/app/MainWindow.h"

#include <gdal.h>
#include <ogr_api.h>

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <filesystem>

#include "com/ComponentCategories.h"
#include "com/Error.h"
#include "gishost/app/HostDialogs.h"
#include "gishost/app/HostLocations.h"
#include "gishost/app/HostStatusBar.h"
#include "gishost/app/MapView.h"
#include "gishost/app/PluginCalls.h"
#include "gishost/app/PluginToolbars.h"
#include "gishost/app/QtText.h"
#include "gishost/app/RegistryDamage.h"
#include "gishost/app/TableWindow.h"
#include "gishost/model/Gdal.h"
#include "gishost/model/HostModel.h"
#include "gishost/model/Layers.h"
#include "gishost/model/Map.h"
#include "sysutils/MessageBoxes.h"

namespace gishost::app {
namespace {

constexpr const char* vectorDataFilter =
    "Vector data (*.shp *.gpkg *.geojson *.json *.fgb *.gml *.kml *.sqlite *.csv *.tab *.mif);;All files (*)";
constexpr const char* mapDocumentFilter = "Map documents (*.gmap);;All files (*)";

QIcon swatch(const QColor& colour) {
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(colour.darker(160));
    QColor fill = colour;
    fill.setAlpha(150);
    painter.setBrush(fill);
    painter.drawRect(0, 0, 11, 11);
    return QIcon(pixmap);
}

// The folder a choosing dialog starts in: the last browse location, else the document's.
std::string startingFolder(const std::string& documentPath) {
    if (const std::optional<std::string> last = lastBrowseLocation()) return *last;
    return documentPath.empty() ? std::string() : std::filesystem::path(documentPath).parent_path().string();
}

}  // namespace

std::string untitledDocumentPath() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    return ((error ? std::filesystem::path("/") : folder) / "Untitled.gmap").string();
}

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("%1 - Untitled").arg(QString::fromUtf8(hostTitle)));
    mapView_ = new MapView(this);
    mapView_->setObjectName(QStringLiteral("mapView"));
    setCentralWidget(mapView_);
    layerTree_ = new QTreeWidget(this);
    layerTree_->setObjectName(QStringLiteral("layerTree"));
    layerTree_->setHeaderHidden(true);
    auto* dock = new QDockWidget(QStringLiteral("Layers"), this);
    dock->setObjectName(QStringLiteral("layersDock"));
    dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    dock->setWidget(layerTree_);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
    statusBar_ = com::make<HostStatusBar, HostStatusBar>(statusBar());
    createMenus();
    setTableWindowOwner(this);

    document_ = model::makeMxDocument(model::makeMap(mapName_, {}));
    application_ = model::makeApplication(document_, {untitledDocumentPath()}, statusBar_.as<IStatusBar>());
    // Plug-ins registered in a damaged hive may be missing: say why, once, before they are looked for.
    if (const std::string damaged = damagedRegistryText(); !damaged.empty())
        sysutils::messageBoxes().show({damaged + "\n\n" + damagedRegistryAtStartUp, hostTitle,
                                       sysutils::MessageButtons::Ok, sysutils::MessageIcon::Exclamation});
    // Extensions first: commands look theirs up when they are handed the application.
    loadExtensions();
    toolbars_ =
        std::make_unique<PluginToolbars>(*this, application_, [this](const std::string& message) { tell(message); });
    toolbars_->build();
    starting_ = false;
    if (!startMessages_.empty()) {
        std::string joined;
        for (const std::string& message : startMessages_) joined += (joined.empty() ? "" : "  |  ") + message;
        statusBar_->put_Message(0, joined);
    }
    resize(1100, 760);
}

MainWindow::~MainWindow() {
    // Commands first, then the extensions they refer to; the table windows close with us.
    toolbars_->releaseCommands();
    guarded("shutting the extensions down", [&] { model::shutdownExtensions(application_); });
    setTableWindowOwner(nullptr);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isWindow()) child->close();
    QMainWindow::closeEvent(event);
}

void MainWindow::createMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* open = file->addAction(QStringLiteral("&Open Map Document..."), this, [this] { chooseMapDocument(); });
    open->setObjectName(QStringLiteral("openMapDocument"));
    open->setShortcut(QKeySequence::Open);
    QAction* add = file->addAction(QStringLiteral("&Add Data..."), this, [this] { chooseData(); });
    add->setObjectName(QStringLiteral("addData"));
    file->addSeparator();
    QAction* exit = file->addAction(QStringLiteral("E&xit"), this, [this] { close(); });
    exit->setObjectName(QStringLiteral("exit"));
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    QAction* all = view->addAction(QStringLiteral("&Zoom to All"), this, [this] { zoomToAll(); });
    all->setObjectName(QStringLiteral("zoomToAll"));
    QToolBar* tools = addToolBar(QStringLiteral("Map"));
    tools->setObjectName(QStringLiteral("mapToolbar"));
    tools->addAction(all);
}

void MainWindow::loadExtensions() {
    for (const com::CLSID& clsid : com::classesInCategory(CATID_Extensions)) {
        const std::string name = com::toString(clsid);
        try {
            model::loadExtension(application_, name);
        } catch (const com::Error& error) {
            if (error.Number == com::errors::CannotCreateObject || error.Number == com::errors::TypeMismatch) {
                tell("The extension " + name + " could not be created: " + describeFailure(std::current_exception()));
            } else {
                reportPluginFailure("starting the extension " + name, std::current_exception());
            }
        } catch (...) {
            reportPluginFailure("starting the extension " + name, std::current_exception());
        }
    }
}

void MainWindow::tell(const std::string& message) {
    if (starting_) {
        startMessages_.push_back(message);
    } else {
        statusBar_->put_Message(0, message);
    }
}

void MainWindow::chooseMapDocument() {
    ChooseRequest request;
    request.title = "Open Map Document";
    request.startingLocation = startingFolder(documentPath_);
    request.filter = mapDocumentFilter;
    const auto chosen = hostDialogs().choose(request);
    if (!chosen || chosen->empty()) return;
    rememberChosenFile(chosen->front());
    openMapDocument(chosen->front());
}

void MainWindow::chooseData() {
    ChooseRequest request;
    request.title = "Add Data";
    request.startingLocation = startingFolder(documentPath_);
    request.filter = vectorDataFilter;
    request.multiple = true;
    const auto chosen = hostDialogs().choose(request);
    if (!chosen || chosen->empty()) return;
    rememberChosenFile(chosen->front());
    addData(*chosen);
}

bool MainWindow::openMapDocument(const std::string& path) {
    MapDocument document;
    std::error_code error;
    const std::string fullPath = std::filesystem::absolute(path, error).lexically_normal().string();
    try {
        document = readMapDocument(fullPath);
    } catch (const MapDocumentError& failure) {
        sysutils::messageBoxes().show({"The map document " + fullPath + " cannot be opened:\n\n" + failure.what(),
                                       hostTitle, sysutils::MessageButtons::Ok, sysutils::MessageIcon::Exclamation});
        return false;
    }
    std::vector<ShownLayer> layers;
    for (const MapDocumentLayer& description : document.layers) layers.push_back(showLayer(description));
    documentPath_ = fullPath;
    model::setTemplates(application_, {documentPath_});
    setWindowTitle(QStringLiteral("%1 - %2").arg(QString::fromUtf8(hostTitle),
                                                 qtText(std::filesystem::path(fullPath).filename().string())));
    showMap(document.mapName, std::move(layers), {});
    zoomToAll();
    return true;
}

bool MainWindow::addData(const std::vector<std::string>& paths) {
    std::vector<MapDocumentLayer> added;
    const bool all = describeSources(paths, added);
    std::vector<ShownLayer> layers = layers_;
    for (const MapDocumentLayer& description : added) layers.push_back(showLayer(description));
    // The map's standalone tables stay with it.
    std::vector<com::ComPtr<IStandaloneTable>> tables;
    if (const auto collection = document_->FocusMap().tryAs<IStandaloneTableCollection>())
        for (std::int32_t k = 0; k < collection->StandaloneTableCount(); ++k)
            tables.push_back(collection->StandaloneTable(k));
    const bool wasEmpty = layers_.empty();
    showMap(mapName_, std::move(layers), std::move(tables));
    if (wasEmpty) zoomToAll();
    return all;
}

bool MainWindow::describeSources(const std::vector<std::string>& paths, std::vector<MapDocumentLayer>& layers) {
    std::string refused;
    for (const std::string& given : paths) {
        std::error_code error;
        const std::string path = model::gdal::isVirtualSource(given)
                                     ? given
                                     : std::filesystem::absolute(given, error).lexically_normal().string();
        std::string why;
        const model::gdal::Dataset dataset = model::gdal::open(path, GDAL_OF_VECTOR, why);
        const int count = dataset ? GDALDatasetGetLayerCount(dataset.get()) : 0;
        if (!dataset || count <= 0) {
            refused += "\n" + path + ": " + (dataset ? "it holds no layer" : why);
            continue;
        }
        for (int k = 0; k < count; ++k) {
            MapDocumentLayer layer;
            layer.source = path;
            layer.layerName = OGR_L_GetName(GDALDatasetGetLayer(dataset.get(), k));
            layer.name = layer.layerName;
            layers.push_back(std::move(layer));
        }
    }
    if (refused.empty()) return true;
    sysutils::messageBoxes().show({"These data sources cannot be added:\n" + refused, hostTitle,
                                   sysutils::MessageButtons::Ok, sysutils::MessageIcon::Exclamation});
    return false;
}

MainWindow::ShownLayer MainWindow::showLayer(const MapDocumentLayer& description) {
    ShownLayer shown;
    shown.description = description;
    if (description.kind == MapDocumentLayer::Kind::Group) {
        std::vector<com::ComPtr<ILayer>> members;
        for (const MapDocumentLayer& member : description.layers) {
            shown.members.push_back(showLayer(member));
            members.push_back(shown.members.back().layer);
        }
        shown.layer = model::makeGroupLayer(description.name, std::move(members));
        return shown;
    }
    shown.layer = model::openFeatureLayer(description.source, description.layerName, description.name);
    try {
        shown.drawing =
            std::make_shared<const LayerDrawing>(readLayerDrawing(description.source, description.layerName));
    } catch (const LayerDrawingError& error) {
        shown.problem = error.what();
    }
    return shown;
}

void MainWindow::showMap(const std::string& mapName, std::vector<ShownLayer> layers,
                         std::vector<com::ComPtr<IStandaloneTable>> tables) {
    std::vector<com::ComPtr<ILayer>> mapLayers;
    for (const ShownLayer& layer : layers) mapLayers.push_back(layer.layer);
    model::setFocusMap(document_, model::makeMap(mapName, std::move(mapLayers), std::move(tables)));
    mapName_ = mapName;
    layers_ = std::move(layers);
    layerTree_->clear();
    std::size_t colour = 0;
    std::vector<DrawnLayer> drawn;
    fillTree(nullptr, layers_, colour, drawn);
    layerTree_->expandAll();
    mapView_->setLayers(std::move(drawn));
}

void MainWindow::fillTree(QTreeWidgetItem* parent, const std::vector<ShownLayer>& layers, std::size_t& colour,
                          std::vector<DrawnLayer>& drawn) {
    for (const ShownLayer& layer : layers) {
        auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(layerTree_);
        QString text = qtText(layer.description.name);
        if (layer.description.kind == MapDocumentLayer::Kind::Group) {
            item->setText(0, text);
            QFont bold = item->font(0);
            bold.setBold(true);
            item->setFont(0, bold);
            fillTree(item, layer.members, colour, drawn);
            continue;
        }
        if (!layer.drawing) {
            item->setText(0, text + QStringLiteral(" (invalid)"));
            item->setForeground(0, QColor(160, 0, 0));
            item->setToolTip(0, qtText(layer.problem));  // it names the source
            continue;
        }
        const QColor layerColour = layerColor(colour++);
        item->setText(0, text);
        item->setIcon(0, swatch(layerColour));
        item->setToolTip(0, qtText(layer.description.source));
        drawn.push_back({layer.drawing, layerColour});
    }
}

void MainWindow::zoomToAll() { mapView_->zoomToAll(); }

}  // namespace gishost::app
