// The window made larger than its design size: the two lists of the first
// tab share the extra height and take the extra width, the e-mail body takes
// both, and the buttons keep their places beside their lists. At the design
// size every control is where it was designed; the window gets no smaller.
#include "ManagerWindow.h"
#include "WindowControls.h"

#include "widgets/FlexGrid.h"
#include "widgets/TabControl.h"
#include "widgets/TextBox.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <vector>

namespace vm::manager_window {

namespace {

// How much of the window's extra width or height a control's edge follows.
// The two lists divide the height between them: the upper one takes half,
// the lower one the rest.
enum class Share { None, Half, Rest, All };

int part(Share share, int extra)
{
    switch (share) {
        case Share::Half: return extra / 2;
        case Share::Rest: return extra - extra / 2;
        case Share::All: return extra;
        default: return 0;
    }
}

struct Anchor {
    QWidget* control;
    Share moveX, moveY, growX, growY;
    QRect designed{};
};

// Places the anchored controls whenever the window's size changes.
class Stretcher final : public QObject {
public:
    Stretcher(QWidget* window, std::vector<Anchor> anchors)
        : QObject(window), window_(window), designed_(window->size()), anchors_(std::move(anchors))
    {
        for (Anchor& a : anchors_)
            a.designed = a.control->geometry();
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window_ && event->type() == QEvent::Resize)
            place();
        return QObject::eventFilter(watched, event);
    }

private:
    void place()
    {
        const int dx = std::max(0, window_->width() - designed_.width());
        const int dy = std::max(0, window_->height() - designed_.height());
        for (const Anchor& a : anchors_) {
            const QRect& r = a.designed;
            a.control->setGeometry(r.x() + part(a.moveX, dx), r.y() + part(a.moveY, dy), r.width() + part(a.growX, dx),
                                   r.height() + part(a.growY, dy));
        }
    }

    QWidget* window_;
    QSize designed_;
    std::vector<Anchor> anchors_;
};

}  // namespace

void ManagerWindow::setUpResizing()
{
    using S = Share;
    const WindowControls& c = *ui_;
    std::vector<Anchor> anchors = {
        {c.SSTab1, S::None, S::None, S::All, S::All},           {c.cmdVmCfgHelp, S::All, S::All, S::None, S::None},
        {c.cmdVmCfgExit, S::All, S::All, S::None, S::None},     {c.gridVmbList, S::None, S::None, S::All, S::Half},
        {c.cmdVmbModify, S::None, S::Half, S::None, S::None},   {c.Label1[2], S::None, S::Half, S::None, S::None},
        {c.gridMsgList, S::None, S::Half, S::All, S::Rest},     {c.frmMisc[4], S::None, S::None, S::All, S::All},
        {c.txtEmailSubject, S::None, S::None, S::All, S::None}, {c.txtEmailBody, S::None, S::None, S::All, S::All},
        {c.frmMisc[5], S::None, S::All, S::None, S::None},
    };
    // Counts at the right edge, above their lists.
    for (QWidget* w : {static_cast<QWidget*>(c.Label1[4]), static_cast<QWidget*>(c.lblMsgCount[2])})
        anchors.push_back({w, S::All, S::None, S::None, S::None});
    for (QWidget* w : {c.Label1[3], c.lblMsgCount[0], c.Label1[1], c.lblMsgCount[1]})
        anchors.push_back({w, S::All, S::Half, S::None, S::None});
    // The sound buttons at the right, below their lists.
    for (QWidget* w : {c.cmdDeleteVmb, c.cmdRecIntro, c.cmdPlayIntro, c.cmdStopPlay[0]})
        anchors.push_back({w, S::All, S::Half, S::None, S::None});
    for (QWidget* w : {c.cmdDeleteMsg, c.cmdRecMsg, c.cmdPlayMsg, c.cmdStopPlay[1]})
        anchors.push_back({w, S::All, S::All, S::None, S::None});
    new Stretcher(this, std::move(anchors));
    // The comments and the callers' column take the lists' extra width.
    c.gridVmbList->setFillColumn(2);
    c.gridMsgList->setFillColumn(3);
    setMinimumSize(size());
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

}  // namespace vm::manager_window
