#pragma once
// Several replacements held together, for fixtures that put a handful of
// stand-ins in force in SetUp: each is an ordinary Replaceable scope, and all
// end together, in reverse order, when the holder goes.

#include "platform/Replaceable.h"

#include <memory>
#include <utility>
#include <vector>

namespace vm::test {

class Overrides {
public:
    Overrides() = default;
    Overrides(const Overrides&) = delete;
    Overrides& operator=(const Overrides&) = delete;
    ~Overrides()
    {
        while (!scopes_.empty())
            scopes_.pop_back();
    }

    template <class T, class V>
    void replace(platform::Replaceable<T>& target, V&& value)
    {
        scopes_.push_back(std::make_unique<Held<T>>(target, T(std::forward<V>(value))));
    }

private:
    struct Any {
        virtual ~Any() = default;
    };
    template <class T>
    struct Held final : Any {
        Held(platform::Replaceable<T>& target, T value) : scope(target.replace(std::move(value))) {}
        typename platform::Replaceable<T>::Scope scope;
    };
    std::vector<std::unique_ptr<Any>> scopes_;
};

}  // namespace vm::test
