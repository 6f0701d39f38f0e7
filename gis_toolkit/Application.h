#pragma once
// The extension's application title: the title of its message boxes, and the source
// that the run-time gives the errors it raises inside the extension.
namespace gis_toolkit {

inline constexpr const char* ApplicationTitle = "Veltrano";

}  // namespace gis_toolkit
