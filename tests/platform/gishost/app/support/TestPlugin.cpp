// The test plug-in: a toolbar definition of three items (a command that records its
// calls, drives the status bar and shows a new dBASE table in a table window; a failing
// command that starts a group; a command that is not registered), the extension that
// keeps the log, and the four entry points of a self-registering server.
#include "TestPlugin.h"

#include <QBuffer>
#include <QImage>
#include <filesystem>
#include <memory>

#include "com/ClassFactory.h"
#include "com/Creation.h"
#include "com/InprocServer.h"
#include "com/TypeLibrary.h"
#include "forms/Picture.h"
#include "gishost/Framework.h"

namespace {

using namespace gishost;
using test_plugin::ITestLog;

class Extension final : public com::Object<IExtension, ITestLog> {
public:
    std::string Name() override { return "TestPlugin_Extension"; }
    void Startup(const com::Variant& data) override {
        const bool application =
            data.is<com::ComPtr<com::IUnknown>>() && data.get<com::ComPtr<com::IUnknown>>().tryAs<IApplication>();
        Record(application ? "Startup(application)" : "Startup(something else)");
    }
    void Shutdown() override { Record("Shutdown"); }
    void Record(const std::string& call) override { calls_.push_back(call); }
    std::vector<std::string> Calls() override { return calls_; }

private:
    std::vector<std::string> calls_;
};

com::ComPtr<IUID> uidOf(const std::string& value) {
    const auto uid = com::createInstanceAs<IUID>(CLSID_UID);
    uid->put_Value(value);
    return uid;
}

// A 16 x 16 bitmap: magenta all round a black square.
std::shared_ptr<forms::Picture> squareBitmap() {
    QImage image(16, 16, QImage::Format_RGB888);
    image.fill(QColor(255, 0, 255));
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x) image.setPixelColor(x, y, Qt::black);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return forms::Picture::fromBitmapFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

// What both commands share: the application and the log, found through it.
class Command : public com::Object<ICommand> {
public:
    bool Enabled() override { return true; }
    std::string HelpFile() override { return {}; }
    std::int32_t HelpContextID() override { return 0; }
    std::string Category() override { return "Test Commands"; }
    void OnCreate(const com::ComPtr<com::IUnknown>& hook) override {
        application_ = hook.as<IApplication>();
        const com::ComPtr<IExtension> extension =
            application_->FindExtensionByCLSID(uidOf(test_plugin::ProgID_Extension));
        if (!extension) throw com::Error(1001, "TestPlugin", "The extension was not loaded before the command");
        log_ = extension.as<ITestLog>();
        log_->Record(Name() + ".OnCreate");
    }

protected:
    com::ComPtr<IApplication> application_;
    com::ComPtr<ITestLog> log_;
};

class RecordingCommand final : public Command {
public:
    bool Checked() override { return false; }
    std::string Name() override { return "TestPlugin_Record"; }
    std::string Caption() override { return "Record Things"; }
    std::string Tooltip() override { return "Record things and fill a table"; }
    std::string Message() override { return "Records its calls, steps the progress bar and fills a table"; }
    std::int32_t Bitmap() override { return bitmap_->Handle(); }

    void OnClick() override {
        ++clicks_;
        log_->Record("TestPlugin_Record.OnClick");
        const com::ComPtr<IStatusBar> statusBar = application_->StatusBar();
        statusBar->ShowProgressBar("Counting", 0, 10, 1, true);
        for (int k = 0; k < 3; ++k) statusBar->StepProgressBar();
        statusBar->put_Message(0, "Counted 3 of 10");
        showNewTable();
    }

private:
    // A table "visits<click>" of two rows beside the map document, in a table window.
    void showNewTable() {
        const com::ComPtr<ITemplates> templates = application_->Templates();
        const std::string folder =
            std::filesystem::path(templates->Item(templates->Count() - 1)).parent_path().string();
        const auto workspace = com::createInstanceAs<IWorkspaceFactory>(CLSID_ShapefileWorkspaceFactory)
                                   ->OpenFromFile(folder, nullptr)
                                   .as<IFeatureWorkspace>();
        const auto fields = com::createInstanceAs<IFields>(CLSID_Fields);
        const auto id = com::createInstanceAs<IFieldEdit>(CLSID_Field);
        id->put_Name("ID");
        id->put_Type(fieldType::Integer);
        id->put_Precision(9);
        const auto place = com::createInstanceAs<IFieldEdit>(CLSID_Field);
        place->put_Name("Place");
        place->put_Type(fieldType::String);
        place->put_Length(20);
        fields.as<IFieldsEdit>()->AddField(id.as<IField>());
        fields.as<IFieldsEdit>()->AddField(place.as<IField>());
        const com::ComPtr<ITable> table =
            workspace->CreateTable("visits" + std::to_string(clicks_), fields, nullptr, nullptr, "");
        const com::ComPtr<ICursor> cursor = table->Insert(true);
        const com::ComPtr<IRowBuffer> row = table->CreateRowBuffer();
        const struct {
            std::int32_t id;
            const char* place;
        } rows[] = {{7, "M\xE4rsta"}, {9, "Ume\xE5"}};  // Windows-1252 texts
        for (const auto& each : rows) {
            row->put_Value(table->FindField("ID"), com::Variant(each.id));
            row->put_Value(table->FindField("Place"), com::Variant(std::string(each.place)));
            cursor->InsertRow(row);
        }
        cursor->Flush();
        const auto standalone = com::createInstanceAs<IStandaloneTable>(CLSID_StandaloneTable);
        standalone->putref_Table(table);
        const auto window = com::createInstanceAs<ITableWindow2>(CLSID_TableWindow);
        window->putref_StandaloneTable(standalone);
        window->putref_Application(application_);
        window->put_RowSelection(2);
        window->put_ShowAliasNames(true);
        window->put_ShowSelectedOnly(false);
        window->Show(true);
        log_->Record(std::string("TableWindow.IsVisible = ") + (window->IsVisible() ? "True" : "False"));
        application_->Document()->FocusMap().as<IStandaloneTableCollection>()->AddStandaloneTable(standalone);
    }

    std::shared_ptr<forms::Picture> bitmap_ = squareBitmap();
    int clicks_ = 0;
};

class FailingCommand final : public Command {
public:
    bool Checked() override { return true; }
    std::string Name() override { return "TestPlugin_Fail"; }
    std::string Caption() override { return "Fail"; }
    std::string Tooltip() override { return "Fail at once"; }
    std::string Message() override { return "Raises an error"; }
    std::int32_t Bitmap() override { return 0; }
    void OnClick() override {
        log_->Record("TestPlugin_Fail.OnClick");
        throw com::Error(1234, "TestPlugin", "The failing command failed");
    }
};

class ToolBar final : public com::Object<IToolBarDef> {
public:
    std::int32_t ItemCount() override { return 3; }
    void GetItemInfo(std::int32_t position, const com::ComPtr<IItemDef>& item) override {
        if (position == 0) item->put_ID("TestPlugin.RecordingCommand");
        if (position == 1) {
            item->put_ID("TestPlugin.FailingCommand");
            item->put_Group(true);
        }
        if (position == 2) item->put_ID(test_plugin::ProgID_Missing);
    }
    std::string Name() override { return "TestPlugin_ToolBar"; }
    std::string Caption() override { return "Test Tools"; }
};

COM_TYPE_LIBRARY_SECTION const char testPluginTypeLibrary[] =
    "TYPELIB 1\n"
    "library TestPlugin {9D1F4A20-6C3B-4E8A-B7D2-5A0E3C9F1B70} 1.0 0x409\n"
    "import stdole2.tlb {00020430-0000-0000-C000-000000000046} 2.0\n"
    "interface _ToolBar {9D1F4A20-6C3B-4E8A-B7D2-5A0E3C9F1B81} IDispatch hidden,dual\n"
    "interface _RecordingCommand {9D1F4A20-6C3B-4E8A-B7D2-5A0E3C9F1B82} IDispatch hidden,dual\n"
    "interface _FailingCommand {9D1F4A20-6C3B-4E8A-B7D2-5A0E3C9F1B83} IDispatch hidden,dual\n"
    "interface _Extension {9D1F4A20-6C3B-4E8A-B7D2-5A0E3C9F1B84} IDispatch hidden,dual\n"
    "coclass ToolBar {9D1F4A20-6C3B-4E8A-B7D2-5A0E3C9F1B71} creatable\n"
    "implements _ToolBar {9D1F4A20-6C3B-4E8A-B7D2-5A0E3C9F1B81} default\n"
    "implements IToolBarDef {61B318F0-CDA0-11D1-B9A8-080009EE4E51} -\n"
    "coclass RecordingCommand {9D1F4A20-6C3B-4E8A-B7D2-5A0E3C9F1B72} creatable\n"
    "implements _RecordingCommand {9D1F4A20-6C3B-4E8A-B7D2-5A0E3C9F1B82} default\n"
    "implements ICommand {36B06538-4437-11D1-B970-080009EE4E51} -\n"
    "coclass FailingCommand {9D1F4A20-6C3B-4E8A-B7D2-5A0E3C9F1B73} creatable\n"
    "implements _FailingCommand {9D1F4A20-6C3B-4E8A-B7D2-5A0E3C9F1B83} default\n"
    "implements ICommand {36B06538-4437-11D1-B970-080009EE4E51} -\n"
    "coclass Extension {9D1F4A20-6C3B-4E8A-B7D2-5A0E3C9F1B74} creatable\n"
    "implements _Extension {9D1F4A20-6C3B-4E8A-B7D2-5A0E3C9F1B84} default\n"
    "implements IExtension {7F657EC9-DBF1-11D2-9F2F-00C04F6BC69E} -\n";

const com::ServerDescription& description() {
    static const com::ServerDescription server{
        {{"ToolBar", test_plugin::CLSID_ToolBar, "TestPlugin.ToolBar", &com::classFactory<ToolBar>},
         {"RecordingCommand", test_plugin::CLSID_RecordingCommand, "TestPlugin.RecordingCommand",
          &com::classFactory<RecordingCommand>},
         {"FailingCommand", test_plugin::CLSID_FailingCommand, "TestPlugin.FailingCommand",
          &com::classFactory<FailingCommand>},
         {"Extension", test_plugin::CLSID_Extension, test_plugin::ProgID_Extension, &com::classFactory<Extension>}},
        testPluginTypeLibrary};
    return server;
}

}  // namespace

#ifndef TEST_PLUGIN_KEEPS_ITS_KEYS
COM_INPROC_SERVER_EXPORTS(description())
#else
// A faulty build of the plug-in: its DllUnregisterServer says it succeeded and removes nothing.
extern "C" {
__attribute__((visibility("default"))) com::HRESULT DllCanUnloadNow() { return com::serverCanUnloadNow(); }
__attribute__((visibility("default"))) com::HRESULT DllGetClassObject(const com::CLSID& clsid, const com::IID& iid,
                                                                      void** object) {
    return com::serverGetClassObject(description(), clsid, iid, object);
}
__attribute__((visibility("default"))) com::HRESULT DllRegisterServer() {
    return com::serverRegister(description(), com::thisModulePath());
}
__attribute__((visibility("default"))) com::HRESULT DllUnregisterServer() { return com::S_OK; }
}
#endif
