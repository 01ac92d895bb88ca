// Building the window's controls: captions, tool tips and positions (twips,
// left, top, width, height) as the window was designed, and the wiring of
// each control's events to its handler.
#include "ManagerWindow.h"
#include "WindowControls.h"

#include "MessageBoxService.h"
#include "widgets/FlexGrid.h"
#include "widgets/OptionButton.h"
#include "widgets/ScreenPicture.h"
#include "widgets/TabControl.h"
#include "widgets/TextBox.h"
#include "widgets/Twips.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>

#include <limits>

namespace vm::manager_window {

namespace {

constexpr int kClientWidth = 5220;
constexpr int kClientHeight = 6840;
constexpr int kTabLeft = 75, kTabTop = 120, kTabWidth = 5055, kTabHeight = 6135;
constexpr int kGridWidth = 4815;
constexpr int kFrameLeft = 120, kFrameWidth = 4815;
constexpr int kLineHeight = 300;

// Places children of one container, positions given in twips relative to
// `origin` (the container's top left corner in the coordinates the design
// uses, in pixels).
class Placer {
public:
    Placer(QWidget* parent, QPoint origin) : parent_(parent), origin_(origin) {}

    QWidget* parent() const { return parent_; }

    template <class W>
    W* place(W* widget, int left, int top, int width, int height) const
    {
        widget->setParent(parent_);
        widget->setGeometry(widgets::twipsRect(left, top, width, height).translated(-origin_));
        return widget;
    }

    QLabel* label(const QString& caption, int left, int top, int width, int height = 255) const
    {
        auto* l = place(new QLabel(caption), left, top, width, height);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return l;
    }

    widgets::TextBox* textBox(int left, int top, int width, int height = kLineHeight) const
    {
        return place(new widgets::TextBox, left, top, width, height);
    }

    QPushButton* pictureButton(const QString& picture, const QString& toolTip, int left, int top) const
    {
        auto* b = place(new QPushButton, left, top, 360, 340);
        b->setIcon(QIcon(QStringLiteral(":/manager_window/") + picture + QStringLiteral(".png")));
        b->setIconSize(QSize(16, 16));
        b->setToolTip(toolTip);
        return b;
    }

    QLabel* picture(const QString& name, int left, int top, int width, int height) const
    {
        auto* l = place(new QLabel, left, top, width, height);
        l->setPixmap(widgets::screenPicture(QStringLiteral(":/manager_window/") + name + QStringLiteral(".png")));
        l->setAlignment(Qt::AlignCenter);
        return l;
    }

    QGroupBox* frame(const QString& caption, int top, int height) const
    {
        return place(new QGroupBox(caption), kFrameLeft, top, kFrameWidth, height);
    }

private:
    QWidget* parent_;
    QPoint origin_;
};

// A frame's own children: positions relative to the frame's top left.
Placer inside(QGroupBox* frame) { return Placer(frame, QPoint(0, 0)); }

// The mailbox, as in the desktop's menus, at every size the desktop may ask
// for (title bar, task switcher).
QIcon applicationIcon()
{
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/manager_window/app-icon-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace

void ManagerWindow::buildControls()
{
    setWindowTitle(kWindowCaption);
    setWindowIcon(applicationIcon());
    QFont designFont = font();
    designFont.setPointSizeF(7.5);
    setFont(designFont);
    setFixedSize(widgets::twipsToPixels(kClientWidth), widgets::twipsToPixels(kClientHeight));

    Placer window(this, QPoint(0, 0));
    ui_->SSTab1 = window.place(new widgets::TabControl, kTabLeft, kTabTop, kTabWidth, kTabHeight);
    ui_->SSTab1->setUsesScrollButtons(false);
    ui_->SSTab1->tabBar()->setExpanding(true);
    ui_->SSTab1->tabBar()->setElideMode(Qt::ElideNone);
    const int tabPixels = (widgets::twipsToPixels(kTabWidth) - 4) / 5;
    ui_->SSTab1->tabBar()->setStyleSheet(
        QStringLiteral("QTabBar::tab { width: %1px; padding: 3px 0px; }").arg(tabPixels));
    QFont tabFont = designFont;
    tabFont.setPointSizeF(7);
    ui_->SSTab1->tabBar()->setFont(tabFont);

    const QStringList captions = {QStringLiteral("Mailboxes "), QStringLiteral("Add / Modify"),
                                  QStringLiteral("Config / Stats"), QStringLiteral("Email "),
                                  QStringLiteral("FTP / Cmd")};
    std::array<QWidget*, 5> pages{};
    for (int i = 0; i < 5; ++i) {
        pages[static_cast<std::size_t>(i)] = new QWidget;
        ui_->SSTab1->addTab(pages[static_cast<std::size_t>(i)], captions[i]);
    }
    const QPoint origin(2, ui_->SSTab1->tabBar()->sizeHint().height() + 1);
    buildMailboxesTab(pages[0], origin);
    buildAddModifyTab(pages[1], origin);
    buildConfigStatsTab(pages[2], origin);
    buildEmailTab(pages[3], origin);
    buildFtpCmdTab(pages[4], origin);
    ui_->SSTab1->setTab(0);

    ui_->cmdVmCfgHelp = window.place(new QPushButton(QStringLiteral("&Help")), 2600, 6360, 1215, 375);
    ui_->cmdVmCfgExit = window.place(new QPushButton(QStringLiteral("E&xit")), 3920, 6360, 1215, 375);
    nameControls();
}

namespace {
void name(QObject* control, const char* designName) { control->setObjectName(QLatin1String(designName)); }

// Elements of a control array are named as the design writes them: "txtNewVmb(3)".
template <class Array>
void nameArray(const Array& elements, const char* designName)
{
    for (std::size_t i = 0; i < elements.size(); ++i)
        if (elements[i])
            elements[i]->setObjectName(QStringLiteral("%1(%2)").arg(QLatin1String(designName)).arg(i));
}
}  // namespace

void ManagerWindow::nameControls()
{
    setObjectName(QStringLiteral("frmVmailCfg"));
    const std::pair<QObject*, const char*> single[] = {
        {ui_->SSTab1, "SSTab1"},
        {ui_->cmdVmCfgHelp, "cmdVmCfgHelp"},
        {ui_->gridVmbList, "gridVmbList"},
        {ui_->gridMsgList, "gridMsgList"},
        {ui_->cmdVmbModify, "cmdVmbModify"},
        {ui_->cmdDeleteVmb, "cmdDeleteVmb"},
        {ui_->cmdRecIntro, "cmdRecIntro"},
        {ui_->cmdPlayIntro, "cmdPlayIntro"},
        {ui_->cmdDeleteMsg, "cmdDeleteMsg"},
        {ui_->cmdRecMsg, "cmdRecMsg"},
        {ui_->cmdPlayMsg, "cmdPlayMsg"},
        {ui_->chkUploadToFtp, "chkUploadToFtp"},
        {ui_->chkDeleteAfterForward, "chkDeleteAfterForward"},
        {ui_->lblAddedOK, "lblAddedOK"},
        {ui_->cmdPrev, "cmdPrev"},
        {ui_->cmdNext, "cmdNext"},
        {ui_->cmdVmbAdd, "cmdVmbAdd"},
        {ui_->txtEmailSubject, "txtEmailSubject"},
        {ui_->txtEmailBody, "txtEmailBody"},
        {ui_->txtSmtpMailHost, "txtSmtpMailHost"},
        {ui_->txtSmtpEmailAddress, "txtSmtpEmailAddress"},
        {ui_->txtSmtpLoginName, "txtSmtpLoginName"},
        {ui_->txtSmtpLoginPassword, "txtSmtpLoginPassword"},
        {ui_->txtFtpServer, "txtFtpServer"},
        {ui_->txtFtpDir, "txtFtpDir"},
        {ui_->txtFtpUser, "txtFtpUser"},
        {ui_->txtFtpPassword, "txtFtpPassword"},
        {ui_->txtRunCommand, "txtRunCommand"},
        {ui_->Image2, "Image2"},
    };
    for (const auto& [control, designName] : single)
        name(control, designName);
    // Exit is element 2 of its control array.
    name(ui_->cmdVmCfgExit, "cmdVmCfgExit(2)");
    nameArray(ui_->cmdStopPlay, "cmdStopPlay");
    nameArray(ui_->Label1, "Label1");
    nameArray(ui_->lblMsgCount, "lblMsgCount");
    nameArray(ui_->txtNewVmb, "txtNewVmb");
    nameArray(ui_->frmMisc, "frmMisc");
    nameArray(ui_->Text1, "Text1");
    nameArray(ui_->txtStats, "txtStats");
    nameArray(ui_->optEmailMechanism, "optEmailMechanism");
    nameArray(ui_->lblSmtpDesc, "lblSmtpDesc");
    nameArray(ui_->Image1, "Image1");
}

void ManagerWindow::buildMailboxesTab(QWidget* page, QPoint origin)
{
    const Placer tab(page, origin);
    ui_->Label1[0] = tab.label(QStringLiteral("Voicemail Boxes:"), 120, 660, 2295);
    ui_->Label1[4] = tab.label(QStringLiteral("Count :"), 3360, 660, 1215);
    ui_->lblMsgCount[2] = tab.label(QStringLiteral("0"), 4680, 660, 375);
    ui_->gridVmbList = tab.place(new widgets::FlexGrid(4, kGridWidth), 120, 900, kGridWidth, 1815);
    ui_->gridVmbList->setSelectByRow(true);

    ui_->cmdVmbModify = tab.place(new QPushButton(QStringLiteral("&Modify")), 120, 2820, 1080, 340);
    ui_->cmdDeleteVmb = tab.pictureButton(QStringLiteral("delete"),
                                          QStringLiteral("Delete mailbox and its welcoming message"), 3360, 2820);
    ui_->cmdRecIntro = tab.pictureButton(QStringLiteral("record"), QStringLiteral("Record welcoming message"), 3840,
                                         2820);
    ui_->cmdPlayIntro = tab.pictureButton(QStringLiteral("play"), QStringLiteral("Play the crrent welcoming message"),
                                          4200, 2820);
    ui_->cmdStopPlay[0] = tab.pictureButton(QStringLiteral("stop"), QStringLiteral("Stop playing"), 4560, 2820);

    ui_->Label1[2] = tab.label(QStringLiteral("Voicemail Messages:"), 120, 3420, 2880);
    ui_->Label1[3] = tab.label(QStringLiteral("New :"), 3120, 3420, 555);
    ui_->lblMsgCount[0] = tab.label(QStringLiteral("0"), 3675, 3420, 285);
    ui_->Label1[1] = tab.label(QStringLiteral("Saved :"), 3960, 3420, 675);
    ui_->lblMsgCount[1] = tab.label(QStringLiteral("0"), 4635, 3420, 400);
    ui_->gridMsgList = tab.place(new widgets::FlexGrid(5, kGridWidth), 120, 3660, kGridWidth, 1815);

    ui_->cmdDeleteMsg = tab.pictureButton(QStringLiteral("delete"), QStringLiteral("Delete message"), 3360, 5580);
    ui_->cmdRecMsg = tab.pictureButton(QStringLiteral("record"), QStringLiteral("Record new message"), 3840, 5580);
    ui_->cmdPlayMsg = tab.pictureButton(QStringLiteral("play"), QStringLiteral("Play message"), 4200, 5580);
    ui_->cmdStopPlay[1] = tab.pictureButton(QStringLiteral("stop"), QStringLiteral("Stop playing"), 4560, 5580);
}

void ManagerWindow::buildAddModifyTab(QWidget* page, QPoint origin)
{
    const Placer tab(page, origin);
    ui_->Image2 = tab.picture(QStringLiteral("mailbox"), 120, 480, 600, 540);
    ui_->frmMisc[0] = tab.frame(QStringLiteral("Voicemail Box Settings "), 1080, 4935);
    const Placer box = inside(ui_->frmMisc[0]);

    constexpr int labelLeft = 120;
    constexpr int labelWidth = 2400;
    constexpr int fieldLeft = 2520;
    constexpr int fieldWidth = 2160;
    box.label(QStringLiteral("Voicemail Box Number :"), labelLeft, 330, labelWidth);
    ui_->txtNewVmb[0] = box.textBox(fieldLeft, 300, 900);
    box.label(QStringLiteral("PIN :"), 3540, 330, 420);
    ui_->txtNewVmb[1] = box.textBox(3960, 300, 720);

    // The other fields one a line, in the order the form shows them.
    struct Field {
        int index;
        const char* caption;
    };
    static constexpr Field fields[] = {
        {7, "Voicemail groups :"},      {2, "Comments :"},
        {4, "Forwarding tel number :"}, {5, "Numeric pager tel number :"},
        {6, "Numeric pager message :"}, {3, "Forwarding e-mail address :"},
        {8, "Command line to  run  :"},
    };
    int top = 690;
    for (const Field& f : fields) {
        box.label(QString::fromLatin1(f.caption), labelLeft, top + 30, labelWidth);
        ui_->txtNewVmb[static_cast<std::size_t>(f.index)] = box.textBox(fieldLeft, top, fieldWidth);
        top += 390;
    }
    // A box's fields have no length limit of their own; a line edit cuts at 32,767 unless told otherwise.
    for (widgets::TextBox* field : ui_->txtNewVmb)
        field->setMaxLength(std::numeric_limits<int>::max());
    ui_->chkUploadToFtp = box.place(new QCheckBox(QStringLiteral("Upload to FTP Server")), labelLeft, top, 2280, 285);
    ui_->chkDeleteAfterForward = box.place(new QCheckBox(QStringLiteral("Delete after forwarding")), fieldLeft, top,
                                           fieldWidth, 285);
    top += 390;
    ui_->lblAddedOK = box.label(QString(), labelLeft, top, 4560, 285);
    top += 360;
    ui_->cmdPrev = box.pictureButton(QStringLiteral("prev"), QStringLiteral("Previous mailbox"), labelLeft, top);
    ui_->cmdNext = box.pictureButton(QStringLiteral("next"), QStringLiteral("Next mailbox"), labelLeft + 480, top);
    ui_->cmdVmbAdd = box.place(new QPushButton(QStringLiteral("&Add / Modify this mailbox")), fieldLeft, top - 20,
                               fieldWidth, 375);
}

void ManagerWindow::buildConfigStatsTab(QWidget* page, QPoint origin)
{
    const Placer tab(page, origin);
    ui_->Image1[0] = tab.picture(QStringLiteral("settings"), 120, 480, 600, 540);

    ui_->frmMisc[1] = tab.frame(QStringLiteral("Voicemail System Settings "), 1080, 1695);
    const Placer settings = inside(ui_->frmMisc[1]);
    static constexpr const char* limitCaptions[] = {
        "Minimum message length :", "Maximum message length :", "Default mailbox max store size :"};
    static constexpr const char* limitUnits[] = {"seconds", "seconds", "minutes"};
    for (int i = 0; i < 3; ++i) {
        const int top = 330 + i * 420;
        settings.label(QString::fromLatin1(limitCaptions[i]), 120, top + 30, 2880);
        ui_->Text1[static_cast<std::size_t>(i)] = settings.textBox(3000, top, 660);
        settings.label(QString::fromLatin1(limitUnits[i]), 3780, top + 30, 960);
    }
    ui_->Text1[2]->setText(QStringLiteral("60"));

    ui_->frmMisc[2] = tab.frame(QStringLiteral("Voicemail Statistics"), 2880, 1935);
    const Placer stats = inside(ui_->frmMisc[2]);
    static constexpr const char* statCaptions[] = {
        "New Messages :", "Saved Messages :", "Total Message Time :", "Space Remaining :"};
    for (int i = 0; i < 4; ++i) {
        const int top = 330 + i * 390;
        stats.label(QString::fromLatin1(statCaptions[i]), 120, top + 30, 2880);
        ui_->txtStats[static_cast<std::size_t>(i)] = stats.textBox(3000, top, 660);
        ui_->txtStats[static_cast<std::size_t>(i)]->setReadOnly(true);
        if (i >= 2)
            stats.label(QStringLiteral("hours"), 3780, top + 30, 960);
    }
}

void ManagerWindow::buildEmailTab(QWidget* page, QPoint origin)
{
    const Placer tab(page, origin);
    ui_->Image1[1] = tab.picture(QStringLiteral("email"), 120, 480, 600, 540);

    ui_->frmMisc[4] = tab.frame(QStringLiteral("Email Forward Message Template"), 1080, 1935);
    const Placer tmpl = inside(ui_->frmMisc[4]);
    tmpl.label(QStringLiteral("Subject :"), 120, 330, 840);
    ui_->txtEmailSubject = tmpl.textBox(960, 300, 3720);
    tmpl.label(QStringLiteral("Body :"), 120, 720, 840);
    ui_->txtEmailBody = tmpl.place(new QPlainTextEdit, 960, 690, 3720, 1125);
    ui_->txtEmailBody->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Tab goes on to the next field, as from every other field of the window,
    // instead of keeping the keyboard in the body.
    ui_->txtEmailBody->setTabChangesFocus(true);

    ui_->frmMisc[5] = tab.frame(QStringLiteral("Email Forwarding Method"), 3120, 2415);
    const Placer method = inside(ui_->frmMisc[5]);
    auto* group = new QButtonGroup(ui_->frmMisc[5]);
    ui_->optEmailMechanism[2] = method.place(
        new widgets::OptionButton(QStringLiteral("Use SMTP to forward email direct to mail server.")), 120, 300, 4560,
        300);
    ui_->optEmailMechanism[1] = method.place(
        new widgets::OptionButton(
            QStringLiteral("Use Simple MAPI to forward messages using locally installed email software "
                           "(eg: Eudora, Outlook)")),
        120, 690, 4560, 480);
    ui_->optEmailMechanism[1]->setToolTip(QStringLiteral("Outlook Express cannot be used with this option."));
    group->addButton(ui_->optEmailMechanism[1], 1);
    group->addButton(ui_->optEmailMechanism[2], 2);

    ui_->lblSmtpDesc[0] = method.label(QStringLiteral("SMTP server :"), 120, 1260, 1680);
    ui_->txtSmtpMailHost = method.textBox(1800, 1230, 2880);
    ui_->lblSmtpDesc[1] = method.label(QStringLiteral("Return email addr :"), 120, 1650, 1680);
    ui_->txtSmtpEmailAddress = method.textBox(1800, 1620, 2880);
    ui_->lblSmtpDesc[2] = method.label(QStringLiteral("Login / Password :"), 120, 2040, 1680);
    ui_->txtSmtpLoginName = method.textBox(1800, 2010, 1380);
    ui_->txtSmtpLoginPassword = method.textBox(3300, 2010, 1380);
    ui_->txtSmtpLoginPassword->setEchoMode(QLineEdit::Password);
}

void ManagerWindow::buildFtpCmdTab(QWidget* page, QPoint origin)
{
    const Placer tab(page, origin);
    ui_->Image1[2] = tab.picture(QStringLiteral("upload"), 120, 480, 600, 540);
    ui_->Image1[3] = tab.picture(QStringLiteral("command"), 4335, 480, 600, 540);

    ui_->frmMisc[3] = tab.frame(QStringLiteral("FTP Upload Destination"), 1080, 2655);
    const Placer ftp = inside(ui_->frmMisc[3]);
    auto* note = ftp.label(
        QStringLiteral("Recorded voicemail messages will be uploaded by FTP to the location specified below:"), 120,
        330, 4560, 480);
    note->setWordWrap(true);
    static constexpr const char* captions[] = {"FTP Server :", "FTP Directory :", "User :", "Password :"};
    std::array<widgets::TextBox**, 4> fields = {&ui_->txtFtpServer, &ui_->txtFtpDir, &ui_->txtFtpUser,
                                                &ui_->txtFtpPassword};
    for (int i = 0; i < 4; ++i) {
        const int top = 930 + i * 420;
        ftp.label(QString::fromLatin1(captions[i]), 120, top + 30, 1320);
        *fields[static_cast<std::size_t>(i)] = ftp.textBox(1440, top, 3240);
    }
    // Masked like the SMTP password: whoever looks over the operator's shoulder
    // sees neither. The text itself is what it always was.
    ui_->txtFtpPassword->setEchoMode(QLineEdit::Password);

    ui_->frmMisc[6] = tab.frame(QStringLiteral("Post recording process"), 4440, 1575);
    const Placer post = inside(ui_->frmMisc[6]);
    auto* postNote = post.label(
        QStringLiteral("Run  immediately after voicemail message recording is finished (for all voicemail "
                       "recordings) :"),
        120, 330, 4560, 480);
    postNote->setWordWrap(true);
    post.label(QStringLiteral("Command :"), 120, 1050, 1320);
    ui_->txtRunCommand = post.textBox(1440, 1020, 3240);
}

void ManagerWindow::connectEvents()
{
    connect(ui_->SSTab1, &widgets::TabControl::click, this, [this](int previous) {
        auto PreviousTab = static_cast<std::int16_t>(previous);
        SSTab1_Click(PreviousTab);
    });
    connect(ui_->cmdVmCfgHelp, &QPushButton::clicked, this, [this] { cmdVmCfgHelp_Click(); });
    connect(ui_->cmdVmCfgExit, &QPushButton::clicked, this, [this] { cmdVmCfgExit_Click(2); });

    connect(ui_->gridVmbList, &widgets::FlexGrid::selChange, this, [this] { gridVmbList_SelChange(); });
    connect(ui_->gridVmbList, &widgets::FlexGrid::dblClick, this, [this] { gridVmbList_DblClick(); });
    connect(ui_->gridMsgList, &widgets::FlexGrid::mouseDown, this, [this](int button, int shift, float x, float y) {
        gridMsgList_MouseDown(static_cast<std::int16_t>(button), static_cast<std::int16_t>(shift), x, y);
    });
    buildMessageMenu();

    connect(ui_->cmdPlayMsg, &QPushButton::clicked, this, [this] { cmdPlayMsg_Click(); });
    connect(ui_->cmdRecMsg, &QPushButton::clicked, this, [this] { cmdRecMsg_Click(); });
    connect(ui_->cmdDeleteMsg, &QPushButton::clicked, this, [this] { cmdDeleteMsg_Click(); });
    connect(ui_->cmdPlayIntro, &QPushButton::clicked, this, [this] { cmdplayIntro_Click(); });
    connect(ui_->cmdRecIntro, &QPushButton::clicked, this, [this] { cmdRecIntro_Click(); });
    for (std::int16_t i = 0; i < 2; ++i)
        connect(ui_->cmdStopPlay[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [this, i] { cmdStopPlay_Click(i); });

    connect(ui_->cmdVmbAdd, &QPushButton::clicked, this, [this] { cmdVmbAdd_Click(); });
    connect(ui_->cmdVmbModify, &QPushButton::clicked, this, [this] { cmdVmbModify_Click(); });
    connect(ui_->cmdNext, &QPushButton::clicked, this, [this] { cmdNext_Click(); });
    connect(ui_->cmdPrev, &QPushButton::clicked, this, [this] { cmdPrev_Click(); });
    connect(ui_->cmdDeleteVmb, &QPushButton::clicked, this, [this] { cmdDeleteVmb_Click(); });
    for (std::int16_t i = 0; i < 9; ++i) {
        widgets::TextBox* field = ui_->txtNewVmb[static_cast<std::size_t>(i)];
        connect(field, &QLineEdit::textChanged, this, [this, i] { txtNewVmb_Change(i); });
        connect(field, &widgets::TextBox::gotFocus, this, [this, i] { txtNewVmb_GotFocus(i); });
    }

    for (std::int16_t i = 0; i < 3; ++i)
        connect(ui_->Text1[static_cast<std::size_t>(i)], &widgets::TextBox::lostFocus, this,
                [this, i] { Text1_LostFocus(i); });
    for (std::int16_t i = 1; i <= 2; ++i) {
        connect(ui_->optEmailMechanism[static_cast<std::size_t>(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optEmailMechanism_Click(i);
        });
    }
}

}  // namespace vm::manager_window
