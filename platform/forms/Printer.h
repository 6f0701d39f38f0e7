#pragma once
// The run-time's printer object: the default printer of the printing system in force
// (PrintingSystem.h). Its page and printable area are measured in twips or device
// pixels (ScaleMode), its device context draws the current page while a job runs. The
// first Print or NewPage starts a job (a PDF printer asks for the file then; a job
// whose file was not given draws nothing), EndDoc ends it. Without any printer, every
// property and method raises 484.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <QPainter>

#include "forms/DeviceContext.h"
#include "forms/PrintingSystem.h"

class QPrinter;

namespace forms {

enum ScaleModeConstants : std::int16_t { ScaleTwips = 1, ScalePoints = 2, ScalePixels = 3, ScaleInches = 5 };

class PrinterObject {
public:
    PrinterObject();
    ~PrinterObject();
    PrinterObject(const PrinterObject&) = delete;
    PrinterObject& operator=(const PrinterObject&) = delete;

    // Twips or pixels; other modes are refused with 380.
    std::int16_t ScaleMode();
    void put_ScaleMode(std::int16_t mode);
    // The paper, in twips.
    double Width();
    double Height();
    // The printable area, in the scale mode's units.
    double ScaleWidth();
    double ScaleHeight();
    double TwipsPerPixelX();
    double TwipsPerPixelY();
    std::int16_t Copies();
    void put_Copies(std::int16_t copies);
    std::string DeviceName();
    std::string DriverName();
    HDC hDC();

    // Writes the text at the current position and moves to the next line.
    void Print(const std::string& text);
    void NewPage();
    void EndDoc();
    // A length converted between scale modes.
    double ScaleX(double value, std::int16_t fromScale, std::int16_t toScale);
    double ScaleY(double value, std::int16_t fromScale, std::int16_t toScale);

    // The metrics of the default printer when `device` names it, of another printer
    // of the system when one has that name, else nothing.
    std::optional<DeviceContext> informationContext(const std::string& driver, const std::string& device);
    // Forgets the printer and any job; the next use takes the default printer anew.
    void reset();

private:
    QPrinter& printer();
    void startJob();
    bool drawing() const { return painter_.isActive(); }
    double twipsPerUnit(std::int16_t mode, bool horizontal);
    DeviceContext metricsOf(QPrinter& printer) const;

    std::unique_ptr<QPrinter> printer_;
    PrintDestination destination_;
    std::int16_t scaleMode_ = ScaleTwips;
    QPainter painter_;
    bool jobStarted_ = false;
    DeviceContext context_;
    double currentY_ = 0;
};

// The process's printer object.
PrinterObject& Printer();

}  // namespace forms
