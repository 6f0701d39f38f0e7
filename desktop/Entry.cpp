#include "desktop/Entry.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "desktop/CommandLine.h"
#include "desktop/FormAbout.h"
#include "desktop/FormPan.h"
#include "desktop/FormPrin.h"
#include "desktop/morePC.h"
#include "sysutils/MessageBoxes.h"
#include "vcl/Application.h"
#include "vcl/TThread.h"

namespace desktop {

void CreateApplicationWindows() {
    vcl::Application->CreateForm(FormPrincipal);
    vcl::Application->CreateForm(FormMorePC);
    vcl::Application->CreateForm(FormScreen);
    vcl::Application->CreateForm(AboutBox);
}

namespace {

void showPresetErrors(const InputPresets& presets) {
    std::string text;
    for (const std::string& error : presets.errors) text += (text.empty() ? "" : "\n") + error;
    if (!text.empty()) sysutils::ShowMessage(text, "Error!");
}

}  // namespace

int WinMain(int argc, char** argv) {
    {
        vcl::TApplication application(argc, argv);
        try {
            vcl::Application->Initialize();
            vcl::Application->SetTitle("Veltrano Tamblor 2.2");
            CreateApplicationWindows();
            const InputPresets presets = parseInputPresets(std::vector<std::string>(argv + 1, argv + argc));
            applyInputPresets(presets);
            showPresetErrors(presets);
            vcl::Application->Run();
        } catch (const std::exception& error) {
            vcl::Application->ShowException(error.what());
        } catch (...) {
            vcl::Application->ShowException("");
        }
        // The application now terminates the workers, drops their queued window calls and
        // frees the windows.
    }
    // A worker still computing between two hold points must not see the process's
    // static objects go: end at once, without running their destructors.
    if (vcl::TThread::AnyBusy()) {
        std::fflush(nullptr);
        std::_Exit(0);
    }
    return 0;
}

}  // namespace desktop
