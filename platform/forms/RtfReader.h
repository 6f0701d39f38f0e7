#pragma once
// Reads a rich-text (RTF) document into a Qt text document: groups, control words with
// their parameters, the escapes \'hh (code page 1252) and \uN (with \ucN fallback
// characters skipped), the font table, bold, italic, font size and font, paragraphs,
// tabs and line breaks. Destinations it does not show (starred ones, colour and style
// tables, document information, pictures, headers ...) are skipped. Input that is not
// well formed is shown as far as it could be read; reading never fails, ends after one
// pass over the input, and stops at a nesting deeper than maxGroupDepth.
#include <cstddef>
#include <string>

class QTextDocument;

namespace forms {

inline constexpr std::size_t maxGroupDepth = 256;

// Replaces the document's content with what the RTF text holds.
void readRtf(const std::string& rtf, QTextDocument& document);

}  // namespace forms
