#pragma once
// What the model's stand-ins for windows record: the status bar with its progress bar,
// the map document's notifications and table windows keep the calls they were asked,
// one line each, for tests to read; the catalog browser answers from a script.
#include <deque>
#include <string>
#include <vector>

#include "com/ComPtr.h"
#include "com/IUnknown.h"

namespace gishost::model {

struct IRecordedCalls : com::IUnknown {
    static constexpr com::IID iid = com::guid("{039A7642-68DC-4B2D-9E06-778F1B08E09F}");
    using Base = com::IUnknown;

    // Every call so far, in order, as "Name = value" or "Name(arguments)".
    virtual std::vector<std::string> RecordedCalls() = 0;

protected:
    ~IRecordedCalls() = default;
};

// The calls an object of the model recorded; an object that records none raises.
std::vector<std::string> recordedCalls(const com::ComPtr<com::IUnknown>& object);
template <class I>
std::vector<std::string> recordedCalls(const com::ComPtr<I>& object) {
    return recordedCalls(object.template as<com::IUnknown>());
}

// While it lives, every catalog browser records its calls here and answers from the
// queue: the paths chosen, or a cancel. Without a script (or with an empty queue) a
// browser answers cancel.
class ScriptedCatalogBrowser {
public:
    ScriptedCatalogBrowser();
    ~ScriptedCatalogBrowser();
    ScriptedCatalogBrowser(const ScriptedCatalogBrowser&) = delete;
    ScriptedCatalogBrowser& operator=(const ScriptedCatalogBrowser&) = delete;

    void chooseNext(std::vector<std::string> paths);
    void cancelNext();
    const std::vector<std::string>& calls() const { return calls_; }

    // Used by the browsers.
    void record(std::string call) { calls_.push_back(std::move(call)); }
    // False for a cancel; else true with the paths chosen.
    bool nextAnswer(std::vector<std::string>& chosen);

private:
    std::vector<std::string> calls_;
    struct Answer {
        bool confirmed;
        std::vector<std::string> chosen;
    };
    std::deque<Answer> answers_;
    ScriptedCatalogBrowser* previous_;
};

// "True" or "False", as the records write Booleans.
inline std::string booleanText(bool value) { return value ? "True" : "False"; }

}  // namespace gishost::model
