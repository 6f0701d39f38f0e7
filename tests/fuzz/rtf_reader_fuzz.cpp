// Reads the input as rich text into a document and lays it out, then checks that what
// was read is written, read back to the same text and written again unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QTextDocument>

#include "FuzzInput.h"
#include "forms/RtfReader.h"
#include "forms/RtfWriter.h"

namespace {

// Fonts and layout need a GUI application; the offscreen platform needs no display.
// The application lives to the end of the process and is never destroyed: at exit the
// Qt libraries may already be gone.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "rtf_reader_fuzz";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance() != nullptr) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(argc, argv);
}

}  // namespace

// The font configuration that the application loads stays until the end of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > fuzzing::maxInputSize) return -1;
    ensureApplication();
    const std::string rtf(reinterpret_cast<const char*>(data), size);
    QTextDocument first;
    forms::readRtf(rtf, first);
    first.setTextWidth(480);
    (void)first.documentLayout()->documentSize();

    const std::string written = forms::writeRtf(first);
    QTextDocument second;
    forms::readRtf(written, second);
    if (second.toRawText() != first.toRawText()) std::abort();
    if (forms::writeRtf(second) != written) std::abort();
    return 0;
}
