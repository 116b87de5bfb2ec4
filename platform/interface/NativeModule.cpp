#include "NativeModule.h"

#include "BResources.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace {

struct Loaded {
    native::Module* module = nullptr;
    std::string problem;
};

bool HasDisplay()
{
    const char* display = getenv("DISPLAY");
    return display != nullptr && *display != '\0';
}

bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        ssize_t written = write(fd, data, size);
        if (written <= 0)
            return false;
        data += written;
        size -= size_t(written);
    }
    return true;
}

// The module resource of the running program, copied into an anonymous
// memory file that the loader can open by its /proc path.
std::string ModuleFromResources(int& fd, std::string& problem)
{
    BResources resources("/proc/self/exe");
    size_t size = 0;
    const void* data = resources.InitCheck() == B_OK
        ? resources.LoadResource(kInterfaceModuleType, kInterfaceModuleId, &size)
        : nullptr;
    if (data == nullptr || size == 0) {
        problem = "the program carries no interface module";
        return "";
    }
    fd = memfd_create("stow-interface", MFD_CLOEXEC);
    if (fd < 0 || !WriteAll(fd, static_cast<const char*>(data), size)) {
        problem = "cannot copy the interface module into memory";
        return "";
    }
    return "/proc/self/fd/" + std::to_string(fd);
}

Loaded Load()
{
    Loaded loaded;
    if (!HasDisplay()) {
        loaded.problem = "no display (DISPLAY is not set)";
        return loaded;
    }
    int fd = -1;
    const char* named = getenv("STOW_INTERFACE_MODULE");
    std::string path = named != nullptr && *named != '\0' ? std::string(named)
                                                          : ModuleFromResources(fd, loaded.problem);
    if (path.empty())
        return loaded;
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (fd >= 0)
        close(fd); // the loader keeps its own mapping
    if (handle == nullptr) {
        const char* error = dlerror();
        loaded.problem = std::string("cannot load the interface module: ")
            + (error != nullptr ? error : "unknown reason");
        return loaded;
    }
    auto entry
        = reinterpret_cast<stow_interface_module_entry>(dlsym(handle, kInterfaceModuleEntry));
    native::Module* module = entry != nullptr ? entry(native::kAbiVersion) : nullptr;
    if (module == nullptr || module->AbiVersion() != native::kAbiVersion) {
        loaded.problem = "the interface module was built for another version of the program";
        dlclose(handle);
        return loaded;
    }
    loaded.module = module;
    return loaded;
}

Loaded& Once()
{
    static std::once_flag flag;
    static Loaded loaded;
    std::call_once(flag, [] { loaded = Load(); });
    return loaded;
}

} // namespace

native::Module* NativeModule::Get()
{
    return Once().module;
}

std::string NativeModule::Problem()
{
    return Once().problem;
}
