#pragma once
// The extension library as an in-process component server: its four creatable classes
// (clsToolBar, cmdWithinDistance, clsManual, clsExtension) with their class identifiers,
// ProgIDs and class factories, and its type library "Veltrano", which the library carries
// in its ".comtypelib" section. The library's exports (exports.cpp) hand this
// description to the component run-time.
#include "com/InprocServer.h"

namespace gis_extension {

inline constexpr com::GUID LIBID_Veltrano = com::guid("{C0E9F73D-2332-4165-9A35-C631CAEAE4DB}");

const com::ServerDescription& VeltranoServer();

}  // namespace gis_extension
