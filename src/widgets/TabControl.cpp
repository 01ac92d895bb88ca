#include "TabControl.h"

namespace vm::widgets {

TabControl::TabControl(QWidget* parent) : QTabWidget(parent)
{
    connect(this, &QTabWidget::currentChanged, this, &TabControl::onCurrentChanged);
}

int TabControl::tab() const { return currentIndex(); }

void TabControl::setTab(int index)
{
    if (index != currentIndex())
        setCurrentIndex(index);
}

void TabControl::onCurrentChanged(int index)
{
    const int previous = previous_;
    previous_ = index;
    if (index >= 0 && previous != index)
        emit click(previous);
}

}  // namespace vm::widgets
