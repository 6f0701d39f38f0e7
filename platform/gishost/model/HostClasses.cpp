// The host's creatable classes in the process's class table.
#include "com/ClassFactory.h"
#include "com/ClassTable.h"
#include "gishost/model/CatalogBrowser.h"
#include "gishost/model/DbaseWorkspace.h"
#include "gishost/model/FeatureClass.h"
#include "gishost/model/Fields.h"
#include "gishost/model/HostModel.h"
#include "gishost/model/Map.h"
#include "gishost/model/SystemObjects.h"
#include "gishost/model/TableWindow.h"

namespace gishost::model {

void registerHostClasses() {
    com::registerClass(CLSID_UID, "", com::classFactory<UID>());
    com::registerClass(CLSID_Array, "", com::classFactory<Array>());
    com::registerClass(CLSID_Field, "", com::classFactory<Field>());
    com::registerClass(CLSID_Fields, "", com::classFactory<Fields>());
    com::registerClass(CLSID_SpatialFilter, "", com::classFactory<SpatialFilter>());
    com::registerClass(CLSID_ShapefileWorkspaceFactory, "", com::classFactory<ShapefileWorkspaceFactory>());
    com::registerClass(CLSID_StandaloneTable, "", com::classFactory<StandaloneTable>());
    com::registerClass(CLSID_TableWindow, "", com::classFactory<TableWindow>());
    com::registerClass(CLSID_CatalogBrowser, "", com::classFactory<CatalogBrowser>());
    com::registerClass(CLSID_FolderFilter, "", com::classFactory<FolderFilter>());
}

}  // namespace gishost::model
