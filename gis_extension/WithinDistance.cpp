#include "gis_extension/WithinDistance.h"

#include <exception>
#include <limits>
#include <new>
#include <optional>

#include "com/Collection.h"
#include "com/Creation.h"
#include "com/NumberedFiles.h"
#include "forms/Screen.h"
#include "gis_extension/TextOutputFile.h"
#include "gis_extension/WithinDistanceOutputs.h"
#include "gis_extension/clsExtension.h"
#include "gis_toolkit/ErrorHandler.h"
#include "gis_toolkit/MyGeneralOperations.h"
#include "gis_toolkit/aml_func_mod.h"
#include "sysutils/DateTime.h"

namespace gis_extension::WithinDistance {
namespace {

using namespace gishost;
using gis_toolkit::aml_func_mod::CreatedBASETable;
using gis_toolkit::aml_func_mod::MakeUniqueFilename;
using gis_toolkit::aml_func_mod::ReturnDir;
using gis_toolkit::aml_func_mod::ReturnFilename;
using gis_toolkit::aml_func_mod::ReturnShapeName;
using gis_toolkit::MyGeneralOperations::CollectionKeyExists;
using gis_toolkit::MyGeneralOperations::OpenDoc;
using gis_toolkit::MyGeneralOperations::ReturnTimeElapsedRTF;

const std::string module = "WithinDistance";
constexpr int distanceFileNumber = 1;
constexpr int nodeFileNumber = 2;

// A counter of the analysis: 32 bits, an overflow is an error like any other.
void increment(std::int32_t& counter) {
    if (counter == std::numeric_limits<std::int32_t>::max()) throw com::runtimeError(com::errors::Overflow);
    ++counter;
}

// The units of the search radius, from the feature class's spatial reference.
std::string UnitsText(const com::ComPtr<IFeatureClass>& featureClass) {
    const com::ComPtr<ISpatialReference> reference = featureClass.as<IGeoDataset>()->SpatialReference();
    if (reference.tryAs<IGeographicCoordinateSystem>()) return "Degrees";
    if (const auto projected = reference.tryAs<IProjectedCoordinateSystem>()) {
        std::string unit = projected->CoordinateUnit()->Name();
        if (unit.empty() || unit.back() != 's') unit += "s";
        return unit;
    }
    return " map units";
}

com::ComPtr<IField> NewField(const std::string& name, std::int32_t type, std::int32_t precision,
                             std::int32_t scale = 0) {
    const com::ComPtr<IField> field = com::createInstanceAs<IField>(CLSID_Field);
    const com::ComPtr<IFieldEdit> edit = field.as<IFieldEdit>();
    edit->put_Name(name);
    edit->put_Type(type);
    edit->put_Precision(precision);
    if (scale != 0) edit->put_Scale(scale);
    return field;
}

com::ComPtr<IField> ClonedField(const com::ComPtr<IField>& field, const std::optional<std::string>& name) {
    const com::ComPtr<IField> copy = field.as<IClone>()->Clone().as<IField>();
    if (name && *name != copy->Name()) copy.as<IFieldEdit>()->put_Name(*name);
    return copy;
}

com::ComPtr<IFields> FieldSet(const std::vector<com::ComPtr<IField>>& fields) {
    const com::ComPtr<IFields> set = com::createInstanceAs<IFields>(CLSID_Fields);
    const com::ComPtr<IFieldsEdit> edit = set.as<IFieldsEdit>();
    edit->put_FieldCount(static_cast<std::int32_t>(fields.size()));
    for (std::size_t i = 0; i < fields.size(); ++i) edit->putref_Field(static_cast<std::int32_t>(i), fields[i]);
    return set;
}

// A dBASE output: its table, buffered insert cursor, one reused row buffer and its
// fields' positions.
struct TableOutput {
    std::string path;
    com::ComPtr<ITable> table;
    com::ComPtr<ICursor> cursor;
    com::ComPtr<IRowBuffer> row;
    std::vector<std::int32_t> positions;

    void prepare(const std::string& uniquePath, com::ComPtr<IFields> fields, const std::vector<std::string>& names) {
        path = uniquePath;
        table = CreatedBASETable(path, fields);
        cursor = table->Insert(true);
        row = table->CreateRowBuffer();
        for (const std::string& name : names) positions.push_back(table->FindField(name));
    }

    void insert(const std::vector<com::Variant>& values) {
        for (std::size_t i = 0; i < values.size(); ++i) row->put_Value(positions[i], values[i]);
        cursor->InsertRow(row);
    }

    // Deletes the table, which holds no row yet: nothing is left of it in the folder.
    void discard() {
        if (!table) return;
        cursor = nullptr;
        row = nullptr;
        table.as<IDataset>()->Delete();
        table = nullptr;
    }

    // Flushes the rows and shows the table in a table window and in the focus map.
    void finish(const com::ComPtr<IMxDocument>& document, const com::ComPtr<IApplication>& application) {
        cursor->Flush();
        const com::ComPtr<IStandaloneTable> standalone = com::createInstanceAs<IStandaloneTable>(CLSID_StandaloneTable);
        standalone->putref_Table(table);
        const com::ComPtr<ITableWindow2> window = com::createInstanceAs<ITableWindow2>(CLSID_TableWindow);
        window->putref_StandaloneTable(standalone);
        window->putref_Application(application);
        window->put_RowSelection(2);
        window->put_ShowAliasNames(true);
        window->put_ShowSelectedOnly(false);
        window->Show(true);
        document->FocusMap().as<IStandaloneTableCollection>()->AddStandaloneTable(standalone);
    }
};

// What the analysis keeps of a feature to write every pair once. A feature's partners
// are the features processed before it that wrote their pair with it; they are asked
// about only while the feature itself is processed, so they are dropped then, and none
// are added to a feature already processed. With all pairs every feature processed
// before wrote its pair with each later one: the flag alone tells, and no partners are
// kept, so that this record grows with the features, not with the pairs.
struct PartnerEntry {
    bool processed = false;
    com::Collection<bool> partners;
};

void OpenWithItsProgram(const std::string& path) { OpenDoc(ReturnFilename(path), ReturnDir(path)); }

// True for the error of an analysis refused for memory: the host's "Out of memory" before
// it allocates, or an allocation that failed.
bool refusedForMemory(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const com::Error& raised) {
        return raised.Number == com::errors::OutOfMemory;
    } catch (const std::bad_alloc&) {
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace

void CalcWithinDistance(const com::ComPtr<IFeatureLayer>& layer, const std::string& fieldName,
                        const std::string& attributeFieldName, bool calcAllFeatures, double distanceLimit,
                        bool calcNumberDBase, bool calcDistanceDBase, bool calcDistanceASCII,
                        std::string& directoryPath, const com::ComPtr<IMxDocument>& document,
                        const com::ComPtr<IApplication>& application) {
    gis_toolkit::ErrorHandler handler("CalcWithinDistance", module);
    handler.run([&] {
        handler.line(__LINE__);
        forms::Screen().put_MousePointer(forms::HourglassPointer);
        const sysutils::TDateTime start = sysutils::Now();

        handler.line(__LINE__);
        const com::ComPtr<IFeatureClass> featureClass = layer->FeatureClass();
        const std::string units = UnitsText(featureClass);
        const std::string radiusText =
            calcAllFeatures ? "Distances Calculated for All Pairs of Features..."
                            : "Distances Calculated for All Features within " + com::toText(distanceLimit) + " " +
                                  units + "...";

        if (directoryPath.empty() || (directoryPath.back() != '\\' && directoryPath.back() != '/'))
            directoryPath += '/';

        handler.line(__LINE__);
        const std::int32_t idIndex = featureClass->FindField(fieldName);
        const com::ComPtr<IField> idField = featureClass->Fields()->Field(idIndex);
        const std::int32_t attributeIndex = featureClass->FindField(attributeFieldName);
        const com::ComPtr<IField> attributeField = featureClass->Fields()->Field(attributeIndex);
        const std::string attributePattern = AttributePattern(attributeField->Type(), attributeField->Scale());
        const bool attributeIsFloat =
            attributeField->Type() == fieldType::Single || attributeField->Type() == fieldType::Double;

        handler.line(__LINE__);
        TableOutput numberTable;
        if (calcNumberDBase) {
            const std::string firstName = idField->Name() == "Unique_ID" ? "Count_ID" : "Unique_ID";
            numberTable.prepare(MakeUniqueFilename(directoryPath + BaseName(Output::NumberTable)),
                                FieldSet({NewField(firstName, fieldType::Integer, 8), ClonedField(idField, std::nullopt),
                                          NewField("Numbr_Feat", fieldType::Integer, 10)}),
                                {firstName, idField->Name(), "Numbr_Feat"});
        }
        handler.line(__LINE__);
        TableOutput distanceTable;
        if (calcDistanceDBase) {
            distanceTable.prepare(MakeUniqueFilename(directoryPath + BaseName(Output::DistanceTable)),
                                  FieldSet({NewField("Unique_ID", fieldType::Integer, 10),
                                            ClonedField(idField, "From_ID"), ClonedField(idField, "To_ID"),
                                            NewField("Distance", fieldType::Double, 16, 6)}),
                                  {"Unique_ID", "From_ID", "To_ID", "Distance"});
        }
        handler.line(__LINE__);
        std::optional<TextOutputFile> distanceFile;
        if (calcDistanceASCII)
            distanceFile.emplace(distanceFileNumber, MakeUniqueFilename(directoryPath + BaseName(Output::DistanceFile)));
        TextOutputFile nodeFile(nodeFileNumber, MakeUniqueFilename(directoryPath + BaseName(Output::NodeFile)));

        // The host checks the memory that measuring takes when it first reads the features,
        // before any output receives a line: a run refused for memory then leaves no file
        // of its outputs, neither under their names nor beside them. A run that fails
        // later keeps its files.
        bool anyLineWritten = false;
        try {
            handler.line(__LINE__);
            const std::int32_t featureCount = featureClass->FeatureCount(nullptr);
            const std::string progressPrefix =
                "Calculating Distances from " + ReturnShapeName(featureClass->ShapeType()) + " #";
            const com::ComPtr<IStatusBar> statusBar = application->StatusBar();
            statusBar->ShowProgressBar(progressPrefix + "1", 1, featureCount, 1, true);
            statusBar->ProgressBar()->put_Position(1);

            // First pass: one entry per feature, keyed by its OID.
            handler.line(__LINE__);
            com::Collection<PartnerEntry> partners;
            {
                const com::ComPtr<IFeatureCursor> cursor = featureClass->Search(nullptr, true);
                while (const com::ComPtr<IFeature> feature = cursor->NextFeature())
                    partners.Add(PartnerEntry(), std::to_string(feature->OID()));
            }

            // Second pass: each feature's candidates, its rows and lines, and its pairs.
            handler.line(__LINE__);
            std::int32_t featureCounter = 1;
            std::int32_t pairCounter = 0;
            const com::ComPtr<IFeatureCursor> cursor = featureClass->Search(nullptr, true);
            while (const com::ComPtr<IFeature> a = cursor->NextFeature()) {
                handler.line(__LINE__);
                statusBar->put_Message(0, progressPrefix + std::to_string(featureCounter));
                statusBar->StepProgressBar();

                handler.line(__LINE__);
                const com::ComPtr<IGeometry> shapeA = a->Shape();
                const std::int32_t oidA = a->OID();
                const com::Variant idA = a->Value(idIndex);
                const com::Variant attributeA = a->Value(attributeIndex);

                handler.line(__LINE__);
                com::ComPtr<IFeatureCursor> candidates;
                std::int32_t candidateCount = 0;
                if (calcAllFeatures) {
                    candidates = featureClass->Search(nullptr, true);
                    candidateCount = featureClass->FeatureCount(nullptr);
                } else {
                    const com::ComPtr<ISpatialFilter> filter =
                        com::createInstanceAs<ISpatialFilter>(CLSID_SpatialFilter);
                    filter->putref_Geometry(shapeA.as<ITopologicalOperator>()->Buffer(distanceLimit).as<IPolygon>());
                    filter->put_SpatialRel(spatialRelation::Intersects);
                    candidates = featureClass->Search(filter, true);
                    candidateCount = featureClass->FeatureCount(filter);
                }

                handler.line(__LINE__);
                anyLineWritten = true;
                if (calcNumberDBase) numberTable.insert({featureCounter, idA, candidateCount - 1});
                const std::string idTextA = IdText(idA);
                com::files::PrintLine(nodeFileNumber,
                                      idTextA + "\t" + AttributeText(attributeA, attributePattern, attributeIsFloat));

                handler.line(__LINE__);
                const com::ComPtr<IProximityOperator> proximityA = shapeA.as<IProximityOperator>();
                const std::string keyA = std::to_string(oidA);
                PartnerEntry& entryA = partners.Item(keyA);
                while (const com::ComPtr<IFeature> b = candidates->NextFeature()) {
                    const std::int32_t oidB = b->OID();
                    if (oidB == oidA) continue;
                    const com::ComPtr<IGeometry> shapeB = b->Shape();
                    const com::Variant idB = b->Value(idIndex);
                    const double distance = proximityA->ReturnDistance(shapeB);
                    if (distance > distanceLimit && !calcAllFeatures) continue;
                    const std::string keyB = std::to_string(oidB);
                    PartnerEntry& entryB = partners.Item(keyB);
                    if (calcAllFeatures ? entryB.processed : CollectionKeyExists(entryA.partners, keyB)) continue;
                    if (!calcAllFeatures && !entryB.processed) entryB.partners.Add(true, keyA);
                    increment(pairCounter);
                    if (calcDistanceDBase) distanceTable.insert({pairCounter, idA, idB, distance});
                    if (calcDistanceASCII)
                        com::files::PrintLine(distanceFileNumber,
                                              idTextA + "\t" + IdText(idB) + "\t" + DistanceText(distance));
                }
                entryA.processed = true;
                entryA.partners = com::Collection<bool>();
                increment(featureCounter);
            }
            statusBar->HideProgressBar();
        } catch (...) {
            if (!anyLineWritten && refusedForMemory(std::current_exception())) {
                numberTable.discard();
                distanceTable.discard();
                if (distanceFile) distanceFile->Discard();
                nodeFile.Discard();
            }
            throw;
        }

        handler.line(__LINE__);
        std::vector<ReportEntry> entries;
        bool tablesAdded = false;
        if (calcNumberDBase) {
            numberTable.finish(document, application);
            entries.push_back({Output::NumberTable, numberTable.path});
            tablesAdded = true;
        }
        if (calcDistanceDBase) {
            distanceTable.finish(document, application);
            entries.push_back({Output::DistanceTable, distanceTable.path});
            tablesAdded = true;
        }
        handler.line(__LINE__);
        if (calcDistanceASCII) {
            distanceFile->Close();
            entries.push_back({Output::DistanceFile, distanceFile->path()});
            OpenWithItsProgram(distanceFile->path());
        }
        nodeFile.Close();
        entries.push_back({Output::NodeFile, nodeFile.path()});
        OpenWithItsProgram(nodeFile.path());

        handler.line(__LINE__);
        forms::Screen().put_MousePointer(forms::DefaultPointer);
        if (tablesAdded) document.as<IDocumentNotification>()->ContentsChanged();

        handler.line(__LINE__);
        const std::string elapsed = ReturnTimeElapsedRTF(start, sysutils::Now(), 8);
        const std::string report = AnalysisReport(layer->Name(), fieldName, radiusText, entries, elapsed);
        FindExtension(application).as<_clsExtension>()->put_ReportOfAnalysis(report);
    });
}

}  // namespace gis_extension::WithinDistance
