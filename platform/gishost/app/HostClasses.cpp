#include "gishost/app/HostClasses.h"

#include "com/ClassFactory.h"
#include "com/ClassTable.h"
#include "forms/ErrorReportWindow.h"
#include "forms/WindowFrame.h"
#include "gishost/app/CatalogBrowser.h"
#include "gishost/app/TableWindow.h"
#include "gishost/model/HostModel.h"

namespace gishost::app {

void registerHostProgramClasses() {
    model::registerHostClasses();
    com::registerClass(CLSID_TableWindow, "", com::classFactory<TableWindow>());
    com::registerClass(CLSID_CatalogBrowser, "", com::classFactory<CatalogBrowser>());
    forms::registerErrorReportWindowClass();
    forms::registerWindowFrameClass();
}

}  // namespace gishost::app
