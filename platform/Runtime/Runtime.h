#pragma once
// The object runtime the platform stand-ins are written on: reference-counted
// objects (std::shared_ptr), weak references (std::weak_ptr), two-phase creation
// (construct, then run the overridable set-up hook), associated objects, fatal
// errors and the main-thread checks.

#include <any>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

// Ends the program with a message on standard error ("Fatal error: <message>"), or
// with the message reported from a place in the source ("<file>:<line>: Fatal error:
// <message>"). Thread: any.
[[noreturn]] void fatalError(std::string_view message);
[[noreturn]] void fatalError(std::string_view message, std::string_view file, unsigned line);
// Ends the program as an initialiser that a class does not support does: "Use of
// unimplemented initializer '<initializer>' for class '<className>'". Thread: any.
[[noreturn]] void unimplementedInitializer(std::string_view className,
                                           std::string_view initializer);

namespace Runtime {

// The thread that started the process is the main thread; a test may register the
// thread it runs on instead (before it creates any user-interface object).
// Thread: any.
bool isMainThread();
void registerCurrentThreadAsMain();
// Ends the program when called off the main thread: user-interface entry points
// are confined to it. Thread: any.
void assertMainThread(std::string_view what);

} // namespace Runtime

// Root of the reference-counted platform objects. Objects are always owned by
// std::shared_ptr and created with make<T>(...), which constructs the object and
// then runs didInit(): a C++ constructor cannot call overridable methods, an
// Objective-C or Swift initialiser can, and subclasses rely on that.
class NSObject : public std::enable_shared_from_this<NSObject> {
  public:
    virtual ~NSObject() = default;

    // Associated objects: values kept alive by (and released with) this object,
    // keyed by the address of a static of the caller. Thread: the owner's.
    void setAssociatedObject(const void* key, std::shared_ptr<void> value);
    std::shared_ptr<void> associatedObject(const void* key) const;

    template <class T> std::shared_ptr<T> sharedAs() {
        return std::dynamic_pointer_cast<T>(shared_from_this());
    }
    template <class T> std::weak_ptr<T> weakAs() { return sharedAs<T>(); }

  protected:
    NSObject() = default;
    // Runs once, right after construction, with shared_from_this() usable.
    virtual void didInit() {}

    template <class T, class... Args> friend std::shared_ptr<T> make(Args&&... args);

  private:
    std::map<const void*, std::shared_ptr<void>> associated;
};

// The object a weak reference names, as a T; null when it is gone or is no T.
template <class T> std::shared_ptr<T> lockAs(const std::weak_ptr<NSObject>& object) {
    return std::dynamic_pointer_cast<T>(object.lock());
}

// Two-phase creation of a platform object.
template <class T, class... Args> std::shared_ptr<T> make(Args&&... args) {
    // Constructors may be protected: derive locally to reach them.
    struct Constructible : T {
        explicit Constructible(Args&&... a) : T(std::forward<Args>(a)...) {}
    };
    std::shared_ptr<T> object = std::make_shared<Constructible>(std::forward<Args>(args)...);
    static_cast<NSObject*>(object.get())->didInit();
    return object;
}
