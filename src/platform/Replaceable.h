#pragma once
// Replaceable<T>: one of the program's process-wide dependencies (a clock, the
// sound player, the file layer's system calls, a hook of the error module)
// with its default value, and the one way to replace it: for a scope.
//
//     platform::soundPlayer().replace(&recorder)  // held as a local: restored
//                                                 // on destruction, even when a
//                                                 // test assertion fails between
//
// main() installs the real services the same way, for the life of the
// application object. Polymorphic services are held as plain pointers to an
// object the replacing scope owns; hooks as std::function; plain values as
// themselves.

#include <cstdint>
#include <utility>

namespace vm::platform {

// How many replacements are in force right now, all Replaceables together.
// A test fixture checks it is back to zero after every test.
std::int64_t replacementsInForce();

void countReplacement(int delta);

template <class T>
class Replaceable {
public:
    explicit Replaceable(T initial = T{}) : value_(std::move(initial)) {}
    Replaceable(const Replaceable&) = delete;
    Replaceable& operator=(const Replaceable&) = delete;

    const T& get() const { return value_; }
    const T& operator*() const { return value_; }
    const T* operator->() const { return &value_; }

    // Puts `value` in force until the returned object goes out of scope, then
    // the value before it comes back. Scopes must end in reverse order.
    class [[nodiscard]] Scope {
    public:
        Scope(Replaceable& owner, T value) : owner_(owner), previous_(std::exchange(owner.value_, std::move(value)))
        {
            countReplacement(+1);
        }
        ~Scope()
        {
            owner_.value_ = std::move(previous_);
            countReplacement(-1);
        }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        Replaceable& owner_;
        T previous_;
    };

    [[nodiscard]] Scope replace(T value) { return Scope(*this, std::move(value)); }

private:
    T value_;
};

}  // namespace vm::platform
