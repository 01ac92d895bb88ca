#pragma once
// TabControl: the window's tabbed dialog control on a QTabWidget. Making a
// different tab current, by the operator or through setTab, raises click
// with the number of the tab that was current before.

#include <QTabWidget>

namespace vm::widgets {

class TabControl : public QTabWidget {
    Q_OBJECT
public:
    explicit TabControl(QWidget* parent = nullptr);

    int tab() const;
    void setTab(int index);

signals:
    void click(int previousTab);

private:
    void onCurrentChanged(int index);

    int previous_ = 0;
};

}  // namespace vm::widgets
