// Creating dBASE tables through the host.
#include <sys/stat.h>

#include <cerrno>

#include "com/Creation.h"
#include "com/NumberedFiles.h"
#include "gis_toolkit/Application.h"
#include "gis_toolkit/ErrorHandler.h"
#include "gis_toolkit/aml_func_mod.h"
#include "sysutils/MessageBoxes.h"

namespace gis_toolkit::aml_func_mod {
namespace {

const std::string module = "aml_func_mod";

// One Integer field "Unique_ID" of precision 8.
com::ComPtr<gishost::IFields> defaultFields() {
    const auto fields = com::createInstanceAs<gishost::IFieldsEdit>(gishost::CLSID_Fields);
    fields->put_FieldCount(1);
    const auto field = com::createInstanceAs<gishost::IFieldEdit>(gishost::CLSID_Field);
    field->put_Precision(8);
    field->put_Name("Unique_ID");
    field->put_Type(gishost::fieldType::Integer);
    fields->putref_Field(0, field.as<gishost::IField>());
    return fields.as<gishost::IFields>();
}

// True when the system does not look the path up because it, or one of its names, is
// longer than it allows.
bool tooLongForTheSystem(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) != 0 && errno == ENAMETOOLONG;
}

}  // namespace

com::ComPtr<gishost::ITable> CreatedBASETable(const std::string& path, com::ComPtr<gishost::IFields>& fields) {
    com::ComPtr<gishost::ITable> result;
    ErrorHandler handler("CreatedBASETable", module);
    handler.run([&] {
        const std::string folder = ReturnDir(path);
        std::string name = ReturnFilename(path);
        if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".dbf") == 0) name.erase(name.size() - 4);
        const auto factory = com::createInstanceAs<gishost::IWorkspaceFactory>(gishost::CLSID_ShapefileWorkspaceFactory);
        if (ExistFileDir(folder)) {
            const auto workspace = factory->OpenFromFile(folder, nullptr).as<gishost::IFeatureWorkspace>();
            if (!fields) fields = defaultFields();
            result = workspace->CreateTable(name, fields, nullptr, nullptr, "");
        } else if (tooLongForTheSystem(folder)) {
            // The system did not look for such a folder, so it is not known to be missing:
            // what has to change is the path's length.
            throw com::files::OpenFailure(ENAMETOOLONG, com::files::OpenMode::Output, path);
        } else {
            sysutils::messageBoxes().show(sysutils::MessageBox{"Folder does not exist: \r" + folder, ApplicationTitle,
                                                               sysutils::MessageButtons::Ok,
                                                               sysutils::MessageIcon::None});
        }
    });
    return result;
}

}  // namespace gis_toolkit::aml_func_mod
