#pragma once
// imgSndStatus: the status pictures of the message list. Element 0 marks a
// new message, element 1 a saved one, element 4 holds no picture (giving a
// cell element 4 removes its icon). Other elements do not exist.

#include <QPixmap>

namespace vm::widgets {

class StatusImages {
public:
    StatusImages();
    // The picture of element `index`; raises run-time error 340 for an
    // element that does not exist.
    const QPixmap& picture(int index) const;

private:
    QPixmap newMessage_;
    QPixmap savedMessage_;
    QPixmap none_;
};

}  // namespace vm::widgets
