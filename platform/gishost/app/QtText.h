#pragma once
// The host's texts are UTF-8 in std::string; Qt's widgets take QString.
#include <QString>
#include <string>

namespace gishost::app {

inline QString qtText(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace gishost::app
