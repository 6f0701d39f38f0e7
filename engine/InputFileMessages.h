#pragma once
// Texts shared by the pre-scans and the readers of the node and connection files.
namespace engine {

inline constexpr const char* errorCaption = "Error!";
inline constexpr const char* warningCaption = "Warning!";

// Shown, followed by the file name, when a pre-scan or a reader cannot open its file.
inline constexpr const char* cannotOpenInputFile = "Cannot open node file or connection file ";

// Closing texts: after an error that stops reading, and after one that lets it go on.
inline constexpr const char* nodeFileStopping =
    "\nNo more lines will be read from this file. RESULTS WILL BE INVALID."
    "\nPlease cancel and discard the processing and correct the format of the node file.";
inline constexpr const char* nodeFileWarning =
    "\nProcessing will continue, but the RESULTS WILL almost surely BE INVALID because of that error in the input "
    "data."
    "\nPlease cancel and discard the processing and correct the format of the node file.";
inline constexpr const char* connectionFileStopping =
    "\nNo more lines will be read from this file. RESULTS WILL BE INVALID."
    "\nPlease cancel and discard the processing and correct the format of the connection file.";
inline constexpr const char* connectionFileWarning =
    "\nProcessing will continue, but the RESULTS WILL almost surely BE INVALID because of that error in the input "
    "data."
    "\nPlease cancel and discard the processing and correct the format of the connection file.";

// Start and column texts of the node reader's messages for a value that is not a number.
inline constexpr const char* nonNumericalNodeId = "A non-numerical node ID value has been found in line ";
inline constexpr const char* nonNumericalNodeAttribute = "A non-numerical node attribute value has been found in line ";
inline constexpr const char* nonNumericalNodeValue = "A non-numerical value has been found in line ";
inline constexpr const char* ofNodeFileFirstColumn = " of the node file (first column).";
inline constexpr const char* ofNodeFileSecondColumn = " of the node file (second column).";
inline constexpr const char* ofNodeFileThirdColumn = " of the node file (third column).";

}  // namespace engine
