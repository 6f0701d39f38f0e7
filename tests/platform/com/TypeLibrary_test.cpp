// The type library's text form: written and read back, and malformed texts refused
// with the line that is wrong.
#include "com/TypeLibrary.h"

#include <gtest/gtest.h>

#include "com/Error.h"

namespace {

com::TypeLibrary sampleLibrary() {
    com::TypeLibrary library;
    library.name = "Sample";
    library.libraryId = com::guid("{C0E9F73D-2332-4165-9A35-C631CAEAE4DB}");
    library.version = {1, 0};
    library.locale = 0x409;
    library.imports.push_back({"stdole2.tlb", com::guid("{00020430-0000-0000-C000-000000000046}"), {2, 0}});
    library.interfaces.push_back({"_Thing",
                                  com::guid("{8E6C04AB-72D1-4566-A5A6-17A66376BE8E}"),
                                  "IDispatch",
                                  {"hidden", "dual", "nonextensible", "oleautomation"},
                                  {{"propput", "Limit", 0x68030000, "double"}, {"propget", "Limit", 0x68030000, "double"}}});
    library.coclasses.push_back({"Thing",
                                 com::guid("{3645C76C-F3EA-47CB-B5D8-27A4DA04926D}"),
                                 {"creatable"},
                                 {{"_Thing", com::guid("{8E6C04AB-72D1-4566-A5A6-17A66376BE8E}"), {"default"}},
                                  {"IExtension", com::guid("{7F657EC9-DBF1-11D2-9F2F-00C04F6BC69E}"), {}}}});
    return library;
}

TEST(TypeLibrary, ReadsBackWhatItWrote) {
    const com::TypeLibrary library = sampleLibrary();
    const std::string text = com::writeTypeLibrary(library);
    EXPECT_EQ(com::readTypeLibrary(text), library);
    EXPECT_NE(text.find("implements IExtension {7F657EC9-DBF1-11D2-9F2F-00C04F6BC69E} -\n"), std::string::npos);
}

struct MalformedCase {
    const char* name;
    std::string text;
    std::string line;
};

class MalformedTypeLibraries : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedTypeLibraries, AreRefusedNamingTheLine) {
    try {
        com::readTypeLibrary(GetParam().text);
        FAIL() << "read";
    } catch (const com::Error& error) {
        EXPECT_EQ(error.Number, com::TYPE_E_INVDATAREAD);
        EXPECT_NE(error.Description.find(GetParam().line), std::string::npos) << error.Description;
    }
}

const std::string header = "TYPELIB 1\nlibrary L {C0E9F73D-2332-4165-9A35-C631CAEAE4DB} 1.0 0x409\n";

INSTANTIATE_TEST_SUITE_P(
    Texts, MalformedTypeLibraries,
    ::testing::Values(MalformedCase{"NotATypeLibrary", "hello\n", "line 1"},
                      MalformedCase{"NoLibraryLine", "TYPELIB 1\n", "no library line"},
                      MalformedCase{"BadIdentifier", header + "coclass C {nope} -\n", "line 3"},
                      MalformedCase{"MemberOutsideAnInterface", header + "member propget X 1 long\n", "line 3"},
                      MalformedCase{"MissingField", header + "import x.tlb {C0E9F73D-2332-4165-9A35-C631CAEAE4DB}\n",
                                    "line 3"},
                      MalformedCase{"BadVersion", header + "import x {C0E9F73D-2332-4165-9A35-C631CAEAE4DB} 1\n",
                                    "line 3"},
                      MalformedCase{"UnknownItem", header + "\nenum E\n", "line 4"},
                      // Written back, a flag ending in a carriage return would lose it.
                      MalformedCase{"CarriageReturnInsideALine",
                                    header + "coclass C {C0E9F73D-2332-4165-9A35-C631CAEAE4DB} creatable\r,x\n",
                                    "line 3"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(TypeLibrary, AnImageWithoutTheSectionCarriesNone) {
    EXPECT_TRUE(com::typeLibrarySection("").empty());
    EXPECT_TRUE(com::typeLibrarySection("\x7f" "ELF but far too short").empty());
}

}  // namespace
