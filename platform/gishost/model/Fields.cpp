#include "gishost/model/Fields.h"

#include <strings.h>

#include "gishost/model/HostError.h"

namespace gishost::model {
namespace {

com::Error readOnly(const std::string& owner) {
    return hostError(HostFailure::NotSupported, "The fields of " + owner + " cannot be changed");
}

com::Error noPosition(std::int32_t index, std::int32_t count) {
    return hostError(HostFailure::Argument, "There is no field at position " + std::to_string(index) + " of " +
                                                std::to_string(count) + " fields");
}

}  // namespace

Field::Field(FieldDefinition definition, std::string owner)
    : definition_(std::move(definition)), owner_(std::move(owner)) {}

FieldDefinition& Field::editable() {
    if (!owner_.empty()) throw readOnly(owner_);
    return definition_;
}

void Field::put_Name(const std::string& name) { editable().name = name; }
void Field::put_Type(std::int32_t type) { editable().type = type; }
void Field::put_Precision(std::int32_t precision) { editable().precision = precision; }
void Field::put_Scale(std::int32_t scale) { editable().scale = scale; }
void Field::put_Length(std::int32_t length) { editable().length = length; }

com::ComPtr<IClone> Field::Clone() {
    auto copy = com::make<IClone, model::Field>();
    static_cast<model::Field*>(copy.get())->definition_ = definition_;
    return copy;
}

Fields::Fields(const std::vector<FieldDefinition>& definitions, const std::string& owner) : owner_(owner) {
    for (const FieldDefinition& definition : definitions)
        fields_.push_back(com::make<IField, model::Field>(definition, owner));
}

void Fields::requireEditable() const {
    if (!owner_.empty()) throw readOnly(owner_);
}

com::ComPtr<IField> Fields::Field(std::int32_t index) {
    if (index < 0 || index >= FieldCount()) throw noPosition(index, FieldCount());
    return fields_[static_cast<std::size_t>(index)];
}

std::int32_t Fields::FindField(const std::string& name) { return findField(*this, name); }

void Fields::put_FieldCount(std::int32_t count) {
    requireEditable();
    if (count < 0) throw hostError(HostFailure::Argument, "A field count cannot be negative");
    fields_.resize(static_cast<std::size_t>(count));
}

void Fields::putref_Field(std::int32_t index, const com::ComPtr<IField>& field) {
    requireEditable();
    if (index < 0 || index >= FieldCount()) throw noPosition(index, FieldCount());
    fields_[static_cast<std::size_t>(index)] = field;
}

void Fields::AddField(const com::ComPtr<IField>& field) {
    requireEditable();
    fields_.push_back(field);
}

std::int32_t findField(IFields& fields, const std::string& name) {
    const std::int32_t count = fields.FieldCount();
    for (std::int32_t k = 0; k < count; ++k) {
        const com::ComPtr<IField> field = fields.Field(k);
        if (field && ::strcasecmp(field->Name().c_str(), name.c_str()) == 0) return k;
    }
    return -1;
}

FieldDefinition definitionOf(IField& field) {
    return {field.Name(), field.Type(), field.Precision(), field.Scale(), field.Length()};
}

}  // namespace gishost::model
