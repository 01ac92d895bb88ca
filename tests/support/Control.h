#pragma once
// A window's control found by its design name, its object name: "cmdVmbAdd",
// or element 3 of "txtNewVmb" ("txtNewVmb(3)"). One that is missing or of
// another type fails the test at once, naming it.

#include <QObject>
#include <QString>

#include <stdexcept>

namespace vm::test {

template <class T>
T* control(const QObject& window, QString name, int index = -1)
{
    if (index >= 0)
        name += QStringLiteral("(%1)").arg(index);
    if (T* found = window.findChild<T*>(name))
        return found;
    throw std::logic_error("no control " + name.toStdString() + " of the type asked for");
}

}  // namespace vm::test
