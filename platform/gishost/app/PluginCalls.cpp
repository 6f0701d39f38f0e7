#include "gishost/app/PluginCalls.h"

#include "sysutils/MessageBoxes.h"

namespace gishost::app {

std::string describeFailure(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const com::Error& error) {
        std::string text = error.Description.empty() ? "Error " + std::to_string(error.Number)
                                                     : error.Description + " (error " + std::to_string(error.Number);
        if (!error.Description.empty()) text += error.Source.empty() ? ")" : ", " + error.Source + ")";
        return text;
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "an error of unknown kind";
    }
}

void reportPluginFailure(const std::string& doing, std::exception_ptr failure) {
    sysutils::messageBoxes().show({"A plug-in failed while " + doing + ":\n\n" + describeFailure(failure), hostTitle,
                                   sysutils::MessageButtons::Ok, sysutils::MessageIcon::Exclamation});
}

}  // namespace gishost::app
