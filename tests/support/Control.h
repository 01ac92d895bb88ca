#pragma once
// A window's control found by its design name (its object name), as the
// operator's tools and a test see it: "cmdVmbAdd", or "txtNewVmb" element 3
// ("txtNewVmb(3)"). A control that is missing or of another type fails the
// test at once, naming it.

#include <QObject>
#include <QString>

#include <stdexcept>

namespace vm::test {

template <class T>
T* control(const QObject& window, const QString& name)
{
    T* found = window.findChild<T*>(name);
    if (!found)
        throw std::logic_error("no control " + name.toStdString() + " of the type asked for");
    return found;
}

template <class T>
T* control(const QObject& window, const QString& name, int index)
{
    return control<T>(window, QStringLiteral("%1(%2)").arg(name).arg(index));
}

}  // namespace vm::test
