#include "forms/PrintingSystem.h"

#include <QApplication>
#include <QFileDialog>
#include <QPrinterInfo>

#include "forms/Printer.h"

namespace forms {
namespace {

// The window that the printing dialogs belong to: the modal window in front (the report
// window shows modally and stays on top), else the active window. A dialog without an
// owner could open behind it.
QWidget* dialogOwner() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

class SystemPrinting : public PrintingSystem {
public:
    std::optional<PrintDestination> defaultPrinter() override {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (!info.isNull()) return PrintDestination{info.printerName().toStdString(), info.makeAndModel().toStdString(), false};
        return PrintDestination{"PDF", "PDF", true};
    }
    std::optional<std::string> outputFileName() override {
        const QString name = QFileDialog::getSaveFileName(dialogOwner(), QStringLiteral("Print to File"),
                                                          QStringLiteral("report.pdf"), QStringLiteral("PDF (*.pdf)"));
        if (name.isEmpty()) return std::nullopt;
        return name.toStdString();
    }
};

PrintingSystem*& installed() {
    static PrintingSystem* system = nullptr;
    return system;
}

}  // namespace

PrintingSystem& printingSystem() {
    static SystemPrinting system;
    return installed() != nullptr ? *installed() : system;
}

void installPrintingSystem(PrintingSystem* system) {
    installed() = system;
    Printer().reset();
}

ScriptedPrinting::ScriptedPrinting(std::optional<std::string> fileName)
    : fileName_(std::move(fileName)), previous_(installed()) {
    installPrintingSystem(this);
}

ScriptedPrinting::~ScriptedPrinting() { installPrintingSystem(previous_); }

std::optional<PrintDestination> ScriptedPrinting::defaultPrinter() {
    if (!fileName_) return std::nullopt;
    return PrintDestination{"PDF", "PDF", true};
}

std::optional<std::string> ScriptedPrinting::outputFileName() {
    ++asked_;
    return fileName_;
}

}  // namespace forms
