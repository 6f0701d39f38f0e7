#pragma once
// The one seam through which the host's own choosing dialogs pass (the catalog's folder
// browser, Open Map Document, Add Data). The program installs QtHostDialogs, which shows
// real modal dialogs; tests install ScriptedHostDialogs, which records each request and
// answers from a queue. Without either, every request is answered as cancelled, so that
// no real dialog ever waits for a person in a test.
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace gishost::app {

struct ChooseRequest {
    enum class Kind { Folders, Files };

    Kind kind = Kind::Files;
    std::string title;
    std::string startingLocation;  // a folder; empty: the dialog's own choice
    std::string filter;            // for files: "Description (*.a *.b)" entries separated by ";;"
    bool multiple = false;

    bool operator==(const ChooseRequest&) const = default;
};

class HostDialogs {
public:
    virtual ~HostDialogs() = default;
    // The full paths chosen, or nothing when the dialog was cancelled.
    virtual std::optional<std::vector<std::string>> choose(const ChooseRequest& request) = 0;
};

HostDialogs& hostDialogs();
void installHostDialogs(HostDialogs* dialogs);

class QtHostDialogs : public HostDialogs {
public:
    std::optional<std::vector<std::string>> choose(const ChooseRequest& request) override;
};

// Installs itself for its lifetime; answers from its queue, and cancels when it is empty.
class ScriptedHostDialogs : public HostDialogs {
public:
    ScriptedHostDialogs();
    ~ScriptedHostDialogs() override;
    ScriptedHostDialogs(const ScriptedHostDialogs&) = delete;
    ScriptedHostDialogs& operator=(const ScriptedHostDialogs&) = delete;

    void chooseNext(std::vector<std::string> paths);
    void cancelNext();

    std::optional<std::vector<std::string>> choose(const ChooseRequest& request) override;
    const std::vector<ChooseRequest>& requests() const { return requests_; }

private:
    std::vector<ChooseRequest> requests_;
    std::deque<std::optional<std::vector<std::string>>> answers_;
    HostDialogs* previous_;
};

}  // namespace gishost::app
