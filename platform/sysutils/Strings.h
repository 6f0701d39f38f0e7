#pragma once
// Line lists and status texts that the engine writes into: the event log is a list
// of lines (a memo's lines in the program), the status bar a row of text panels.
// The window side supplies implementations that forward to its controls.
#include <mutex>
#include <string>
#include <vector>

namespace sysutils {

class TStrings {
public:
    virtual ~TStrings() = default;
    virtual void Add(const std::string& line) = 0;
    virtual void Clear() = 0;
    virtual int Count() const = 0;
    virtual std::string Strings(int index) const = 0;
};

// A plain list of lines, safe to fill from one thread while another reads it.
class TStringList : public TStrings {
public:
    void Add(const std::string& line) override;
    void Clear() override;
    int Count() const override;
    std::string Strings(int index) const override;
    std::vector<std::string> lines() const;

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

class StatusPanels {
public:
    virtual ~StatusPanels() = default;
    virtual void setPanelText(int panel, const std::string& text) = 0;
    // The run whose progress this shows was given up: a long computation may stop at its
    // next unit of work. Safe to call from any thread.
    virtual bool abandoned() const { return false; }
};

// Two panels of text held in memory.
class TwoPanelStatus : public StatusPanels {
public:
    void setPanelText(int panel, const std::string& text) override;
    std::string panelText(int panel) const;
    // Every text set, in order, as "panel:text" (tests follow the progress with it).
    std::vector<std::string> history() const;

private:
    mutable std::mutex mutex_;
    std::string panels_[2];
    std::vector<std::string> history_;
};

}  // namespace sysutils
