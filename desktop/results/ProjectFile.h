#pragma once
// The project file: 21 lines "key=value" in a fixed order, each ended by CR LF. The
// reader goes by position, not by key; it takes each line whole (any length), and its
// value is what follows the line's first "=" (empty without one). Choices fall back
// exactly and case-sensitively: structure Full unless "Partial", no connection type
// unless one of the three names, a box checked only by "true".
#include <optional>
#include <string>

#include "sysutils/SafeFile.h"

namespace desktop::results {

// The connection type as the combo box's item index.
inline constexpr int noConnectionType = -1;  // no item selected
inline constexpr int distancesType = 0;
inline constexpr int probabilitiesType = 1;
inline constexpr int linksType = 2;

// The 21 values in the file's order. The defaults are what a file of empty values gives.
struct ProjectSettings {
    std::string nodesFile;                  //  1 nodesf        EditNodes
    std::string connectionsFile;            //  2 connectionsf  EditConnection
    bool fullStructure = true;              //  3 structtype    RadioButtonFull / RadioButtonPartial
    int connectionType = noConnectionType;  //  4 contype       ComboBoxConnectionType item index
    bool addNodes = false;                  //  5 add           CheckBoxAddNodes
    std::string landscapeAttribute;         //  6 land          EditLandscapeArea
    bool ccp = false;                       //  7 ccp           ActionCCP
    bool lcp = false;                       //  8 lcp           ActionLCP
    bool iic = false;                       //  9 iic           ActionIIC
    bool nc = false;                        // 10 nc            ActionNC
    bool nl = false;                        // 11 nl            ActionNL
    bool h = false;                         // 12 h             ActionH
    std::string threshold;                  // 13 distAdj       EditThreshold
    bool f = false;                         // 14 f             ActionF
    bool awf = false;                       // 15 awf           ActionAWF
    bool pc = false;                        // 16 pc            ActionPC
    bool a = false;                         // 17 a             ActionA
    std::string distance;                   // 18 distProb      EditKDistanceProb
    std::string probability;                // 19 prob          EditKProb
    std::string minimumProbability;         // 20 minProb       EditMinProb of the PC options
    bool allPaths = false;                  // 21 allpaths      RadioButtonAllPaths / RadioButtonOnlyPaths

    bool operator==(const ProjectSettings&) const = default;
};

// The file's text: 21 lines, each ended by CR LF.
std::string projectFileText(const ProjectSettings& settings);
// Writes the file through a temporary file and a rename: on failure nothing is written
// and an existing file stays as it was.
sysutils::SaveResult writeProjectFile(const std::string& path, const ProjectSettings& settings);

struct ProjectText {
    ProjectSettings settings;
    bool complete = false;  // false when the text has fewer than 21 lines
};
// Reads the values from a project file's text, lines ended by LF or CR LF; missing
// lines count as empty values.
ProjectText parseProjectText(const std::string& text);

// Opens a project file. When it cannot be opened: the box "Error opening file <path>"
// (caption "Error!") and no settings. When it has fewer than 21 lines: the box
// "Error opening file <path>\n Incomplete file" and the values that were read.
std::optional<ProjectSettings> readProjectFile(const std::string& path);

}  // namespace desktop::results
