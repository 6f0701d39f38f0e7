// The form run-time: loading on first touch and again after unload, geometry in twips by
// name, the modal show that the close box ends, key codes passed by reference, option
// groups, list and check boxes, staying on top, the screen's pointer, the clipboard's
// formats, the rich-text box's page layout, the printer without printers, the printing
// system's file dialog over the modal window, and the window frame that holds a form.
#include "forms/Form.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QTest>
#include <QMimeData>
#include <QClipboard>
#include <QTimer>

#include "com/ComPtr.h"
#include "com/Creation.h"
#include "forms/CheckBox.h"
#include "forms/Clipboard.h"
#include "forms/CommandButton.h"
#include "forms/DeviceContext.h"
#include "forms/IWindowFrame.h"
#include "forms/Label.h"
#include "forms/ListBox.h"
#include "forms/OptionButton.h"
#include "forms/PictureBox.h"
#include "forms/Printer.h"
#include "forms/PrintingSystem.h"
#include "forms/RichEdit.h"
#include "forms/RichTextBox.h"
#include "forms/Screen.h"
#include "forms/TextBox.h"
#include "forms/WindowFrame.h"
#include "support/RunTimeErrors.h"

namespace {

class TestForm : public forms::Form {
public:
    TestForm()
        : forms::Form({.caption = "Test", .clientWidth = 6000, .clientHeight = 4500}),
          box(*this, "box", {.left = 300, .top = 150, .width = 1500, .height = 900, .border = true}),
          inner(*this, "inner", {.left = 30, .top = 45, .width = 600, .height = 300, .caption = "inner",
                                 .container = &box}),
          txtDistance(*this, "txtDistance", {.left = 2100, .top = 150, .width = 1500, .height = 330,
                                             .text = "design", .tabIndex = 2}),
          lbxTheme(*this, "lbxTheme", {.left = 2100, .top = 600, .width = 1500, .height = 1200, .tabIndex = 1}),
          optAll(*this, "optAll", {.left = 300, .top = 1200, .width = 1500, .height = 300, .caption = "All",
                                   .tabIndex = 3}),
          optWithin(*this, "optWithin", {.left = 300, .top = 1500, .width = 1500, .height = 300,
                                         .caption = "Within", .tabIndex = 4}),
          chkText(*this, "chkText", {.left = 300, .top = 1800, .width = 1500, .height = 300, .caption = "Text",
                                     .tabIndex = 5}),
          report(*this, "report", {.left = 300, .top = 2200, .width = 3000, .height = 1500, .tabIndex = 6}) {
        optAll.Click = [this] { events.push_back("optAll_Click"); };
        optWithin.Click = [this] { events.push_back("optWithin_Click"); };
        lbxTheme.Click = [this] { events.push_back("lbxTheme_Click " + std::to_string(lbxTheme.ListIndex())); };
        chkText.Click = [this] { events.push_back("chkText_Click"); };
    }

    forms::PictureBox box;
    forms::Label inner;
    forms::TextBox txtDistance;
    forms::ListBox lbxTheme;
    forms::OptionButton optAll;
    forms::OptionButton optWithin;
    forms::CheckBox chkText;
    forms::RichTextBox report;

    int loads = 0;
    int unloads = 0;
    std::vector<std::string> events;

protected:
    void Form_Load() override { ++loads; }
    void Form_Unload() override { ++unloads; }
};

void sendKey(QWidget* widget, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &press);
}

using testing_support::errorNumberOf;

TEST(Form, LoadsOnFirstTouchOfAControlAndAgainAfterUnload) {
    TestForm form;
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(form.loads, 0);
    EXPECT_EQ(form.txtDistance.Text(), "design");
    EXPECT_EQ(form.loads, 1);
    form.txtDistance.put_Text("changed");
    EXPECT_EQ(form.lbxTheme.ListCount(), 0);
    EXPECT_EQ(form.loads, 1);

    form.Unload();
    EXPECT_EQ(form.unloads, 1);
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(form.txtDistance.Text(), "design");  // a new window, from the design
    EXPECT_EQ(form.loads, 2);
}

TEST(Form, ReachesGeometryInTwipsByName) {
    TestForm form;
    struct Case {
        const char* property;
        double expected;
    };
    for (const Case& c : {Case{"Left", 2100}, Case{"Top", 150}, Case{"Width", 1500}, Case{"Height", 330}})
        EXPECT_EQ(com::toDouble(form.txtDistance.property(c.property)), c.expected) << c.property;
    EXPECT_EQ(com::toDouble(form.property("ScaleWidth")), 6000);
    EXPECT_EQ(com::toDouble(form.property("ScaleHeight")), 4500);

    form.txtDistance.setProperty("Width", 1437.0);  // whole pixels: 96 px
    EXPECT_EQ(form.txtDistance.Width(), 1440);
    form.txtDistance.setProperty("Left", std::int32_t{3000});
    EXPECT_EQ(form.txtDistance.Left(), 3000);
    EXPECT_EQ(errorNumberOf([&] { form.txtDistance.setProperty("Width", -15.0); }), 380);
    EXPECT_EQ(errorNumberOf([&] { form.txtDistance.setProperty("Height", 1.0e12); }), 6);
    EXPECT_EQ(errorNumberOf([&] { form.txtDistance.property("Colour"); }), 438);
    EXPECT_EQ(form.txtDistance.Width(), 1440);

    const auto containerOf = [](forms::Control& control) {
        return control.property("Container").get<com::ComPtr<com::IUnknown>>();
    };
    EXPECT_TRUE(com::sameObject(containerOf(form.inner), com::ComPtr<forms::IProperties>(&form.box)));
    EXPECT_TRUE(com::sameObject(containerOf(form.txtDistance), com::ComPtr<forms::IProperties>(&form)));
    EXPECT_EQ(com::toDouble(form.box.property("ScaleWidth")), 1500 - 2 * 15);  // inside the border
}

TEST(Form, ShowsModallyUntilTheCloseBoxUnloadsIt) {
    TestForm form;
    QTimer::singleShot(0, [&form] { form.topLevelWindow()->close(); });
    form.Show(forms::Modal);
    EXPECT_EQ(form.loads, 1);
    EXPECT_EQ(form.unloads, 1);
    EXPECT_FALSE(form.Loaded());
}

TEST(Form, RunsResizeHandlersUntilRemoved) {
    TestForm form;
    form.Show();
    QCoreApplication::processEvents();
    int resizes = 0;
    const int handler = form.addResizeHandler([&resizes] { ++resizes; });
    form.window()->resize(500, 400);
    QCoreApplication::processEvents();
    EXPECT_EQ(resizes, 1);
    form.removeResizeHandler(handler);
    form.window()->resize(520, 420);
    QCoreApplication::processEvents();
    EXPECT_EQ(resizes, 1);
    form.Unload();
}

TEST(Form, StaysOnTopThroughSetWindowPos) {
    TestForm form;
    using namespace winapi;
    SetWindowPos(form.hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_TRUE(form.window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    SetWindowPos(form.hWnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_FALSE(form.window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST(TextBox, PassesTypedKeysByReferenceToKeyPress) {
    struct Case {
        const char* name;
        std::function<void(std::int16_t&)> handler;
        QString typed;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"no handler changes nothing", nullptr, "a1,b", "a1,b"},
        {"0 cancels the key", [](std::int16_t& key) { if (key >= '0' && key <= '9') key = 0; }, "a1,b", "a,b"},
        {"another code replaces it", [](std::int16_t& key) { if (key == ',') key = '.'; }, "a1,b", "a1.b"},
    };
    for (const Case& c : cases) {
        TestForm form;
        form.txtDistance.put_Text("");
        form.txtDistance.KeyPress = c.handler;
        for (const QChar key : c.typed) sendKey(form.txtDistance.widget(), QString(key));
        EXPECT_EQ(form.txtDistance.Text(), c.expected) << c.name;
        EXPECT_EQ(form.txtDistance.SelStart(), static_cast<std::int32_t>(c.expected.size())) << c.name;
    }
}

TEST(Controls, OptionButtonsFormOneGroupAndRaiseClickWhenSelected) {
    TestForm form;
    form.optAll.put_Value(true);
    form.optWithin.put_Value(true);
    EXPECT_FALSE(form.optAll.Value());
    EXPECT_TRUE(form.optWithin.Value());
    form.optWithin.put_Value(false);
    EXPECT_FALSE(form.optWithin.Value());
    EXPECT_EQ(form.events, (std::vector<std::string>{"optAll_Click", "optWithin_Click"}));
}

TEST(Controls, ListBoxRaisesClickWhenTheUserChoosesTheRowThatTookTheFocus) {
    TestForm form;
    for (const char* row : {"1] roads", "2] lakes"}) form.lbxTheme.AddItem(row);
    form.Show();
    form.topLevelWindow()->activateWindow();
    form.lbxTheme.SetFocus();  // the list makes its first row current, unselected
    QCoreApplication::processEvents();
    EXPECT_EQ(form.lbxTheme.ListIndex(), -1);
    auto* list = static_cast<QListWidget*>(form.lbxTheme.widget());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(form.lbxTheme.ListIndex(), 0);
    EXPECT_EQ(form.events, std::vector<std::string>{"lbxTheme_Click 0"});
    form.Unload();
}

TEST(Controls, ListBoxKeepsOneSelectedRowInTheOrderAdded) {
    TestForm form;
    for (const char* row : {"1] roads", "2] lakes", "3] parks"}) form.lbxTheme.AddItem(row);
    EXPECT_EQ(form.lbxTheme.ListIndex(), -1);
    EXPECT_EQ(form.lbxTheme.Text(), "");
    form.lbxTheme.put_ListIndex(1);
    EXPECT_EQ(form.lbxTheme.Text(), "2] lakes");
    EXPECT_EQ(form.lbxTheme.List(2), "3] parks");
    EXPECT_EQ(errorNumberOf([&] { form.lbxTheme.put_ListIndex(3); }), 380);
    EXPECT_EQ(errorNumberOf([&] { form.lbxTheme.List(-1); }), 381);
    form.lbxTheme.put_ListIndex(-1);
    EXPECT_EQ(form.lbxTheme.ListIndex(), -1);
    form.lbxTheme.put_ListIndex(0);
    form.lbxTheme.Clear();
    EXPECT_EQ(form.lbxTheme.ListCount(), 0);
    EXPECT_EQ(form.lbxTheme.ListIndex(), -1);
    EXPECT_EQ(form.events, (std::vector<std::string>{"lbxTheme_Click 1", "lbxTheme_Click 0"}));
}

TEST(Controls, CheckBoxHoldsCheckedOrUnchecked) {
    TestForm form;
    EXPECT_EQ(form.chkText.Value(), forms::CheckBoxUnchecked);
    form.chkText.put_Value(forms::CheckBoxChecked);
    EXPECT_EQ(form.chkText.Value(), forms::CheckBoxChecked);
    EXPECT_EQ(errorNumberOf([&] { form.chkText.put_Value(2); }), 380);
    EXPECT_EQ(form.events, std::vector<std::string>{"chkText_Click"});
}

TEST(Controls, EnabledAndVisibleAreTheControlsOwnSettings) {
    TestForm form;
    EXPECT_TRUE(form.chkText.Visible());  // the form is not shown, the control still is
    form.chkText.put_Visible(false);
    form.chkText.put_Enabled(false);
    EXPECT_FALSE(com::toBoolean(form.chkText.property("Visible")));
    EXPECT_FALSE(com::toBoolean(form.chkText.property("Enabled")));
}

TEST(Screen, ShowsTheHourglassAndTheDefaultPointerAgain) {
    forms::Screen().put_MousePointer(forms::HourglassPointer);
    forms::Screen().put_MousePointer(forms::HourglassPointer);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    forms::Screen().put_MousePointer(forms::DefaultPointer);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(errorNumberOf([] { forms::Screen().put_MousePointer(99); }), 380);
    EXPECT_GT(forms::Screen().Width(), 0);
}

TEST(Clipboard, OffersOnlyTheFormatsSetSinceClear) {
    forms::Clipboard().SetText("plain before");
    forms::Clipboard().Clear();
    forms::Clipboard().SetText("{\\rtf1 x}", forms::ClipboardRichText);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->formats(), QStringList{"text/rtf"});
    EXPECT_EQ(forms::Clipboard().GetText(forms::ClipboardRichText), "{\\rtf1 x}");
    EXPECT_EQ(forms::Clipboard().GetText(forms::ClipboardText), "");
}

TEST(RichTextBox, FormatsRangesPageByPageToTheEnd) {
    TestForm form;
    std::string text;
    for (int line = 0; line < 40; ++line) text += "line " + std::to_string(line) + "\n";
    form.report.put_Text(text);
    const auto length = static_cast<forms::LRESULT>(QString::fromStdString(text).size());
    forms::FORMATRANGE range;
    range.rc = {0, 0, 4000, 1440};  // an inch: a few lines
    std::vector<forms::LRESULT> starts;
    for (int page = 0; page < 100; ++page) {
        const forms::LRESULT next =
            forms::SendMessageA(form.report.hWnd(), forms::EM_FORMATRANGE, 0, reinterpret_cast<forms::LPARAM>(&range));
        ASSERT_GT(next, range.chrg.cpMin);
        starts.push_back(next);
        if (next >= length) break;
        range.chrg.cpMin = static_cast<winapi::LONG>(next);
    }
    ASSERT_GT(starts.size(), 2u);
    EXPECT_EQ(starts.back(), length);
    EXPECT_EQ(text.substr(static_cast<std::size_t>(starts[0]), 5), "line ");  // pages break between lines

    range.chrg.cpMin = 0;
    range.rc = {0, 500, 4000, 500};  // no room at all: no progress
    EXPECT_EQ(forms::SendMessageA(form.report.hWnd(), forms::EM_FORMATRANGE, 0, reinterpret_cast<forms::LPARAM>(&range)), 0);
    EXPECT_EQ(forms::SendMessageA(form.report.hWnd(), forms::EM_FORMATRANGE, 0, 0), 0);
    EXPECT_EQ(forms::SendMessageA(form.txtDistance.hWnd(), forms::EM_FORMATRANGE, 0, 0), 0);
}

TEST(Printer, WithoutAnyPrinterEveryUseFails) {
    forms::ScriptedPrinting noPrinter(std::nullopt);
    EXPECT_EQ(errorNumberOf([] { forms::Printer().TwipsPerPixelX(); }), 484);
    EXPECT_EQ(errorNumberOf([] { forms::Printer().Print(" "); }), 484);
    EXPECT_EQ(forms::CreateDCA("PDF", "PDF", nullptr, nullptr), nullptr);
    EXPECT_EQ(forms::GetDeviceCaps(nullptr, forms::PHYSICALOFFSETX), 0);
}

TEST(PrintingSystem, AsksForTheFileToPrintToOverTheModalWindow) {
    TestForm form;
    QWidget* owner = nullptr;
    QWidget* modalWindow = nullptr;
    std::optional<std::string> fileName = "not asked";
    QTimer::singleShot(0, [&] {
        modalWindow = form.topLevelWindow();
        // Inside the form's modal show: the system's dialog asks for the file; once it is
        // up, note its owner and cancel it.
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            owner = dialog->parentWidget();
            dialog->reject();
        });
        fileName = forms::printingSystem().outputFileName();
        form.Unload();
    });
    form.Show(forms::Modal);
    EXPECT_EQ(owner, modalWindow) << "a dialog without an owner opens behind the modal window";
    EXPECT_EQ(fileName, std::nullopt);
}

TEST(WindowFrame, HoldsTheFormWithACaptionAndAHeightInPixels) {
    forms::registerWindowFrameClass();
    TestForm form;
    const auto frame = com::createInstanceAs<forms::IWindowFrame>(forms::CLSID_WindowFrame);
    frame->Hold(form);
    frame->put_Caption(" Current Status:");
    frame.as<forms::IWindowFrameSize>()->put_Height(153);
    form.Show();
    QWidget* shown = form.topLevelWindow();
    EXPECT_NE(shown, form.window());
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(shown->windowTitle(), " Current Status:");
    EXPECT_EQ(shown->height(), 153);
    EXPECT_EQ(form.window()->height(), 153);  // the form fills the frame
    shown->close();
    EXPECT_EQ(form.unloads, 1);
    EXPECT_FALSE(shown->isVisible());
}

}  // namespace
