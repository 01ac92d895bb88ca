#pragma once
// A throw-away application folder (with data/VmSave, data/VmWelc and system)
// that becomes the program's application folder for the life of the object.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <map>

namespace vm::test {

class TempAppFolder {
public:
    TempAppFolder();
    ~TempAppFolder();

    QString path() const;
    // Path of a file given relative to the folder with "/" separators.
    QString file(const QString& relative) const;
    void write(const QString& relative, const QByteArray& bytes) const;
    QByteArray read(const QString& relative) const;
    bool exists(const QString& relative) const;
    // Every file below the folder, hidden ones included, by relative path with its bytes.
    std::map<QString, QByteArray> contents() const;

private:
    QTemporaryDir dir_;
    QString previous_;
};

}  // namespace vm::test
