#pragma once
// The host's data: fields and field sets, rows and features with their values, cursors,
// the spatial filter, tables and feature classes, and the folder workspace of dBASE
// tables. Headers only: the plug-in includes them and reaches the objects through the
// host, or creates the classes below by their class identifiers.
#include <cstdint>
#include <string>

#include "com/ComPtr.h"
#include "com/Guid.h"
#include "com/IUnknown.h"
#include "com/Variant.h"
#include "gishost/System.h"
#include "gishost/Geometry.h"

namespace gishost {

// The host's field type codes. A field of a source type that the host has no code for
// gets Other; its values read as their text.
namespace fieldType {
inline constexpr std::int32_t SmallInteger = 0;
inline constexpr std::int32_t Integer = 1;
inline constexpr std::int32_t Single = 2;
inline constexpr std::int32_t Double = 3;
inline constexpr std::int32_t String = 4;
inline constexpr std::int32_t Date = 5;
inline constexpr std::int32_t OID = 6;
inline constexpr std::int32_t Geometry = 7;
inline constexpr std::int32_t Other = 8;
}  // namespace fieldType

// The relations of a spatial filter. The host searches with Intersects only.
namespace spatialRelation {
inline constexpr std::int32_t Intersects = 1;
}  // namespace spatialRelation

// A field's definition. Precision is the total width of a numeric column (sign and
// decimal point included, as dBASE counts it), Scale the digits after the point, Length
// the width of a text column.
struct IField : com::IUnknown {
    static constexpr com::IID iid = com::guid("{45C22E42-AF9A-4E84-A46C-6860CBCCF882}");
    using Base = com::IUnknown;

    virtual std::string Name() = 0;
    // One of the fieldType codes.
    virtual std::int32_t Type() = 0;
    virtual std::int32_t Precision() = 0;
    virtual std::int32_t Scale() = 0;
    virtual std::int32_t Length() = 0;

protected:
    ~IField() = default;
};

struct IFieldEdit : com::IUnknown {
    static constexpr com::IID iid = com::guid("{01AD7C66-3D7A-4B00-837E-0C2390772AA3}");
    using Base = com::IUnknown;

    virtual void put_Name(const std::string& name) = 0;
    virtual void put_Type(std::int32_t type) = 0;
    virtual void put_Precision(std::int32_t precision) = 0;
    virtual void put_Scale(std::int32_t scale) = 0;
    virtual void put_Length(std::int32_t length) = 0;

protected:
    ~IFieldEdit() = default;
};

// An ordered set of fields, counted from 0.
struct IFields : com::IUnknown {
    static constexpr com::IID iid = com::guid("{79B2A873-83EC-4972-9989-2AD212B2FBE6}");
    using Base = com::IUnknown;

    virtual std::int32_t FieldCount() = 0;
    // The field at `index`; a position that was never set holds no field (empty).
    virtual com::ComPtr<IField> Field(std::int32_t index) = 0;
    // The position of the field of that name (compared without regard to case), or -1.
    virtual std::int32_t FindField(const std::string& name) = 0;

protected:
    ~IFields() = default;
};

struct IFieldsEdit : com::IUnknown {
    static constexpr com::IID iid = com::guid("{41072BB2-A8D5-42F9-9450-EB3B3343813B}");
    using Base = com::IUnknown;

    // Sets the number of positions; new positions hold no field.
    virtual void put_FieldCount(std::int32_t count) = 0;
    // Puts the field at a position below FieldCount.
    virtual void putref_Field(std::int32_t index, const com::ComPtr<IField>& field) = 0;
    virtual void AddField(const com::ComPtr<IField>& field) = 0;

protected:
    ~IFieldsEdit() = default;
};

// The values of one row, by field position. Values are typed as the source stores them
// (Null for a missing value); a value written is converted to the field's type.
struct IRowBuffer : com::IUnknown {
    static constexpr com::IID iid = com::guid("{0B7A744F-58EC-4802-9582-3C80442DC753}");
    using Base = com::IUnknown;

    virtual com::Variant Value(std::int32_t index) = 0;
    virtual void put_Value(std::int32_t index, const com::Variant& value) = 0;
    virtual com::ComPtr<IFields> Fields() = 0;

protected:
    ~IRowBuffer() = default;
};

struct IRow : IRowBuffer {
    static constexpr com::IID iid = com::guid("{C26D882E-E224-4608-9D83-3B605AB2E563}");
    using Base = IRowBuffer;

    // The row's object ID, a 32-bit integer; an ID outside that range raises the host's error.
    virtual std::int32_t OID() = 0;

protected:
    ~IRow() = default;
};

struct IFeature : IRow {
    static constexpr com::IID iid = com::guid("{CE0AB74B-35E7-42E7-84AC-F3C814B04296}");
    using Base = IRow;

    // The feature's shape; an empty shape when the feature has none.
    virtual com::ComPtr<IGeometry> Shape() = 0;

protected:
    ~IFeature() = default;
};

// A cursor over rows, or (from ITable::Insert) for inserting rows.
struct ICursor : com::IUnknown {
    static constexpr com::IID iid = com::guid("{5882BF44-8566-4E1F-A2EE-888DBC9A7780}");
    using Base = com::IUnknown;

    // The next row, or an empty reference at the end.
    virtual com::ComPtr<IRow> NextRow() = 0;
    // Inserts a row with the buffer's values; returns the new row's number. A cursor
    // with buffering keeps the row until Flush.
    virtual com::Variant InsertRow(const com::ComPtr<IRowBuffer>& buffer) = 0;
    // Writes the rows kept so far.
    virtual void Flush() = 0;

protected:
    ~ICursor() = default;
};

struct IFeatureCursor : com::IUnknown {
    static constexpr com::IID iid = com::guid("{510969B3-BE29-4FFB-A51F-1BA17E6921AE}");
    using Base = com::IUnknown;

    // The next feature in the feature class's order, or an empty reference at the end.
    // A recycling cursor hands out the same feature object each time, filled anew.
    virtual com::ComPtr<IFeature> NextFeature() = 0;

protected:
    ~IFeatureCursor() = default;
};

// Selects the features whose shapes stand in a relation to a geometry.
struct ISpatialFilter : com::IUnknown {
    static constexpr com::IID iid = com::guid("{68214284-167A-4564-98FF-BD5C8C9AA4A7}");
    using Base = com::IUnknown;

    virtual com::ComPtr<IGeometry> Geometry() = 0;
    virtual void putref_Geometry(const com::ComPtr<IGeometry>& geometry) = 0;
    // One of the spatialRelation codes.
    virtual std::int32_t SpatialRel() = 0;
    virtual void put_SpatialRel(std::int32_t relation) = 0;

protected:
    ~ISpatialFilter() = default;
};

// A named data set: a table or a feature class.
struct IDataset : com::IUnknown {
    static constexpr com::IID iid = com::guid("{977A93ED-A47B-4EE1-8763-CD55854C75D6}");
    using Base = com::IUnknown;

    virtual std::string Name() = 0;
    // Deletes the data set's files: a table, also one still being written, leaves nothing
    // in its folder. The host deletes no feature class.
    virtual void Delete() = 0;

protected:
    ~IDataset() = default;
};

struct IGeoDataset : com::IUnknown {
    static constexpr com::IID iid = com::guid("{7F536137-1CCC-41B1-8624-88982332A426}");
    using Base = com::IUnknown;

    // The coordinate system of the data set's shapes (one that is neither geographic nor
    // projected when the source names none).
    virtual com::ComPtr<ISpatialReference> SpatialReference() = 0;

protected:
    ~IGeoDataset() = default;
};

struct ITable : com::IUnknown {
    static constexpr com::IID iid = com::guid("{8559EB97-A045-4E27-8626-23D8CD8C6143}");
    using Base = com::IUnknown;

    virtual com::ComPtr<IFields> Fields() = 0;
    virtual std::int32_t FindField(const std::string& name) = 0;
    // A cursor that inserts rows; with buffering, rows reach the table at Flush.
    virtual com::ComPtr<ICursor> Insert(bool useBuffering) = 0;
    // An empty row (every value Null) to fill and insert.
    virtual com::ComPtr<IRowBuffer> CreateRowBuffer() = 0;

protected:
    ~ITable() = default;
};

struct IFeatureClass : com::IUnknown {
    static constexpr com::IID iid = com::guid("{F09BCAF4-F01F-47FD-BE4E-FDE6969F7A67}");
    using Base = com::IUnknown;

    // One of the geometryType codes: the kind of shape the features hold.
    virtual std::int32_t ShapeType() = 0;
    // The object-ID field, the shape field (when the class has shapes), then the
    // attribute fields in the source's order.
    virtual com::ComPtr<IFields> Fields() = 0;
    virtual std::int32_t FindField(const std::string& name) = 0;
    // The number of features, or of those that the filter selects (an empty filter
    // selects all). Agrees with Search given the same filter.
    virtual std::int32_t FeatureCount(const com::ComPtr<ISpatialFilter>& filter) = 0;
    // The features, or those that the filter selects, in the feature class's order.
    virtual com::ComPtr<IFeatureCursor> Search(const com::ComPtr<ISpatialFilter>& filter, bool recycling) = 0;

protected:
    ~IFeatureClass() = default;
};

// A folder of tables opened by a workspace factory.
struct IWorkspace : com::IUnknown {
    static constexpr com::IID iid = com::guid("{BE13B412-9709-4C0C-A6A0-9D21DCACC204}");
    using Base = com::IUnknown;

    virtual std::string PathName() = 0;

protected:
    ~IWorkspace() = default;
};

struct IFeatureWorkspace : com::IUnknown {
    static constexpr com::IID iid = com::guid("{D9CAB491-3F69-11D1-B095-0000F8780820}");
    using Base = com::IUnknown;

    // Creates the empty table `name` with the fields given and returns it. A table of
    // that name that exists already is left untouched and raises the host's error, as
    // does a field that the table cannot hold; a failed creation leaves nothing behind.
    // The class identifiers and the configuration keyword are accepted and not used.
    virtual com::ComPtr<ITable> CreateTable(const std::string& name, const com::ComPtr<IFields>& fields,
                                            const com::ComPtr<IUID>& classId,
                                            const com::ComPtr<IUID>& extensionClassId,
                                            const std::string& configurationKeyword) = 0;

protected:
    ~IFeatureWorkspace() = default;
};

struct IWorkspaceFactory : com::IUnknown {
    static constexpr com::IID iid = com::guid("{F173FC16-D63A-11D1-AA81-00C04FA33A15}");
    using Base = com::IUnknown;

    // The workspace of a folder; a path that is not a folder raises the host's error.
    virtual com::ComPtr<IWorkspace> OpenFromFile(const std::string& path, winapi::HWND parentWindow) = 0;

protected:
    ~IWorkspaceFactory() = default;
};

// Classes that callers create by class identifier.
inline constexpr com::CLSID CLSID_Field = com::guid("{40979205-A8EE-4BE2-9605-CAC1B94D70DF}");
inline constexpr com::CLSID CLSID_Fields = com::guid("{A591F763-BC32-428F-982A-48383EB3B677}");
inline constexpr com::CLSID CLSID_SpatialFilter = com::guid("{FB1A63A0-4317-488B-8D42-0E190B818325}");
// The workspace factory of file tables: a folder opens as a workspace of dBASE tables.
inline constexpr com::CLSID CLSID_ShapefileWorkspaceFactory = com::guid("{A06ADB96-D95C-11D1-AA81-00C04FA33A15}");

}  // namespace gishost
