#include "forms/Printer.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

#include "com/Error.h"
#include "forms/IProperties.h"

namespace forms {
namespace {

com::Error printerUnavailable() {
    return com::Error(errors::PrinterUnavailable, "",
                      "Problem getting printer information from the system. Make sure the printer is set up correctly.");
}

com::Error printerError() { return com::Error(482, "", "Printer error"); }

std::unique_ptr<QPrinter> printerFor(const PrintDestination& destination) {
    std::unique_ptr<QPrinter> printer;
    if (destination.toFile) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
    } else {
        printer = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(QString::fromStdString(destination.deviceName)),
                                             QPrinter::HighResolution);
    }
    printer->setFullPage(false);
    return printer;
}

}  // namespace

PrinterObject::PrinterObject() = default;
PrinterObject::~PrinterObject() { reset(); }

QPrinter& PrinterObject::printer() {
    if (printer_ == nullptr) {
        const std::optional<PrintDestination> destination = printingSystem().defaultPrinter();
        if (!destination) throw printerUnavailable();
        destination_ = *destination;
        printer_ = printerFor(destination_);
        context_ = metricsOf(*printer_);
    }
    return *printer_;
}

DeviceContext PrinterObject::metricsOf(QPrinter& printer) const {
    DeviceContext metrics;
    metrics.dpiX = printer.logicalDpiX();
    metrics.dpiY = printer.logicalDpiY();
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    metrics.physicalOffsetX = static_cast<int>(std::lround(page.left() - paper.left()));
    metrics.physicalOffsetY = static_cast<int>(std::lround(page.top() - paper.top()));
    return metrics;
}

void PrinterObject::reset() {
    if (painter_.isActive()) painter_.end();
    jobStarted_ = false;
    printer_.reset();
    context_ = DeviceContext{};
    currentY_ = 0;
}

std::int16_t PrinterObject::ScaleMode() {
    printer();
    return scaleMode_;
}

void PrinterObject::put_ScaleMode(std::int16_t mode) {
    printer();
    if (mode != ScaleTwips && mode != ScalePixels) throw invalidPropertyValue();
    scaleMode_ = mode;
}

double PrinterObject::Width() { return printer().paperRect(QPrinter::Point).width() * 20.0; }
double PrinterObject::Height() { return printer().paperRect(QPrinter::Point).height() * 20.0; }

double PrinterObject::ScaleWidth() {
    if (scaleMode_ == ScalePixels) return printer().pageRect(QPrinter::DevicePixel).width();
    return printer().pageRect(QPrinter::Point).width() * 20.0;
}

double PrinterObject::ScaleHeight() {
    if (scaleMode_ == ScalePixels) return printer().pageRect(QPrinter::DevicePixel).height();
    return printer().pageRect(QPrinter::Point).height() * 20.0;
}

double PrinterObject::TwipsPerPixelX() { return 1440.0 / printer().logicalDpiX(); }
double PrinterObject::TwipsPerPixelY() { return 1440.0 / printer().logicalDpiY(); }
std::int16_t PrinterObject::Copies() { return static_cast<std::int16_t>(printer().copyCount()); }

void PrinterObject::put_Copies(std::int16_t copies) {
    if (copies < 1) throw invalidPropertyValue();
    printer().setCopyCount(copies);
}

std::string PrinterObject::DeviceName() {
    printer();
    return destination_.deviceName;
}

std::string PrinterObject::DriverName() {
    printer();
    return destination_.driverName;
}

HDC PrinterObject::hDC() {
    printer();
    context_.painter = drawing() ? &painter_ : nullptr;
    return &context_;
}

void PrinterObject::startJob() {
    QPrinter& target = printer();
    if (jobStarted_) return;
    if (destination_.toFile) {
        const std::optional<std::string> file = printingSystem().outputFileName();
        jobStarted_ = true;
        if (!file) return;  // cancelled: the job draws nothing
        target.setOutputFileName(QString::fromStdString(*file));
    }
    jobStarted_ = true;
    if (!painter_.begin(&target)) {
        jobStarted_ = false;
        throw printerError();
    }
    currentY_ = 0;
}

void PrinterObject::Print(const std::string& text) {
    startJob();
    if (!drawing()) return;
    const QFontMetricsF metrics(painter_.font());
    painter_.drawText(QPointF(0, currentY_ + metrics.ascent()), QString::fromStdString(text));
    currentY_ += metrics.lineSpacing();
}

void PrinterObject::NewPage() {
    startJob();
    currentY_ = 0;
    if (drawing() && !printer_->newPage()) throw printerError();
}

void PrinterObject::EndDoc() {
    printer();
    if (drawing()) painter_.end();
    jobStarted_ = false;
    currentY_ = 0;
}

double PrinterObject::twipsPerUnit(std::int16_t mode, bool horizontal) {
    switch (mode) {
    case ScaleTwips: return 1.0;
    case ScalePoints: return 20.0;
    case ScaleInches: return 1440.0;
    case ScalePixels: return horizontal ? TwipsPerPixelX() : TwipsPerPixelY();
    default: throw com::runtimeError(com::errors::InvalidProcedureCall);
    }
}

double PrinterObject::ScaleX(double value, std::int16_t fromScale, std::int16_t toScale) {
    return value * twipsPerUnit(fromScale, true) / twipsPerUnit(toScale, true);
}

double PrinterObject::ScaleY(double value, std::int16_t fromScale, std::int16_t toScale) {
    return value * twipsPerUnit(fromScale, false) / twipsPerUnit(toScale, false);
}

std::optional<DeviceContext> PrinterObject::informationContext(const std::string&, const std::string& device) {
    const std::optional<PrintDestination> standard = printingSystem().defaultPrinter();
    if (standard && standard->deviceName == device) return metricsOf(printer());
    const QPrinterInfo other = QPrinterInfo::printerInfo(QString::fromStdString(device));
    if (other.isNull()) return std::nullopt;
    QPrinter probe(other, QPrinter::HighResolution);
    return metricsOf(probe);
}

PrinterObject& Printer() {
    static PrinterObject* printer = new PrinterObject;  // lives to the end of the process
    return *printer;
}

}  // namespace forms
