#pragma once
// The seam between the printer object and the system's printers. The system's
// implementation offers the system's default printer when there is one, else a PDF
// printer whose jobs go to a file that a dialog asks for when a job starts; the dialog
// belongs to the modal window in front, else to the active window. Tests install
// ScriptedPrinting: a PDF printer writing to a given file, or no printer at all.
#include <optional>
#include <string>

namespace forms {

struct PrintDestination {
    std::string deviceName;
    std::string driverName;
    bool toFile = false;  // a PDF printer: each job asks for its file
};

class PrintingSystem {
public:
    virtual ~PrintingSystem() = default;
    // The default printer, or nothing when the system has no printer at all.
    virtual std::optional<PrintDestination> defaultPrinter() = 0;
    // The file of a job to a file; nothing when the user cancels.
    virtual std::optional<std::string> outputFileName() = 0;
};

// The implementation in force: the installed one, else the system's.
PrintingSystem& printingSystem();
// Installs an implementation (nullptr: the system's again); the printer object starts
// over with the new default printer.
void installPrintingSystem(PrintingSystem* system);

// A PDF printer writing every job to one file, or (without a file) no printer at all.
// Installs itself for its lifetime.
class ScriptedPrinting : public PrintingSystem {
public:
    // A PDF printer whose jobs go to `fileName`; std::nullopt: no printer.
    explicit ScriptedPrinting(std::optional<std::string> fileName);
    ~ScriptedPrinting() override;
    ScriptedPrinting(const ScriptedPrinting&) = delete;
    ScriptedPrinting& operator=(const ScriptedPrinting&) = delete;

    std::optional<PrintDestination> defaultPrinter() override;
    std::optional<std::string> outputFileName() override;
    int fileNamesAsked() const { return asked_; }

private:
    std::optional<std::string> fileName_;
    int asked_ = 0;
    PrintingSystem* previous_;
};

}  // namespace forms
