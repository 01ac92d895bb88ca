#pragma once
// Environment variables (a null value takes one out) and the default locale
// as a test needs them, for the life of the object: both are put back
// however the test ends, as a Replaceable scope puts back its replacement.
// CleanState fails a test that leaves either changed.

#include <QByteArray>
#include <QLocale>

#include <ctime>
#include <initializer_list>
#include <utility>
#include <vector>

namespace vm::test {

class EnvironmentScope {
public:
    explicit EnvironmentScope(std::initializer_list<std::pair<const char*, QByteArray>> variables,
                              const QLocale& locale = QLocale())
    {
        for (const auto& [name, value] : variables) {
            saved_.emplace_back(name, qgetenv(name));
            put(name, value);
        }
        QLocale::setDefault(locale);
    }
    EnvironmentScope(const EnvironmentScope&) = delete;
    EnvironmentScope& operator=(const EnvironmentScope&) = delete;
    ~EnvironmentScope()
    {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
            put(it->first, it->second);
        QLocale::setDefault(locale_);
    }

private:
    static void put(const QByteArray& name, const QByteArray& value)
    {
        value.isNull() ? qunsetenv(name.constData()) : qputenv(name.constData(), value);
        ::tzset();  // the C library reads TZ again only when told to
    }

    const QLocale locale_;                                  // the default before
    std::vector<std::pair<QByteArray, QByteArray>> saved_;  // each variable with its value before (null: unset)
};

}  // namespace vm::test
