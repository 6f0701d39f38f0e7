// The key filter of text boxes that hold a positive real number: which typed characters
// it drops, and the decimal point kept only where it leaves a number.
#include <gtest/gtest.h>

#include "forms/Form.h"
#include "forms/TextBox.h"
#include "gis_toolkit/MyGeneralOperations.h"
#include "gis_toolkit/support/RecordingErrorReport.h"
#include "sysutils/FormatSettings.h"

namespace {

class BoxForm : public forms::Form {
public:
    BoxForm() : forms::Form({}), box(*this, "box", {.left = 0, .top = 0, .width = 990, .height = 300, .tabIndex = 0}) {}
    forms::TextBox box;
};

struct Case {
    const char* name;
    std::string text;
    std::int32_t caret;
    std::int16_t key;
    bool kept;
    char separator = '.';
};

TEST(CheckNumericRealPositive, KeepsOnlyWhatCanMakeAPositiveNumber) {
    const Case cases[] = {
        {"a digit", "", 0, '7', true},
        {"backspace", "12", 2, 8, true},
        {"a comma, always", "", 0, ',', true},
        {"a point into an empty box", "", 0, '.', false},
        {"a point after a digit", "1", 1, '.', true},
        {"a point between digits", "15", 1, '.', true},
        {"a point before the digits", "15", 0, '.', true},
        {"a second point", "1.5", 3, '.', false},
        {"a point where the separator is a comma", "1", 1, '.', false, ','},
        {"a minus sign", "", 0, '-', false},
        {"a plus sign", "", 0, '+', false},
        {"a blank", "1", 1, ' ', false},
        {"a slash", "1", 1, '/', false},
        {"a letter", "1", 1, 'e', false},
        {"a colon", "1", 1, ':', false},
        {"Enter", "1", 1, 13, false},
        {"Tab", "1", 1, 9, false},
        {"a control key below backspace", "1", 1, 7, false},
        {"a character beyond the ASCII letters", "1", 1, 233, false},
    };
    testing_support::RecordingErrorReport reports;
    BoxForm form;
    for (const Case& c : cases) {
        sysutils::ScopedDecimalSeparator separator(c.separator);
        form.box.put_Text(c.text);
        form.box.put_SelStart(c.caret);
        std::int16_t key = c.key;
        gis_toolkit::MyGeneralOperations::CheckNumericRealPositive(key, form.box);
        EXPECT_EQ(key, c.kept ? c.key : 0) << c.name;
        EXPECT_EQ(form.box.Text(), c.text) << c.name;
    }
    EXPECT_TRUE(reports.shown().empty());
}

}  // namespace
