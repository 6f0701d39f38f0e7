#pragma once
// Writes a Qt text document as rich text (RTF) that readRtf reads back to the same
// document: a font table of the fonts the text uses, then each paragraph with bold,
// italic, font and size where they change, \par and a CR LF between paragraphs.
// Characters outside code page 1252 are written as \uN with "?" as the fallback.
#include <string>

class QTextDocument;

namespace forms {

std::string writeRtf(const QTextDocument& document);

}  // namespace forms
