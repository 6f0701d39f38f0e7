// An in-process server from registration to creation by ProgID through the registry,
// its unload answer, its class factory's refusals, its type library, and unregistration.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "com/ClassFactory.h"
#include "com/Creation.h"
#include "com/TypeLibrary.h"
#include "support/RegistryKeys.h"
#include "support/ScopedEnvironment.h"
#include "support/TestFiles.h"
#include "support/TinyServer.h"
#include "winapi/Registry.h"

namespace {

using com::HRESULT;

struct Server {
    Server() : library(::dlopen(TINY_SERVER_PATH, RTLD_NOW | RTLD_LOCAL)) {}
    template <class Function>
    Function* entry(const char* name) const {
        return reinterpret_cast<Function*>(::dlsym(library, name));
    }
    void* library;
};

TEST(InprocServer, IsCreatedThroughTheRegistryAndLeavesNoKeyWhenUnregistered) {
    testing_support::ScopedRegistry registry;
    Server server;
    ASSERT_NE(server.library, nullptr) << ::dlerror();
    auto* registerServer = server.entry<HRESULT()>("DllRegisterServer");
    auto* unregisterServer = server.entry<HRESULT()>("DllUnregisterServer");
    auto* canUnloadNow = server.entry<HRESULT()>("DllCanUnloadNow");
    auto* getClassObject = server.entry<HRESULT(const com::CLSID&, const com::IID&, void**)>("DllGetClassObject");
    ASSERT_TRUE(registerServer && unregisterServer && canUnloadNow && getClassObject);

    ASSERT_EQ(registerServer(), com::S_OK);
    EXPECT_EQ(com::CLSIDFromProgID("Tiny.Counter"), tiny::CLSID_Counter);
    EXPECT_EQ(winapi::registry::readString(winapi::HKEY_CLASSES_ROOT,
                                           "CLSID\\" + com::toString(tiny::CLSID_Counter) + "\\InprocServer32", ""),
              std::string(TINY_SERVER_PATH));

    EXPECT_EQ(canUnloadNow(), com::S_OK);
    {
        com::ComPtr<tiny::ICounter> counter = com::CreateObject<tiny::ICounter>("Tiny.Counter");
        ASSERT_TRUE(counter);
        EXPECT_EQ(counter->Next(), 1);
        EXPECT_EQ(counter->Next(), 2);
        EXPECT_EQ(canUnloadNow(), com::S_FALSE);
        // A second object is a new one: the factory keeps no singleton.
        EXPECT_EQ(com::CreateObject<tiny::ICounter>(com::toString(tiny::CLSID_Counter))->Next(), 1);
    }
    EXPECT_EQ(canUnloadNow(), com::S_OK);

    com::ComPtr<com::IClassFactory> factory;
    EXPECT_EQ(getClassObject(tiny::LIBID_Tiny, com::IClassFactory::iid, factory.put()), com::CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_FALSE(factory);
    ASSERT_EQ(getClassObject(tiny::CLSID_Counter, com::IClassFactory::iid, factory.put()), com::S_OK);
    ASSERT_EQ(factory->LockServer(true), com::S_OK);
    EXPECT_EQ(canUnloadNow(), com::S_FALSE);
    factory->LockServer(false);
    factory.reset();
    EXPECT_EQ(canUnloadNow(), com::S_OK);

    const com::TypeLibrary library = com::loadTypeLibrary(TINY_SERVER_PATH);
    EXPECT_EQ(library.name, "Tiny");
    EXPECT_EQ(library.libraryId, tiny::LIBID_Tiny);
    ASSERT_EQ(library.coclasses.size(), 1u);
    EXPECT_EQ(library.coclasses[0].clsid, tiny::CLSID_Counter);
    ASSERT_EQ(library.interfaces.size(), 1u);
    EXPECT_EQ(library.interfaces[0].iid, tiny::ICounter::iid);

    ASSERT_EQ(unregisterServer(), com::S_OK);
    const std::vector<std::string> keys = testing_support::registryKeysBelow(winapi::HKEY_CLASSES_ROOT);
    for (const std::string& key : keys) {
        for (const std::string& own : {com::toString(tiny::CLSID_Counter), com::toString(tiny::LIBID_Tiny),
                                       com::toString(tiny::ICounter::iid), std::string("Tiny.Counter")})
            EXPECT_EQ(key.find(own), std::string::npos) << key;
    }
    EXPECT_EQ(com::CLSIDFromProgID("Tiny.Counter"), std::nullopt);
    EXPECT_THROW(com::CreateObject<tiny::ICounter>("Tiny.Counter"), com::Error);
}

class TableCounter final : public com::Object<tiny::ICounter> {
public:
    int Next() override { return 100; }
};

TEST(Creation, TheProcessClassTableComesBeforeTheRegistry) {
    testing_support::ScopedRegistry registry;
    Server server;
    ASSERT_EQ(server.entry<HRESULT()>("DllRegisterServer")(), com::S_OK);
    {
        com::ScopedClassRegistration own(tiny::CLSID_Counter, "Tiny.Counter", com::classFactory<TableCounter>());
        EXPECT_EQ(com::CreateObject<tiny::ICounter>("tiny.counter")->Next(), 100);
    }
    EXPECT_EQ(com::CreateObject<tiny::ICounter>("Tiny.Counter")->Next(), 1);
    server.entry<HRESULT()>("DllUnregisterServer")();
}

TEST(Creation, AnUnknownClassRaisesCannotCreateObject) {
    testing_support::ScopedRegistry registry;
    try {
        com::CreateObject<tiny::ICounter>("Nobody.Here");
        FAIL() << "no error";
    } catch (const com::Error& error) {
        EXPECT_EQ(error.Number, com::errors::CannotCreateObject);
        EXPECT_NE(error.Description.find("Nobody.Here"), std::string::npos);
    }
}

TEST(Creation, RefusesAServerPathThatIsAPipeBeforeLoadingIt) {
    testing_support::ScopedRegistry registry;
    // Every reader finds a writer, so that a loader that opens the pipe fails instead of waiting.
    const testing_support::NamedPipe pipe(registry.folder().pathOf("server.so"), "", /*everyReader=*/true);
    const std::string key = "CLSID\\" + com::toString(tiny::CLSID_Counter);
    ASSERT_TRUE(winapi::registry::writeString(winapi::HKEY_CLASSES_ROOT, key + "\\InprocServer32", "", pipe.path()));
    try {
        com::createInstance(tiny::CLSID_Counter);
        FAIL() << "no error";
    } catch (const com::Error& error) {
        EXPECT_EQ(error.Number, com::errors::CannotCreateObject);
        EXPECT_NE(error.Description.find("cannot load " + pipe.path() + ": it is a pipe"), std::string::npos)
            << error.Description;
    }
}

TEST(ComPtr, AnEmptyReferenceAndAMissingInterfaceRaiseTheRunTimesErrors) {
    com::ComPtr<tiny::ICounter> empty;
    try {
        empty->Next();
        FAIL() << "no error";
    } catch (const com::Error& error) {
        EXPECT_EQ(error.Number, com::errors::ObjectNotSet);
    }
    com::ComPtr<tiny::ICounter> counter = com::make<tiny::ICounter, TableCounter>();
    EXPECT_THROW(counter.as<com::IClassFactory>(), com::Error);
    EXPECT_FALSE(counter.tryAs<com::IClassFactory>());
    com::ComPtr<com::IDispatch> dispatch = counter.as<com::IDispatch>();  // a base of the interface
    EXPECT_TRUE(com::sameObject(dispatch, counter));
    EXPECT_FALSE(com::ComPtr<tiny::ICounter>().as<com::IDispatch>());
}

}  // namespace
