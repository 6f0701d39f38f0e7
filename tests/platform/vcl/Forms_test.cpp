// Forms and the application: creation order, the close protocol, modal forms, the
// paint handler, and exceptions raised in handlers.
#include <gtest/gtest.h>

#include <memory>

#include <QTimer>

#include "WindowTesting.h"
#include "sysutils/Exception.h"
#include "sysutils/MessageBoxes.h"
#include "vcl/Application.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"

namespace {

using window_testing::waitFor;

struct ApplicationFixture : ::testing::Test {
    sysutils::ScriptedMessageBoxes boxes;
    std::unique_ptr<vcl::TApplication> application;
    void SetUp() override {
        static int argc = 1;
        static char name[] = "vcl_test";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<vcl::TApplication>(argc, argv);
        application->Initialize();
        application->SetTitle("Title of the program");
    }
    void TearDown() override { application.reset(); }
};

class FirstForm;
class SecondForm;
FirstForm* First = nullptr;
SecondForm* Second = nullptr;

class FirstForm : public vcl::TForm {
public:
    explicit FirstForm(vcl::TComponent* owner) : vcl::TForm(owner) {
        reachedItselfWhileBuilt = First == this;
        secondWasNull = Second == nullptr;
    }
    bool reachedItselfWhileBuilt = false;
    bool secondWasNull = false;
};

class SecondForm : public vcl::TForm {
public:
    explicit SecondForm(vcl::TComponent* owner) : vcl::TForm(owner) {}
};

TEST_F(ApplicationFixture, AFormReachesItselfThroughItsGlobalWhileLaterFormsAreStillNull) {
    application->CreateForm(First);
    application->CreateForm(Second);
    EXPECT_TRUE(First->reachedItselfWhileBuilt);
    EXPECT_TRUE(First->secondWasNull);
    EXPECT_EQ(application->MainForm(), First);
    application->DestroyForms();
}

struct CloseCase {
    const char* name;
    bool mainForm;
    vcl::TCloseAction action;
    bool staysVisible;
    bool endsTheLoop;
};

class CloseProtocol : public ApplicationFixture, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseProtocol, TheHandlersCloseActionDecides) {
    const CloseCase& c = GetParam();
    application->CreateForm(First);
    application->CreateForm(Second);
    vcl::TForm* form = c.mainForm ? static_cast<vcl::TForm*>(First) : Second;
    form->OnClose = [&c](vcl::TObject*, vcl::TCloseAction& action) {
        EXPECT_EQ(action, vcl::TCloseAction::caHide);
        action = c.action;
    };
    form->Show();
    form->window()->close();  // as the window's close button does
    EXPECT_EQ(form->Visible(), c.staysVisible);
    EXPECT_EQ(application->Terminated(), c.endsTheLoop);
    application->DestroyForms();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CloseProtocol,
    ::testing::Values(CloseCase{"NoneKeepsTheMainFormOpen", true, vcl::TCloseAction::caNone, true, false},
                      CloseCase{"FreeEndsTheLoopForTheMainForm", true, vcl::TCloseAction::caFree, false, true},
                      CloseCase{"HideEndsTheLoopForTheMainForm", true, vcl::TCloseAction::caHide, false, true},
                      CloseCase{"HideHidesAnotherForm", false, vcl::TCloseAction::caHide, false, false},
                      CloseCase{"NoneKeepsAnotherFormOpen", false, vcl::TCloseAction::caNone, true, false}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(ApplicationFixture, AModalFormReturnsTheResultOfTheButtonThatClosedIt) {
    application->CreateForm(First);
    application->CreateForm(Second);
    auto* ok = new vcl::TButton(Second, "OK");
    ok->SetModalResult(vcl::TModalResult::mrOk);
    bool visibleWhileShown = false;
    QTimer::singleShot(0, [&] {
        visibleWhileShown = Second->Visible();
        ok->Click();
    });
    EXPECT_EQ(Second->ShowModal(), vcl::TModalResult::mrOk);
    EXPECT_TRUE(visibleWhileShown);
    EXPECT_FALSE(Second->Visible());

    QTimer::singleShot(0, [&] { Second->Close(); });
    EXPECT_EQ(Second->ShowModal(), vcl::TModalResult::mrCancel);
    application->DestroyForms();
}

TEST_F(ApplicationFixture, ThePaintHandlerRunsWhenTheFormIsMoved) {
    application->CreateForm(First);
    int paints = 0;
    First->OnPaint = [&paints](vcl::TObject*) { ++paints; };
    First->Show();
    ASSERT_TRUE(waitFor([&] { return paints > 0; }));
    const int before = paints;
    First->SetLeft(First->Left() + 40);
    ASSERT_TRUE(waitFor([&] { return paints > before; }));
    application->DestroyForms();
}

TEST_F(ApplicationFixture, AnExceptionInAHandlerIsShownInTheApplicationsBoxAndTheProgramGoesOn) {
    application->CreateForm(First);
    auto* button = new vcl::TButton(First, "Go");
    int clicks = 0;
    button->OnClick = [&clicks](vcl::TObject*) {
        ++clicks;
        throw sysutils::Exception("Not enough memory");
    };
    button->Click();
    button->Click();
    EXPECT_EQ(clicks, 2);
    const auto shown = boxes.boxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0],
              (sysutils::MessageBox{"Not enough memory", "Title of the program", sysutils::MessageButtons::Ok}));
    application->DestroyForms();
}

TEST_F(ApplicationFixture, TheClientAreaKeepsItsSizeBelowTheMenu) {
    application->CreateForm(First);
    First->SetBorderStyle(vcl::TFormBorderStyle::bsSingle);
    auto* menu = new vcl::TMainMenu(First);
    menu->AddMenu("Project")->AddItem("Exit");
    First->SetClientSize(478, 525);
    First->Show();
    EXPECT_EQ(First->ClientWidth(), 478);
    EXPECT_EQ(First->ClientHeight(), 525);
    EXPECT_GT(First->window()->height(), 525);
    application->DestroyForms();
}

}  // namespace
