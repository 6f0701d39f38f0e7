#include "gis_extension/VeltranoServer.h"

#include "com/ClassFactory.h"
#include "com/TypeLibrary.h"
#include "gis_extension/clsExtension.h"
#include "gis_extension/clsManual.h"
#include "gis_extension/clsToolBar.h"
#include "gis_extension/cmdWithinDistance.h"

namespace gis_extension {
namespace {

// Each class implements its own default interface (flagged default) and the host's
// interface through which the host uses it. The accessors of _clsExtension come in
// pairs, the write accessor first, under one dispatch identifier per property.
COM_TYPE_LIBRARY_SECTION const char veltranoTypeLibrary[] =
    "TYPELIB 1\n"
    "library Veltrano {C0E9F73D-2332-4165-9A35-C631CAEAE4DB} 1.0 0x409\n"
    "import stdole2.tlb {00020430-0000-0000-C000-000000000046} 2.0\n"
    "import esriSystemUI.olb {4ECCA6E2-B16B-4ACA-BD17-E74CAE4C150A} 1.0\n"
    "import esriCarto.olb {45AC68FF-DEFF-4884-B3A9-7D882EDCAEF1} 1.0\n"
    "import esriSystem.olb {5E1F7BC3-67C5-4AEE-8EC6-C4B73AAC42ED} 1.0\n"
    "interface _clsToolBar {6B842D07-C277-4B86-B1A0-E88C2585E949} IDispatch hidden,dual,nonextensible,oleautomation\n"
    "interface _cmdWithinDistance {7A5D3FB5-E917-4057-B2F5-1795B053DD4A} IDispatch "
    "hidden,dual,nonextensible,oleautomation\n"
    "interface _clsManual {F20263F6-F781-4794-BF1C-015ED8657501} IDispatch hidden,dual,nonextensible,oleautomation\n"
    "interface _clsExtension {8E6C04AB-72D1-4566-A5A6-17A66376BE8E} IDispatch hidden,dual,nonextensible,oleautomation\n"
    "member propput ReportOfAnalysis 1745027082 BSTR\n"
    "member propget ReportOfAnalysis 1745027082 BSTR\n"
    "member propput DistanceLimit 1745027081 double\n"
    "member propget DistanceLimit 1745027081 double\n"
    "member propput CalcNumberDBase 1745027080 VARIANT_BOOL\n"
    "member propget CalcNumberDBase 1745027080 VARIANT_BOOL\n"
    "member propput CalcDistanceDBase 1745027079 VARIANT_BOOL\n"
    "member propget CalcDistanceDBase 1745027079 VARIANT_BOOL\n"
    "member propput CalcDistanceASCII 1745027078 VARIANT_BOOL\n"
    "member propget CalcDistanceASCII 1745027078 VARIANT_BOOL\n"
    "member propputref SelectedLayer 1745027077 IFeatureLayer*\n"
    "member propget SelectedLayer 1745027077 IFeatureLayer*\n"
    "member propput DirectoryPath 1745027076 BSTR\n"
    "member propget DirectoryPath 1745027076 BSTR\n"
    "member propput FieldName 1745027075 BSTR\n"
    "member propget FieldName 1745027075 BSTR\n"
    "member propput AttributeFieldName 1745027074 BSTR\n"
    "member propget AttributeFieldName 1745027074 BSTR\n"
    "member propput CalcAllFeatures 1745027073 VARIANT_BOOL\n"
    "member propget CalcAllFeatures 1745027073 VARIANT_BOOL\n"
    "member propput ShouldContinue 1745027072 VARIANT_BOOL\n"
    "member propget ShouldContinue 1745027072 VARIANT_BOOL\n"
    "coclass clsToolBar {F25B4313-8895-43AE-A320-8262600ED714} creatable\n"
    "implements _clsToolBar {6B842D07-C277-4B86-B1A0-E88C2585E949} default\n"
    "implements IToolBarDef {61B318F0-CDA0-11D1-B9A8-080009EE4E51} -\n"
    "coclass cmdWithinDistance {E66B3CE2-5474-477E-8846-511D81E27033} creatable\n"
    "implements _cmdWithinDistance {7A5D3FB5-E917-4057-B2F5-1795B053DD4A} default\n"
    "implements ICommand {36B06538-4437-11D1-B970-080009EE4E51} -\n"
    "coclass clsManual {DE890070-76AD-4C9F-BC55-BEFF602CA0A8} creatable\n"
    "implements _clsManual {F20263F6-F781-4794-BF1C-015ED8657501} default\n"
    "implements ICommand {36B06538-4437-11D1-B970-080009EE4E51} -\n"
    "coclass clsExtension {3645C76C-F3EA-47CB-B5D8-27A4DA04926D} creatable\n"
    "implements _clsExtension {8E6C04AB-72D1-4566-A5A6-17A66376BE8E} default\n"
    "implements IExtension {7F657EC9-DBF1-11D2-9F2F-00C04F6BC69E} -\n";

}  // namespace

const com::ServerDescription& VeltranoServer() {
    static const com::ServerDescription server{
        {
            {"clsToolBar", CLSID_clsToolBar, ProgID_clsToolBar, &com::classFactory<clsToolBar>},
            {"cmdWithinDistance", CLSID_cmdWithinDistance, ProgID_cmdWithinDistance,
             &com::classFactory<cmdWithinDistance>},
            {"clsManual", CLSID_clsManual, ProgID_clsManual, &com::classFactory<clsManual>},
            {"clsExtension", CLSID_clsExtension, ProgID_clsExtension, &com::classFactory<clsExtension>},
        },
        veltranoTypeLibrary};
    return server;
}

}  // namespace gis_extension
