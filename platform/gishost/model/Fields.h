#pragma once
// Field definitions and field sets: the classes that callers create to define a new
// table's fields, and the read-only definitions that feature classes and tables give.
#include <cstdint>
#include <string>
#include <vector>

#include "com/ComPtr.h"
#include "com/Object.h"
#include "gishost/Geodatabase.h"
#include "gishost/System.h"

namespace gishost::model {

struct FieldDefinition {
    std::string name;
    std::int32_t type = fieldType::String;
    std::int32_t precision = 0;
    std::int32_t scale = 0;
    std::int32_t length = 0;
};

class Field final : public com::Object<IField, IFieldEdit, IClone> {
public:
    Field() = default;
    // A definition that cannot be edited (`owner` names the layer or table in errors).
    Field(FieldDefinition definition, std::string owner);

    std::string Name() override { return definition_.name; }
    std::int32_t Type() override { return definition_.type; }
    std::int32_t Precision() override { return definition_.precision; }
    std::int32_t Scale() override { return definition_.scale; }
    std::int32_t Length() override { return definition_.length; }

    void put_Name(const std::string& name) override;
    void put_Type(std::int32_t type) override;
    void put_Precision(std::int32_t precision) override;
    void put_Scale(std::int32_t scale) override;
    void put_Length(std::int32_t length) override;

    // An editable copy.
    com::ComPtr<IClone> Clone() override;

private:
    FieldDefinition& editable();

    FieldDefinition definition_;
    std::string owner_;  // set for a read-only definition
};

class Fields final : public com::Object<IFields, IFieldsEdit> {
public:
    Fields() = default;
    // A read-only set (`owner` names the layer or table in errors).
    Fields(const std::vector<FieldDefinition>& definitions, const std::string& owner);

    std::int32_t FieldCount() override { return static_cast<std::int32_t>(fields_.size()); }
    com::ComPtr<IField> Field(std::int32_t index) override;
    std::int32_t FindField(const std::string& name) override;

    void put_FieldCount(std::int32_t count) override;
    void putref_Field(std::int32_t index, const com::ComPtr<IField>& field) override;
    void AddField(const com::ComPtr<IField>& field) override;

private:
    void requireEditable() const;

    std::vector<com::ComPtr<IField>> fields_;
    std::string owner_;
};

// The position of the field named `name` (without regard to case) in `fields`, or -1.
std::int32_t findField(IFields& fields, const std::string& name);

// The definition of a field.
FieldDefinition definitionOf(IField& field);

}  // namespace gishost::model
