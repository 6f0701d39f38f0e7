// The tiny in-process server: its class, its type library and its four entry points.
#include "support/TinyServer.h"

#include "com/ClassFactory.h"
#include "com/InprocServer.h"
#include "com/TypeLibrary.h"

namespace {

class Counter final : public com::Object<tiny::ICounter> {
public:
    int Next() override { return ++count_; }

private:
    int count_ = 0;
};

COM_TYPE_LIBRARY_SECTION const char tinyTypeLibrary[] =
    "TYPELIB 1\n"
    "library Tiny {5B0C4E1A-9D8F-4C21-A7E3-0F6B2D9C1E40} 1.0 0x409\n"
    "import stdole2.tlb {00020430-0000-0000-C000-000000000046} 2.0\n"
    "interface _Counter {5B0C4E1A-9D8F-4C21-A7E3-0F6B2D9C1E45} IDispatch hidden,dual\n"
    "member method Next 1 long\n"
    "coclass Counter {5B0C4E1A-9D8F-4C21-A7E3-0F6B2D9C1E44} creatable\n"
    "implements _Counter {5B0C4E1A-9D8F-4C21-A7E3-0F6B2D9C1E45} default\n";

const com::ServerDescription& description() {
    static const com::ServerDescription server{
        {{"Counter", tiny::CLSID_Counter, "Tiny.Counter", &com::classFactory<Counter>}}, tinyTypeLibrary};
    return server;
}

}  // namespace

COM_INPROC_SERVER_EXPORTS(description())
