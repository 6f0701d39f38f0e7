#pragma once
// What the extension's two commands share: the constant answers of the host's ICommand
// (always enabled, never checked, no help) and the button picture, loaded from the
// library's bitmap resource when the object is created and kept while it lives. Each
// member reports its own errors under "ICommand_<member>" in the command's module and
// returns normally; a command adds OnCreate and OnClick.
#include <cstdint>
#include <memory>
#include <string>

#include "com/Error.h"
#include "com/Object.h"
#include "forms/Picture.h"
#include "gis_extension/CommandBitmaps.h"
#include "gis_toolkit/ErrorHandler.h"
#include "gishost/Framework.h"

namespace gis_extension {

struct CommandConstants {
    const char* module;
    const char* name;
    const char* caption;
    const char* tooltip;
    const char* message;
    std::int32_t bitmapResource;
};

template <class DefaultInterface>
class ToolbarCommand : public com::Object<DefaultInterface, gishost::ICommand> {
public:
    bool Enabled() override { return answer("ICommand_Enabled", true); }
    bool Checked() override { return answer("ICommand_Checked", false); }
    std::string Name() override { return answer<std::string>("ICommand_Name", constants_.name); }
    std::string Caption() override { return answer<std::string>("ICommand_Caption", constants_.caption); }
    std::string Tooltip() override { return answer<std::string>("ICommand_Tooltip", constants_.tooltip); }
    std::string Message() override { return answer<std::string>("ICommand_Message", constants_.message); }
    std::string HelpFile() override { return answer<std::string>("ICommand_HelpFile", ""); }
    std::int32_t HelpContextID() override { return answer<std::int32_t>("ICommand_HelpContextID", 0); }
    std::string Category() override { return answer<std::string>("ICommand_Category", "Veltrano Commands"); }

    // The handle of the picture loaded at creation (no new load, no copy).
    std::int32_t Bitmap() override {
        std::int32_t result = 0;
        gis_toolkit::ErrorHandler handler("ICommand_Bitmap", constants_.module);
        handler.run([&] {
            if (!bitmap_) throw com::runtimeError(com::errors::ObjectNotSet);
            result = bitmap_->Handle();
        });
        return result;
    }

protected:
    // Class_Initialize: loads the button picture.
    explicit ToolbarCommand(const CommandConstants& constants) : constants_(constants) {
        gis_toolkit::ErrorHandler handler("Class_Initialize", constants_.module);
        handler.run([&] { bitmap_ = LoadResPicture(constants_.bitmapResource); });
    }
    ~ToolbarCommand() override = default;

    void ReleaseBitmap() { bitmap_.reset(); }

private:
    template <class T>
    T answer(const char* procedure, const T& value) {
        T result{};
        gis_toolkit::ErrorHandler handler(procedure, constants_.module);
        handler.run([&] { result = value; });
        return result;
    }

    const CommandConstants& constants_;
    std::shared_ptr<forms::Picture> bitmap_;
};

}  // namespace gis_extension
