// The extension object: fresh values, its name, shut-down, and how the application finds
// the one loaded instance through a UID holding its ProgID.
#include "gis_extension/clsExtension.h"

#include <gtest/gtest.h>

#include "LayerFixtures.h"
#include "com/Creation.h"
#include "gis_toolkit/support/RecordingErrorReport.h"
#include "gishost/model/HostModel.h"
#include "support/TestFiles.h"

namespace {

using namespace gishost;
using gis_extension::_clsExtension;

class ExtensionObject : public ::testing::Test {
protected:
    void SetUp() override { model::registerHostClasses(); }

    std::unique_ptr<com::ScopedClassRegistration> registration_ = gis_extension::registerClsExtension();
    testing_support::RecordingErrorReport reports_;
};

TEST_F(ExtensionObject, StartsWithEmptyValues) {
    const auto extension = com::CreateObject<_clsExtension>("Veltrano.clsExtension");
    EXPECT_EQ(extension->ReportOfAnalysis(), "");
    EXPECT_EQ(extension->DistanceLimit(), 0.0);
    EXPECT_FALSE(extension->CalcNumberDBase());
    EXPECT_FALSE(extension->CalcDistanceDBase());
    EXPECT_FALSE(extension->CalcDistanceASCII());
    EXPECT_FALSE(extension->CalcAllFeatures());
    EXPECT_FALSE(extension->ShouldContinue());
    EXPECT_FALSE(extension->SelectedLayer());
    EXPECT_EQ(extension->DirectoryPath(), "");
    EXPECT_EQ(extension->FieldName(), "");
    EXPECT_EQ(extension->AttributeFieldName(), "");
    EXPECT_EQ(extension.as<IExtension>()->Name(), "Veltrano - ID Within Distance");
}

TEST_F(ExtensionObject, KeepsWhatItIsGivenAndDropsOnlyTheLayerAtShutdown) {
    testing_support::TemporaryFolder folder;
    const auto layer = model::openFeatureLayer(folder.pathOf("any.shp"));
    const auto extension = com::CreateObject<_clsExtension>("Veltrano.clsExtension");
    extension->put_DistanceLimit(-9999.0);
    extension->put_CalcAllFeatures(true);
    extension->put_DirectoryPath("/data/out");
    extension->put_FieldName("ID");
    extension->put_ReportOfAnalysis("{\\rtf1}");
    extension->putref_SelectedLayer(layer);
    EXPECT_TRUE(com::sameObject(extension->SelectedLayer(), layer));
    extension.as<IExtension>()->Shutdown();
    EXPECT_FALSE(extension->SelectedLayer());
    EXPECT_EQ(extension->DistanceLimit(), -9999.0);
    EXPECT_TRUE(extension->CalcAllFeatures());
    EXPECT_EQ(extension->DirectoryPath(), "/data/out");
    EXPECT_EQ(extension->FieldName(), "ID");
    EXPECT_EQ(extension->ReportOfAnalysis(), "{\\rtf1}");
    EXPECT_EQ(extension.as<IExtension>()->Name(), "Veltrano - ID Within Distance");
    EXPECT_TRUE(reports_.shown().empty());
}

TEST_F(ExtensionObject, IsFoundThroughTheApplicationByItsProgID) {
    const auto application =
        model::makeApplication(model::makeMxDocument(model::makeMap("Layers", {})), {"/maps/study.map"});
    const auto loaded = model::loadExtension(application, "Veltrano.clsExtension");
    const auto uid = com::createInstanceAs<IUID>(CLSID_UID);
    uid->put_Value("Veltrano.clsExtension");
    const auto found = application->FindExtensionByCLSID(uid);
    ASSERT_TRUE(com::sameObject(found, loaded));
    found.as<_clsExtension>()->put_ShouldContinue(true);
    EXPECT_TRUE(loaded.as<_clsExtension>()->ShouldContinue());
    model::shutdownExtensions(application);
}

}  // namespace
