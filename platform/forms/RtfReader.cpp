#include "forms/RtfReader.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include <QFont>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include "forms/RtfFontSizes.h"
#include "forms/Windows1252.h"

namespace forms {
namespace {

enum class Destination { Text, FontTable, Skipped };

// Where a character came from: only a literal ";" ends a font's name, and the fallback
// characters that \uN skips are literals and \'hh escapes, never another \uN.
enum class Origin { Literal, Escape, UnicodeEscape };

struct CharacterState {
    bool bold = false;
    bool italic = false;
    int font = -1;  // -1: the document's default font (\deff)
    int halfPoints = defaultHalfPoints;
    bool operator==(const CharacterState&) const = default;
};

struct GroupState {
    CharacterState character;
    int unicodeSkip = 1;
    Destination destination = Destination::Text;
};

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Characters that the document would take for structure (block and frame separators,
// object markers) or that have no place in a text: dropped.
bool shown(char16_t c) {
    if (c == u'\t') return true;
    if (c < 0x20 || c == 0x7F) return false;
    return c != 0x2029 && c != 0xFDD0 && c != 0xFDD1 && c != 0xFFFC;
}

// Destinations that hold no text to show, besides the starred ones.
bool skippedDestination(std::string_view word) {
    static constexpr std::string_view skipped[] = {
        "colortbl", "stylesheet", "info",       "pict",       "header",    "headerl",   "headerr",
        "headerf",  "footer",     "footerl",    "footerr",    "footerf",   "footnote",  "object",
        "falt",     "listtable",  "listoverridetable",        "revtbl",    "rsidtbl",   "xmlnstbl",
        "author",   "operator",   "title",      "subject",    "keywords",  "comment",   "doccomm",
        "fldinst",  "themedata",  "colorschememapping",       "latentstyles", "datastore", "nonshppict",
        "bkmkstart", "bkmkend"};
    return std::find(std::begin(skipped), std::end(skipped), word) != std::end(skipped);
}

class Reader {
public:
    Reader(const std::string& rtf, QTextDocument& document) : rtf_(rtf), cursor_(&document) {}

    void read() {
        std::size_t at = 0;
        while (at < rtf_.size()) {
            const char c = rtf_[at];
            if (c == '{') {
                ++at;
                if (groups_.size() >= maxGroupDepth) break;
                groups_.push_back(groups_.empty() ? GroupState{} : groups_.back());
                skipRemaining_ = 0;
                starred_ = false;
            } else if (c == '}') {
                ++at;
                if (groups_.empty()) continue;
                groups_.pop_back();
                skipRemaining_ = 0;
                starred_ = false;
                if (groups_.empty()) break;  // the document's group is closed
            } else if (c == '\\') {
                at = controlAt(at + 1);
            } else if (c == '\r' || c == '\n') {
                ++at;
            } else {
                ++at;
                character(fromWindows1252(static_cast<unsigned char>(c)), Origin::Literal);
            }
        }
        flush();
    }

private:
    GroupState& state() {
        if (groups_.empty()) groups_.push_back(GroupState{});
        return groups_.back();
    }

    // Reads the control word or symbol that starts at `at` (behind the backslash) and
    // returns the position behind it.
    std::size_t controlAt(std::size_t at) {
        if (at >= rtf_.size()) return at;
        const char first = rtf_[at];
        if (!isLetter(first)) return symbolAt(at);
        std::string word;
        while (at < rtf_.size() && isLetter(rtf_[at])) {
            if (word.size() < 32) word += rtf_[at];
            ++at;
        }
        bool hasParameter = false;
        std::int64_t parameter = 0;
        bool negative = false;
        if (at + 1 < rtf_.size() && rtf_[at] == '-' && isDigit(rtf_[at + 1])) {
            negative = true;
            ++at;
        }
        while (at < rtf_.size() && isDigit(rtf_[at])) {
            hasParameter = true;
            if (parameter < INT_MAX) parameter = parameter * 10 + (rtf_[at] - '0');
            ++at;
        }
        if (at < rtf_.size() && rtf_[at] == ' ') ++at;
        parameter = std::min<std::int64_t>(parameter, INT_MAX);
        if (word == "bin") {
            // Binary data of the given length follows; it is never text.
            const auto length = static_cast<std::size_t>(negative ? 0 : parameter);
            return at + std::min(length, rtf_.size() - at);
        }
        word_(word, hasParameter, static_cast<int>(negative ? -parameter : parameter));
        return at;
    }

    std::size_t symbolAt(std::size_t at) {
        const char symbol = rtf_[at++];
        switch (symbol) {
        case '\'': {
            int value = -1;
            if (at + 1 < rtf_.size() && hexValue(rtf_[at]) >= 0 && hexValue(rtf_[at + 1]) >= 0) {
                value = hexValue(rtf_[at]) * 16 + hexValue(rtf_[at + 1]);
                at += 2;
            }
            if (value >= 0) character(fromWindows1252(static_cast<unsigned char>(value)));
            break;
        }
        case '*':
            starred_ = true;
            break;
        case '\\':
        case '{':
        case '}':
            character(static_cast<char16_t>(symbol));
            break;
        case '~':
            character(0x00A0);
            break;
        case '_':
            character(0x2011);
            break;
        case '\r':
        case '\n':
            word_("par", false, 0);
            break;
        default:  // \- (optional hyphen) and unknown symbols show nothing
            consumeSkipped();
            break;
        }
        return at;
    }

    // True when a fallback character of \uN is being skipped (and counts it).
    bool consumeSkipped() {
        if (skipRemaining_ == 0) return false;
        --skipRemaining_;
        return true;
    }

    void word_(const std::string& word, bool hasParameter, int parameter) {
        GroupState& group = state();
        if (starred_) {
            starred_ = false;
            group.destination = Destination::Skipped;
            return;
        }
        if (group.destination == Destination::Skipped) return;
        if (word == "u") {
            if (skipRemaining_ > 0) skipRemaining_ = 0;
            unicode(parameter);
            skipRemaining_ = group.unicodeSkip;
            return;
        }
        if (consumeSkipped()) return;
        if (word == "fonttbl") {
            flush();
            group.destination = Destination::FontTable;
        } else if (skippedDestination(word)) {
            flush();
            group.destination = Destination::Skipped;
        } else if (word == "f") {
            if (group.destination == Destination::FontTable) {
                fontNumber_ = parameter;
                fontName_.clear();
            } else {
                group.character.font = parameter;
            }
        } else if (word == "deff") {
            defaultFont_ = parameter;
        } else if (word == "uc") {
            group.unicodeSkip = std::clamp(parameter, 0, 16);
        } else if (word == "b") {
            group.character.bold = !hasParameter || parameter != 0;
        } else if (word == "i") {
            group.character.italic = !hasParameter || parameter != 0;
        } else if (word == "fs") {
            group.character.halfPoints = hasParameter && parameter > 0 ? std::min(parameter, maxHalfPoints)
                                                                       : defaultHalfPoints;
        } else if (word == "plain") {
            group.character = CharacterState{};
        } else if (word == "par") {
            paragraph();
        } else if (word == "tab") {
            character(u'\t');
        } else if (word == "line") {
            character(0x2028);
        } else if (word == "emdash") {
            character(0x2014);
        } else if (word == "endash") {
            character(0x2013);
        } else if (word == "bullet") {
            character(0x2022);
        } else if (word == "lquote") {
            character(0x2018);
        } else if (word == "rquote") {
            character(0x2019);
        } else if (word == "ldblquote") {
            character(0x201C);
        } else if (word == "rdblquote") {
            character(0x201D);
        }
        // Every other word (\pard, \rtf, \ansi, paragraph and page settings ...) changes
        // nothing that the document shows.
    }

    void unicode(int parameter) {
        // The parameter is a signed 16-bit number: characters above 32767 come negative.
        const int value = parameter < 0 ? parameter + 65536 : parameter;
        if (value < 0 || value > 0xFFFF) return;
        character(static_cast<char16_t>(value), Origin::UnicodeEscape);
    }

    void character(char16_t c, Origin origin = Origin::Escape) {
        if (origin != Origin::UnicodeEscape && consumeSkipped()) return;
        GroupState& group = state();
        if (group.destination == Destination::Skipped) return;
        if (group.destination == Destination::FontTable) {
            if (c == u';' && origin == Origin::Literal) {
                fonts_[fontNumber_] = fontName_.trimmed();
                fontName_.clear();
            } else if (fontName_.size() < 256) {
                fontName_ += QChar(c);
            }
            return;
        }
        if (!shown(c)) return;
        if (!(group.character == runState_) && !run_.isEmpty()) flush();
        runState_ = group.character;
        run_ += QChar(c);
    }

    void paragraph() {
        if (state().destination != Destination::Text) return;
        flush();
        cursor_.insertBlock(QTextBlockFormat(), format(state().character));
    }

    void flush() {
        if (run_.isEmpty()) return;
        cursor_.insertText(run_, format(runState_));
        run_.clear();
    }

    QTextCharFormat format(const CharacterState& character) const {
        QTextCharFormat result;
        result.setFontWeight(character.bold ? QFont::Bold : QFont::Normal);
        result.setFontItalic(character.italic);
        result.setFontPointSize(character.halfPoints / 2.0);
        const auto font = fonts_.find(character.font < 0 ? defaultFont_ : character.font);
        if (font != fonts_.end() && !font->second.isEmpty()) result.setFontFamilies({font->second});
        return result;
    }

    const std::string& rtf_;
    QTextCursor cursor_;
    std::vector<GroupState> groups_;
    std::map<int, QString> fonts_;
    int defaultFont_ = 0;
    int fontNumber_ = 0;
    QString fontName_;
    bool starred_ = false;
    int skipRemaining_ = 0;
    QString run_;
    CharacterState runState_;
};

}  // namespace

void readRtf(const std::string& rtf, QTextDocument& document) {
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    Reader(rtf, document).read();
    document.setUndoRedoEnabled(undo);
}

}  // namespace forms
