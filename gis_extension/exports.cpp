// The four entry points of the extension's shared library, a self-registering
// in-process component server, and the library's version information.
#include "com/InprocServer.h"
#include "com/VersionInformation.h"
#include "gis_extension/VeltranoServer.h"

namespace {

COM_VERSION_SECTION const char veltranoVersion[] =
    "VERSIONINFO 1\n"
    "FILEVERSION=1.0.0.96\n"
    "PRODUCTVERSION=1.0.0.96\n"
    "FileVersion=1.00.0096\n"
    "ProductVersion=1.00.0096\n"
    "ProductName=Veltrano\n"
    "InternalName=Veltrano_inputs\n"
    "OriginalFilename=Veltrano_inputs.dll\n"
    "OLESelfRegister=\n";

}  // namespace

COM_INPROC_SERVER_EXPORTS(gis_extension::VeltranoServer())
