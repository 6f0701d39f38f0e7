#pragma once
// The host's small general objects: UID, array, template list and item definition.
#include <string>
#include <vector>

#include "com/ComPtr.h"
#include "com/Object.h"
#include "gishost/Framework.h"
#include "gishost/System.h"

namespace gishost::model {

class UID final : public com::Object<IUID> {
public:
    std::string Value() override { return value_; }
    void put_Value(const std::string& value) override { value_ = value; }

private:
    std::string value_;
};

class Array final : public com::Object<IArray> {
public:
    std::int32_t Count() override { return static_cast<std::int32_t>(elements_.size()); }
    com::ComPtr<com::IUnknown> Element(std::int32_t index) override;
    void Add(const com::ComPtr<com::IUnknown>& object) override { elements_.push_back(object); }
    void Remove(std::int32_t index) override;
    void RemoveAll() override { elements_.clear(); }

private:
    void requirePosition(std::int32_t index) const;

    std::vector<com::ComPtr<com::IUnknown>> elements_;
};

class Templates final : public com::Object<ITemplates> {
public:
    explicit Templates(std::vector<std::string> items) : items_(std::move(items)) {}
    std::int32_t Count() override { return static_cast<std::int32_t>(items_.size()); }
    std::string Item(std::int32_t index) override;

private:
    std::vector<std::string> items_;
};

class ItemDef final : public com::Object<IItemDef> {
public:
    std::string ID() override { return id_; }
    void put_ID(const std::string& id) override { id_ = id; }
    bool Group() override { return group_; }
    void put_Group(bool group) override { group_ = group; }

private:
    std::string id_;
    bool group_ = false;
};

}  // namespace gishost::model
