// A tiny extension: its principal object reports what the extension sees of
// the process it was loaded into.
#include "ExtensionKit/ExtensionEntryPoint.h"
#include "FakeService.h"
#include "Foundation/Bundle.h"

#include <stdexcept>
#include <string_view>

namespace {

class Principal : public FakeService {
  public:
    bool createdOnMainThread() const override { return onMain; }
    RunLoop* extensionRunLoop() const override { return &RunLoop::main(); }
    void scheduleTick(double seconds, std::function<void()> tick) override {
        Timer::scheduled(seconds, false, [tick](Timer&) { tick(); });
    }
    std::string codeBundlePath() const override {
        auto bundle =
            Bundle::containing(reinterpret_cast<const void*>(&ExtensionKitMakePrincipalObject));
        return bundle ? bundle->bundlePath() : "";
    }

  protected:
    void didInit() override { onMain = Runtime::isMainThread(); }

  private:
    bool onMain = false;
};

} // namespace

EXTENSIONKIT_EXPORT int ExtensionKitMakePrincipalObject(const char* principalClassName,
                                                        std::shared_ptr<NSObject>* result) {
    std::string_view name(principalClassName);
    if (name == "Fake.Throwing")
        throw std::runtime_error("refusing on purpose");
    if (name != "Fake.Principal")
        return 1;
    *result = make<Principal>();
    return 0;
}
