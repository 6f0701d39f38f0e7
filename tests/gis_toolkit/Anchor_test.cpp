// Control anchoring: the seven modes on both axes recorded in one container size and
// applied in another, values kept as floats, DoAnchors skipping what a control refuses,
// SetAnchors letting errors through, and the list's entries.
#include "gis_toolkit/AnchorObjectList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "com/Object.h"
#include "support/RunTimeErrors.h"

namespace {

// A control (or container) whose properties are numbers in a map, assigned in whole
// twips as a control keeps them; names in `refused` refuse every assignment.
class FakeControl final : public com::Object<forms::IProperties> {
public:
    com::Variant property(const std::string& name) override {
        if (name == "Container") {
            if (!container) throw forms::unknownProperty(name);
            return container;
        }
        const auto found = values.find(name);
        if (found == values.end()) throw forms::unknownProperty(name);
        return found->second;
    }
    void setProperty(const std::string& name, const com::Variant& value) override {
        if (refused.count(name) != 0) throw forms::invalidPropertyValue();
        if (values.count(name) == 0) throw forms::unknownProperty(name);
        values[name] = std::round(com::toDouble(value));  // a control keeps whole twips
    }

    std::map<std::string, double> values;
    com::ComPtr<forms::IProperties> container;
    std::set<std::string> refused;
};

struct Geometry {
    double left, top, width, height;
    bool operator==(const Geometry&) const = default;
};

struct Placed {
    com::ComPtr<forms::IProperties> container;
    com::ComPtr<forms::IProperties> control;
    FakeControl* containerValues;
    FakeControl* controlValues;
};

Placed place(Geometry geometry, double containerWidth, double containerHeight) {
    auto container = com::make<forms::IProperties, FakeControl>();
    auto control = com::make<forms::IProperties, FakeControl>();
    auto* containerValues = static_cast<FakeControl*>(container.get());
    auto* controlValues = static_cast<FakeControl*>(control.get());
    containerValues->values = {{"ScaleWidth", containerWidth}, {"ScaleHeight", containerHeight}};
    controlValues->values = {{"Left", geometry.left}, {"Top", geometry.top}, {"Width", geometry.width},
                             {"Height", geometry.height}};
    controlValues->container = container;
    return {container, control, containerValues, controlValues};
}

Geometry geometryOf(const FakeControl& control) {
    return {control.values.at("Left"), control.values.at("Top"), control.values.at("Width"),
            control.values.at("Height")};
}

using testing_support::errorNumberOf;

TEST(AnchorObject, AppliesEachModeOnBothAxes) {
    struct Case {
        const char* name;
        std::int32_t mode;
        Geometry before;        // in a 1000 x 800 container
        Geometry after;         // in a 2000 x 1200 container
    };
    const std::vector<Case> cases = {
        {"0 scales position and size", 0, {100, 80, 200, 160}, {200, 120, 400, 240}},
        {"1 keeps the edge and scales the size", 1, {100, 80, 200, 160}, {100, 80, 400, 240}},
        {"2 keeps everything", 2, {100, 80, 200, 160}, {100, 80, 200, 160}},
        {"3 keeps the edge and the far margin", 3, {100, 50, 700, 500}, {100, 50, 1700, 900}},
        {"4 keeps the centre's share", 4, {100, 80, 200, 160}, {300, 160, 200, 160}},
        {"5 keeps the distance from the far edge", 5, {900, 700, 50, 40}, {1900, 1100, 50, 40}},
        {"6 keeps the far margin and scales the size", 6, {700, 600, 200, 100}, {1500, 950, 400, 150}},
        {"a mode outside 0 to 6 applies nothing", 7, {100, 80, 200, 160}, {100, 80, 200, 160}},
    };
    for (const Case& c : cases) {
        Placed placed = place(c.before, 1000, 800);
        gis_toolkit::AnchorObject anchor;
        anchor.putref_Control(placed.control);
        anchor.SetAnchors(c.mode, c.mode);
        EXPECT_EQ(anchor.x().AnchorType, c.mode) << c.name;
        EXPECT_EQ(anchor.Y().AnchorType, c.mode) << c.name;
        placed.containerValues->values = {{"ScaleWidth", 2000}, {"ScaleHeight", 1200}};
        anchor.DoAnchors();
        EXPECT_EQ(geometryOf(*placed.controlValues), c.after) << c.name;
    }
}

TEST(AnchorObject, StretchesKeepsTheCentreOrFollowsTheRightEdgeAsTheContainerWidens) {
    struct Case {
        const char* name;
        std::int32_t mode;
        Geometry before;
        double widthBefore, widthAfter;
        double expectedLeft, expectedWidth;
    };
    const std::vector<Case> cases = {
        {"mode 3 stretches", 3, {100, 0, 700, 100}, 1000, 1200, 100, 900},
        {"mode 4 keeps the centre at 20 %", 4, {100, 0, 200, 100}, 1000, 2000, 300, 200},
        {"mode 5 follows the right edge", 5, {900, 0, 50, 100}, 1000, 1500, 1400, 50},
    };
    for (const Case& c : cases) {
        Placed placed = place(c.before, c.widthBefore, 800);
        gis_toolkit::AnchorObject anchor;
        anchor.putref_Control(placed.control);
        anchor.SetAnchors(c.mode, 2);
        placed.containerValues->values["ScaleWidth"] = c.widthAfter;
        anchor.DoAnchors();
        EXPECT_EQ(placed.controlValues->values["Left"], c.expectedLeft) << c.name;
        EXPECT_EQ(placed.controlValues->values["Width"], c.expectedWidth) << c.name;
    }
}

TEST(AnchorObject, RecordsInDoublePrecisionAndKeepsFloats) {
    Placed placed = place({100, 0, 7, 100}, 3000, 800);
    gis_toolkit::AnchorObject anchor;
    anchor.putref_Control(placed.control);
    anchor.SetAnchors(4, 2);
    EXPECT_EQ(anchor.x().Value, static_cast<float>((100.0 + 7.0 / 2) / 3000.0));
    EXPECT_EQ(anchor.X2().Value, 3.5f);
    EXPECT_EQ(anchor.x().MinValue, -2147483647);
    EXPECT_EQ(anchor.x().MaxValue, 2147483647);
}

TEST(AnchorObject, DoAnchorsSkipsWhatTheControlRefusesAndNeverRaises) {
    Placed placed = place({100, 80, 200, 160}, 1000, 800);
    gis_toolkit::AnchorObject anchor;
    anchor.putref_Control(placed.control);
    anchor.SetAnchors(0, 0);
    placed.controlValues->refused = {"Left", "Height"};
    placed.containerValues->values = {{"ScaleWidth", 2000}, {"ScaleHeight", 1600}};
    anchor.DoAnchors();
    EXPECT_EQ(geometryOf(*placed.controlValues), (Geometry{100, 160, 400, 160}));

    placed.controlValues->container = nullptr;  // nothing to measure against
    anchor.DoAnchors();
    gis_toolkit::AnchorObject empty;
    empty.DoAnchors();
}

TEST(AnchorObject, SetAnchorsLetsErrorsThrough) {
    Placed zeroWide = place({100, 80, 200, 160}, 0, 800);
    gis_toolkit::AnchorObject anchor;
    anchor.putref_Control(zeroWide.control);
    EXPECT_EQ(errorNumberOf([&] { anchor.SetAnchors(0, 2); }), 11);
    EXPECT_EQ(errorNumberOf([&] { anchor.SetAnchors(3, 2); }), 0);  // mode 3 divides by nothing
    zeroWide.controlValues->values.erase("Top");
    EXPECT_EQ(errorNumberOf([&] { anchor.SetAnchors(2, 2); }), 438);
}

TEST(AnchorObjectList, KeepsOneEntryPerControlInOrder) {
    Placed first = place({100, 80, 200, 160}, 1000, 800);
    Placed second = place({500, 400, 100, 100}, 1000, 800);
    gis_toolkit::AnchorObjectList list;
    gis_toolkit::AnchorObject& entry = list.Item(*first.control.get());
    EXPECT_EQ(&list.Item(*first.control.get()), &entry);
    EXPECT_EQ(list.Count(), 1);
    list.Item(*second.control.get());
    EXPECT_EQ(list.IndexOf(*second.control.get()), 2);
    list.Remove(*first.control.get());
    EXPECT_EQ(list.IndexOf(*first.control.get()), 0);
    EXPECT_EQ(list.IndexOf(*second.control.get()), 1);
    EXPECT_EQ(errorNumberOf([&] { list.Remove(*first.control.get()); }), 5);
}

TEST(AnchorObjectList, SetAnchorsRecordsEveryEntryInModeZero) {
    Placed first = place({100, 80, 200, 160}, 1000, 800);
    Placed second = place({500, 400, 100, 100}, 1000, 800);
    gis_toolkit::AnchorObjectList list;
    list.Item(*first.control.get()).SetAnchors(5, 5);
    list.Item(*second.control.get()).SetAnchors(2, 2);
    list.SetAnchors();
    for (FakeControl* container : {first.containerValues, second.containerValues})
        container->values = {{"ScaleWidth", 2000}, {"ScaleHeight", 400}};
    list.DoAnchors();
    EXPECT_EQ(geometryOf(*first.controlValues), (Geometry{200, 40, 400, 80}));
    EXPECT_EQ(geometryOf(*second.controlValues), (Geometry{1000, 200, 200, 50}));
}

}  // namespace
