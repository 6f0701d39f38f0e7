// The application built around a map: its document, templates, extensions found by
// class, the status bar and table windows that record their calls, the scripted folder
// browser, and the classes callers create by class identifier.
#include <gtest/gtest.h>

#include "com/ClassFactory.h"
#include "com/Creation.h"
#include "gishost/model/HostModel.h"
#include "gishost/model/Recording.h"
#include "support/TestFiles.h"

namespace {

using namespace gishost;

// An extension that counts its start-ups and shut-downs.
class CountingExtension final : public com::Object<IExtension> {
public:
    std::string Name() override { return "counting"; }
    void Startup(const com::Variant& data) override {
        ++startups;
        startedWithApplication = data.is<com::ComPtr<com::IUnknown>>();
    }
    void Shutdown() override { ++shutdowns; }

    static inline int startups = 0;
    static inline int shutdowns = 0;
    static inline bool startedWithApplication = false;
};

constexpr com::CLSID CLSID_Counting = com::guid("{5B3CCE98-CAEA-4301-9772-8D39E72FDA6B}");

com::ComPtr<IUID> uidOf(const std::string& value) {
    const auto uid = com::createInstanceAs<IUID>(CLSID_UID);
    uid->put_Value(value);
    return uid;
}

class Application : public ::testing::Test {
protected:
    void SetUp() override { model::registerHostClasses(); }

    com::ComPtr<IMap> map_ = model::makeMap("Layers", {});
    com::ComPtr<IApplication> application_ =
        model::makeApplication(model::makeMxDocument(map_), {"/maps/normal.template", "/maps/study.map"});
};

TEST_F(Application, FindsTheOneLoadedExtensionOfAClass) {
    com::ScopedClassRegistration registration(CLSID_Counting, "Test.Counting", com::classFactory<CountingExtension>());
    CountingExtension::startups = CountingExtension::shutdowns = 0;
    EXPECT_FALSE(application_->FindExtensionByCLSID(uidOf("Test.Counting")));
    const auto loaded = model::loadExtension(application_, "Test.Counting");
    EXPECT_EQ(model::loadExtension(application_, com::toString(CLSID_Counting)).get(), loaded.get());
    EXPECT_EQ(CountingExtension::startups, 1);
    EXPECT_TRUE(CountingExtension::startedWithApplication);
    EXPECT_EQ(application_->FindExtensionByCLSID(uidOf("Test.Counting")).get(), loaded.get());
    EXPECT_EQ(application_->FindExtensionByCLSID(uidOf(com::toString(CLSID_Counting))).get(), loaded.get());
    EXPECT_FALSE(application_->FindExtensionByCLSID(uidOf("Test.Unknown")));
    model::shutdownExtensions(application_);
    EXPECT_EQ(CountingExtension::shutdowns, 1);
    EXPECT_FALSE(application_->FindExtensionByCLSID(uidOf("Test.Counting")));
}

// An extension whose shut-down fails.
class FailingExtension final : public com::Object<IExtension> {
public:
    std::string Name() override { return "failing"; }
    void Startup(const com::Variant&) override {}
    void Shutdown() override { throw com::Error(5, "failing", "cannot shut down"); }
};

constexpr com::CLSID CLSID_Failing = com::guid("{5B3CCE98-CAEA-4301-9772-8D39E72FDA6C}");

TEST_F(Application, ShutsEveryExtensionDownWhenOneFails) {
    com::ScopedClassRegistration failing(CLSID_Failing, "Test.Failing", com::classFactory<FailingExtension>());
    com::ScopedClassRegistration counting(CLSID_Counting, "Test.Counting", com::classFactory<CountingExtension>());
    CountingExtension::shutdowns = 0;
    model::loadExtension(application_, "Test.Failing");
    model::loadExtension(application_, "Test.Counting");
    EXPECT_THROW(model::shutdownExtensions(application_), com::Error);
    EXPECT_EQ(CountingExtension::shutdowns, 1);
    EXPECT_FALSE(application_->FindExtensionByCLSID(uidOf("Test.Failing")));
}

TEST_F(Application, ShowsAnotherMapAndTemplatesInTheSameDocument) {
    const com::ComPtr<IMxDocument> document = application_->Document();
    const com::ComPtr<IMap> other = model::makeMap("Other", {});
    model::setFocusMap(document, other);
    model::setTemplates(application_, {"/maps/other.map"});
    EXPECT_TRUE(com::sameObject(application_->Document(), document)) << "what plug-ins keep stays valid";
    EXPECT_TRUE(com::sameObject(document->FocusMap(), other));
    EXPECT_EQ(application_->Templates()->Count(), 1);
    EXPECT_EQ(application_->Templates()->Item(0), "/maps/other.map");
}

TEST_F(Application, GivesItsDocumentTemplatesAndARecordingStatusBar) {
    EXPECT_TRUE(com::sameObject(application_->Document()->FocusMap(), map_));
    const auto templates = application_->Templates();
    EXPECT_EQ(templates->Item(templates->Count() - 1), "/maps/study.map");
    EXPECT_THROW(templates->Item(2), com::Error);

    const auto statusBar = application_->StatusBar();
    statusBar->ShowProgressBar("Calculating #1", 1, 3, 1, true);
    statusBar->ProgressBar()->put_Position(1);
    statusBar->put_Message(0, "Calculating #2");
    for (int k = 0; k < 5; ++k) statusBar->StepProgressBar();
    EXPECT_EQ(statusBar->ProgressBar()->Position(), 3) << "the position never passes the maximum";
    statusBar->HideProgressBar();
    const auto calls = model::recordedCalls(statusBar);
    EXPECT_EQ(calls.front(), "ShowProgressBar(Calculating #1, 1, 3, 1, True)");
    EXPECT_EQ(calls[1], "ProgressBar.Position = 1");
    EXPECT_EQ(calls[2], "Message(0) = Calculating #2");
    EXPECT_EQ(calls.back(), "HideProgressBar");

    application_->Document().as<IDocumentNotification>()->ContentsChanged();
    EXPECT_EQ(model::recordedCalls(application_->Document()), (std::vector<std::string>{"ContentsChanged"}));
}

TEST_F(Application, ListsTheTableWindowsShownAndTheTablesAdded) {
    const auto table = com::createInstanceAs<IStandaloneTable>(CLSID_StandaloneTable);
    table->put_Name("count");
    const auto window = com::createInstanceAs<ITableWindow2>(CLSID_TableWindow);
    window->putref_StandaloneTable(table);
    window->putref_Application(application_);
    window->put_RowSelection(2);
    window->put_ShowAliasNames(true);
    window->put_ShowSelectedOnly(false);
    EXPECT_TRUE(model::shownTableWindows(application_).empty());
    window->Show(true);
    const auto shown = model::shownTableWindows(application_);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(com::sameObject(shown[0].table, table));
    EXPECT_EQ(shown[0].calls, (std::vector<std::string>{"StandaloneTable = count", "Application = the application",
                                                        "RowSelection = 2", "ShowAliasNames = True",
                                                        "ShowSelectedOnly = False", "Show(True)"}));
    map_.as<IStandaloneTableCollection>()->AddStandaloneTable(table);
    EXPECT_EQ(map_.as<IStandaloneTableCollection>()->StandaloneTable(0)->Name(), "count");
}

TEST_F(Application, BrowsesForAFolderFromAScript) {
    model::ScriptedCatalogBrowser script;
    script.chooseNext({"/data/out"});
    script.cancelNext();
    const auto browser = com::createInstanceAs<ICatalogBrowser>(CLSID_CatalogBrowser);
    browser->put_AllowMultiSelect(false);
    browser->put_StartingLocation("/tmp/");
    browser->put_Title("Choose");
    browser->putref_ObjectFilter(com::createInstanceAs<ICatalogObjectFilter>(CLSID_FolderFilter));
    com::ComPtr<IEnumCatalogObject> selection;
    ASSERT_TRUE(browser->DoModalOpen(nullptr, selection));
    EXPECT_EQ(selection->Next()->FullName(), "/data/out");
    EXPECT_FALSE(selection->Next());
    EXPECT_FALSE(browser->DoModalOpen(nullptr, selection));
    EXPECT_EQ(script.calls(), (std::vector<std::string>{"AllowMultiSelect = False", "StartingLocation = /tmp/",
                                                        "Title = Choose", "ObjectFilter = Folders",
                                                        "DoModalOpen(no window)", "DoModalOpen(no window)"}));
    testing_support::TemporaryFolder folder;
    const auto filter = com::createInstanceAs<ICatalogObjectFilter>(CLSID_FolderFilter);
    EXPECT_TRUE(filter->CanChooseObject(folder.path().string()));
    EXPECT_FALSE(filter->CanChooseObject(folder.write("file.txt", "")));
}

TEST_F(Application, MakesEveryHostClassByClassIdentifier) {
    for (const com::CLSID& clsid : {CLSID_UID, CLSID_Array, CLSID_Field, CLSID_Fields, CLSID_SpatialFilter,
                                    CLSID_ShapefileWorkspaceFactory, CLSID_StandaloneTable, CLSID_TableWindow,
                                    CLSID_CatalogBrowser, CLSID_FolderFilter})
        EXPECT_TRUE(com::createInstance(clsid)) << com::toString(clsid);
}

}  // namespace
