#include "forms/RtfWriter.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include <QFont>
#include <QString>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>

#include "forms/RtfFontSizes.h"
#include "forms/Windows1252.h"

namespace forms {
namespace {

struct CharacterState {
    bool bold = false;
    bool italic = false;
    int font = 0;
    int halfPoints = defaultHalfPoints;
};

class Writer {
public:
    explicit Writer(const QTextDocument& document) : document_(document) {
        const QStringList families = document.defaultFont().families();
        defaultFamily_ = families.isEmpty() ? document.defaultFont().family() : families.first();
    }

    std::string write() {
        fontIndex(defaultFamily_);  // \f0, the default font, is always in the table
        std::string body = "\\uc1\\pard\\f0\\fs" + std::to_string(defaultHalfPoints) + " ";
        bool firstBlock = true;
        for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
            if (!firstBlock) body += "\\par\r\n";
            firstBlock = false;
            for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
                const QTextFragment piece = fragment.fragment();
                if (!piece.isValid()) continue;
                change(body, stateOf(piece.charFormat()));
                text(body, piece.text(), /*inFontTable=*/false);
            }
        }
        std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl";
        for (std::size_t k = 0; k < fonts_.size(); ++k) {
            rtf += "{\\f" + std::to_string(k) + "\\fnil\\fcharset0 ";
            text(rtf, fonts_[k], /*inFontTable=*/true);
            rtf += ";}";
        }
        return rtf + "}\r\n" + body + "}";
    }

private:
    CharacterState stateOf(const QTextCharFormat& format) {
        CharacterState state;
        state.bold = format.fontWeight() >= QFont::Bold;
        state.italic = format.fontItalic();
        const QStringList families = format.fontFamilies().toStringList();
        state.font = fontIndex(families.isEmpty() ? defaultFamily_ : families.first());
        const double points = format.fontPointSize();
        state.halfPoints = points > 0 ? static_cast<int>(std::lround(points * 2)) : defaultHalfPoints;
        return state;
    }

    int fontIndex(const QString& family) {
        if (fonts_.empty()) fonts_.push_back(defaultFamily_);
        for (std::size_t k = 0; k < fonts_.size(); ++k)
            if (fonts_[k] == family) return static_cast<int>(k);
        fonts_.push_back(family);
        return static_cast<int>(fonts_.size() - 1);
    }

    void change(std::string& out, const CharacterState& wanted) {
        std::string words;
        if (wanted.bold != current_.bold) words += wanted.bold ? "\\b" : "\\b0";
        if (wanted.italic != current_.italic) words += wanted.italic ? "\\i" : "\\i0";
        if (wanted.font != current_.font) words += "\\f" + std::to_string(wanted.font);
        if (wanted.halfPoints != current_.halfPoints) words += "\\fs" + std::to_string(wanted.halfPoints);
        if (!words.empty()) out += words + " ";
        current_ = wanted;
    }

    static void text(std::string& out, const QString& text, bool inFontTable) {
        for (const QChar qc : text) {
            const char16_t c = qc.unicode();
            if (c == u'\\' || c == u'{' || c == u'}') {
                out += '\\';
                out += static_cast<char>(c);
            } else if (c == u'\t') {
                out += "\\tab ";
            } else if (c == 0x2028) {
                out += "\\line ";
            } else if (c == 0x00A0) {
                out += "\\~";
            } else if (c == 0x2011) {
                out += "\\_";
            } else if (c >= 0x20 && c < 0x7F && !(inFontTable && c == u';')) {
                out += static_cast<char>(c);
            } else if (const auto byte = toWindows1252(c); byte && *byte >= 0x20 && *byte != 0x7F) {
                char escape[5];
                std::snprintf(escape, sizeof escape, "\\'%02x", *byte);
                out += escape;
            } else {
                out += "\\u" + std::to_string(static_cast<std::int16_t>(c)) + "?";
            }
        }
    }

    const QTextDocument& document_;
    QString defaultFamily_;
    std::vector<QString> fonts_;
    CharacterState current_;
};

}  // namespace

std::string writeRtf(const QTextDocument& document) { return Writer(document).write(); }

}  // namespace forms
