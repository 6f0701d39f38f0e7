#pragma once
// A fresh program for each test: the application with its title and the four windows
// built as the entry builds them, with scripted boxes, file dialogs and shell.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "WindowTesting.h"
#include "desktop/Entry.h"
#include "desktop/FormAbout.h"
#include "desktop/FormPan.h"
#include "desktop/FormPrin.h"
#include "desktop/Thread.h"
#include "desktop/morePC.h"
#include "sysutils/MessageBoxes.h"
#include "vcl/Application.h"
#include "vcl/FileDialogs.h"
#include "vcl/Shell.h"

namespace desktop_testing {

// The indices a test run selects.
struct Indices {
    bool NL = false, NC = false, IIC = false, PC = false;
};


class DesktopFixture : public ::testing::Test {
protected:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "brelmark_test";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<vcl::TApplication>(argc, argv);
        application->Initialize();
        application->SetTitle("Veltrano Tamblor 2.2");
        desktop::CreateApplicationWindows();
        window = desktop::FormPrincipal;
        morePC = desktop::FormMorePC;
    }

    void TearDown() override {
        application.reset();
        std::filesystem::current_path(savedFolder);
    }

    // The examples' partial distance file with the parameters their README suggests.
    void prepareExampleRun(Indices indices) {
        window->EditNodes->SetText(examples() + "/nodes.txt");
        window->EditConnection->SetText(examples() + "/distances_partial.txt");
        window->RadioButtonPartial->Click();
        const std::pair<bool, vcl::TCheckBox*> indexBoxes[] = {{indices.NL, window->CheckBoxNL},
                                                          {indices.NC, window->CheckBoxNC},
                                                          {indices.IIC, window->CheckBoxIIC},
                                                          {indices.PC, window->CheckBoxPc}};
        for (const auto& [wanted, box] : indexBoxes)
            if (wanted != box->Checked()) box->Click();
        if (window->EditThreshold->Enabled()) window->EditThreshold->SetText("1000");
        if (window->EditKDistanceProb->Enabled()) window->EditKDistanceProb->SetText("1000");
        if (window->EditKProb->Enabled()) window->EditKProb->SetText("0.5");
    }

    bool runFinished() const {
        return window->executionThread != nullptr && window->executionThread->Finished();
    }

    static std::string examples() { return BRELMARK_EXAMPLES; }

    std::vector<std::string> logLines() const {
        std::vector<std::string> lines;
        sysutils::TStrings& memo = *window->MemoExecutionEvents->Lines();
        for (int i = 0; i < memo.Count(); ++i) lines.push_back(memo.Strings(i));
        return lines;
    }

    std::filesystem::path savedFolder = std::filesystem::current_path();
    sysutils::ScriptedMessageBoxes boxes;
    vcl::ScriptedFileDialogs dialogs;
    vcl::ScriptedShell shell;
    std::unique_ptr<vcl::TApplication> application;
    desktop::TFormPrincipal* window = nullptr;
    desktop::TFormMorePC* morePC = nullptr;
};

}  // namespace desktop_testing
