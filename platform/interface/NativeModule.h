// Finds and loads the display module (NativeInterface.h). It travels inside
// each program as a resource and is loaded from memory; a development build
// or a test may name a file instead in STOW_INTERFACE_MODULE. Without a
// display (DISPLAY unset), or when the module cannot be loaded (a library it
// needs is missing, the file is damaged), there is no module and the
// programs go on without windows.
#pragma once

#include "NativeInterface.h"
#include "SupportDefs.h"

#include <string>

// The resource that carries the module.
constexpr type_code kInterfaceModuleType = FourCC('S', 'O', 'B', 'J');
constexpr int32 kInterfaceModuleId = 1;
constexpr const char* kInterfaceModuleName = "interface module";

class NativeModule {
public:
    // Any thread; loads once. Null when there is none.
    static native::Module* Get();
    // Why Get() answered null ("" when it did not).
    static std::string Problem();
};
